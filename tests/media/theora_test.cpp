// The video player over encoded test videos: headers, streams beside the video, pacing,
// dropping, the end, looping, pausing and the pictures written.
#include <gtest/gtest.h>
#include <cstdlib>
#include "media/media.h"
#include "media/theora_glue.h"
#include "music_files.h"
#include "platform/clock.h"
#include "support/files.h"
#include "video_files.h"

namespace {

using namespace mediatest;

class TheoraPlayer : public ::testing::Test {
protected:
  void SetUp() override {
    dir_ = testsupport::ScratchDir("theora");
    UseManualClock(1000);
  }
  void TearDown() override {
    for (auto& p : opened_) CloseTheora(p);
    SetClockSource(nullptr);
  }
  std::string Write(const std::string& bytes) {
    const std::string path = dir_ + "/video" + std::to_string(files_++) + ".ogv";
    testsupport::WriteFileBytes(path, bytes);
    return path;
  }
  TtheoraPtr Open(const std::string& bytes) {
    TtheoraPtr player = OpenTheora(Write(bytes), 4096);
    if (player) opened_.push_back(player);
    return player;
  }
  // Steps until frames reaches `frames` or the video ends; the result of the last step.
  static int StepTo(const TtheoraPtr& p, const TPixmapPtr& pixmap, int frames) {
    int result = 0;
    for (int i = 0; i < 10000 && p->frames < frames && !p->EOT; ++i) result = DrawTheora(p, pixmap);
    return result;
  }
  // Steps `n` times; the number of pictures written.
  static int Steps(const TtheoraPtr& p, const TPixmapPtr& pixmap, int n) {
    int pictures = 0;
    for (int i = 0; i < n; ++i) pictures += DrawTheora(p, pixmap);
    return pictures;
  }
  static void ExpectColour(const TPixmapPtr& pixmap, int x, int y, int r, int g, int b) {
    const uint8_t* p = pixmap->PixelPtr(x, y);
    EXPECT_NEAR(p[0], r, 8) << x << "," << y;
    EXPECT_NEAR(p[1], g, 8) << x << "," << y;
    EXPECT_NEAR(p[2], b, 8) << x << "," << y;
    EXPECT_EQ(p[3], 255);
  }
  std::string dir_;
  int files_ = 0;
  std::vector<TtheoraPtr> opened_;
};

TEST_F(TheoraPlayer, OpensStartedWithTheHeaderValues) {
  VideoSpec spec;
  spec.frameWidth = 352;
  spec.frameHeight = 288;
  spec.picWidth = 352;
  spec.picHeight = 288;
  spec.fpsNumerator = 30000;
  spec.fpsDenominator = 1001;
  spec.frames = 1;
  TtheoraPtr p = Open(TheoraVideo(spec));
  ASSERT_TRUE(p);
  EXPECT_EQ(theorafps(p->decoder), 30000.0 / 1001.0);
  EXPECT_FLOAT_EQ(p->fps, 29.97003f);
  EXPECT_EQ(p->width, 352);
  EXPECT_EQ(p->height, 288);
  EXPECT_EQ(TheoraWidth(p, 0), 352);
  EXPECT_EQ(TheoraHeight(p, 0), 288);
  EXPECT_EQ(TheoraWidth(p, 100), 122);
  EXPECT_EQ(TheoraHeight(p, 100), 81);
  EXPECT_EQ(p->color, 1);
  EXPECT_EQ(p->sync, 1);
  EXPECT_EQ(p->frames, 0);
  EXPECT_EQ(EOT(p), 0);
  EXPECT_EQ(p->timer, 1000);
}

TEST_F(TheoraPlayer, UnplayableFilesGiveNoPlayerAndEndNothing) {
  const std::vector<std::string> pages = TheoraPages(VideoSpec{});
  VideoSpec damaged;
  damaged.corruptHeader = 1;
  const struct {
    const char* what;
    std::string bytes;
    const char* err;
    const char* out;
  } cases[] = {
      {"first header page only", pages[0], "End of file while searching for codec headers.\n", ""},
      {"headers and nothing after", Join(pages, 0, 2), "End of file while searching for codec headers.\n", ""},
      {"comment header rejected", TheoraVideo(damaged), "", "Error parsing Theora stream headers; corrupt stream?\n"},
      {"no Theora stream", OggVorbis(2, 44100, 2000), "", ""},
      {"text", "this is no video", "", ""},
      {"empty", "", "", ""},
  };
  ASSERT_EQ(pages.size() > 2, true);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    EXPECT_FALSE(Open(c.bytes));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), c.out);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), c.err);
  }
  EXPECT_FALSE(OpenTheora(dir_ + "/missing.ogv", 4096));
  EXPECT_EQ(EOT(nullptr), 1);
  EXPECT_EQ(CloseTheora(nullptr), 0);
}

TEST_F(TheoraPlayer, OnlyTheFirstTheoraStreamIsDecoded) {
  VideoSpec other;
  other.serial = 99;
  other.colour = [](int, int, int) { return Yuv{145, 54, 34}; };  // green
  const std::vector<std::string> video = TheoraPages(VideoSpec{});
  const std::vector<std::string> sound = SplitPages(OggVorbis(2, 44100, 20000));
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"sound after", Mux({video, sound})},
      {"sound first", Mux({sound, video})},
      {"second video", Mux({video, TheoraPages(other)})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TtheoraPtr p = Open(c.bytes);
    ASSERT_TRUE(p);
    p->sync = 0;
    TPixmapPtr pixmap = CreatePixmap(32, 32);
    int pictures = 0;
    for (int i = 0; i < 10000 && !p->EOT; ++i) pictures += DrawTheora(p, pixmap);
    EXPECT_EQ(pictures, 12);
    EXPECT_EQ(p->frames, 15);  // three header packets and twelve pictures
    ExpectColour(pixmap, 16, 16, 128, 128, 128);  // frame 11: grey
  }
}

TEST_F(TheoraPlayer, PacketsWaitForTheirTimeAndLatePicturesAreDropped) {
  TtheoraPtr p = Open(TheoraVideo());
  ASSERT_TRUE(p);
  TPixmapPtr pixmap = CreatePixmap(32, 32);
  Steps(p, pixmap, 100);
  EXPECT_EQ(p->frames, 2);  // the first two at once
  SetManualClock(1039);
  Steps(p, pixmap, 100);
  EXPECT_EQ(p->frames, 2);
  SetManualClock(1040);
  Steps(p, pixmap, 100);
  EXPECT_EQ(p->frames, 3);

  // The tenth packet is taken at 320 ms; its picture shows up to 440 ms.
  for (int late : {440, 441}) {
    SCOPED_TRACE(late);
    SetManualClock(1000);
    StartTheora(p, 0);
    SetManualClock(1319);
    StepTo(p, pixmap, 9);
    Steps(p, pixmap, 100);
    EXPECT_EQ(p->frames, 9);
    SetManualClock(1000 + late);
    EXPECT_EQ(StepTo(p, pixmap, 10), late <= 440 ? 1 : 0);
  }
}

TEST_F(TheoraPlayer, AStartLaterInTheVideoDropsEveryPictureBeforeIt) {
  TtheoraPtr p = Open(TheoraVideo());
  ASSERT_TRUE(p);
  TPixmapPtr pixmap = CreatePixmap(32, 32);
  StartTheora(p, 2.5f);
  EXPECT_EQ(p->Elapsed(), 2500);
  int pictures = 0;
  for (int i = 0; i < 10000 && !p->EOT; ++i) pictures += DrawTheora(p, pixmap);
  EXPECT_EQ(pictures, 0);
  EXPECT_EQ(p->frames, 15);
}

TEST_F(TheoraPlayer, TheEndIsReachedOnceThenAStartPlaysItAgain) {
  TtheoraPtr p = Open(TheoraVideo());
  ASSERT_TRUE(p);
  p->sync = 0;
  TPixmapPtr pixmap = CreatePixmap(32, 32);
  int pictures = 0;
  for (int i = 0; i < 10000 && !p->EOT; ++i) pictures += DrawTheora(p, pixmap);
  EXPECT_EQ(pictures, 12);
  ExpectColour(pixmap, 0, 0, 128, 128, 128);  // frame 11
  EXPECT_EQ(Steps(p, pixmap, 20), 0);
  EXPECT_EQ(EOT(p), 1);

  StartTheora(p, 0);
  EXPECT_EQ(EOT(p), 0);
  EXPECT_EQ(p->frames, 0);
  // Fed again from its first byte: the same packets, the same pictures.
  EXPECT_EQ(StepTo(p, pixmap, 4), 1);
  ExpectColour(pixmap, 31, 31, 254, 0, 0);  // frame 0
  EXPECT_EQ(StepTo(p, pixmap, 5), 1);
  ExpectColour(pixmap, 0, 0, 0, 255, 0);    // frame 1

  // Looping: the end goes back to the start and never sets the flag.
  p->autoloop = 1;
  int restarts = 0, last = p->frames;
  for (int i = 0; i < 2000 && restarts < 2; ++i) {
    DrawTheora(p, pixmap);
    if (p->frames < last) ++restarts;
    last = p->frames;
  }
  EXPECT_EQ(restarts, 2);
  EXPECT_EQ(EOT(p), 0);

  // Closed, it has ended and plays nothing; closing again does nothing.
  EXPECT_EQ(CloseTheora(p), 0);
  EXPECT_EQ(EOT(p), 1);
  EXPECT_EQ(DrawTheora(p, pixmap), 0);
  EXPECT_EQ(CloseTheora(p), 0);
}

TEST_F(TheoraPlayer, PausingStopsTheClockOfTheVideo) {
  TtheoraPtr p = Open(TheoraVideo());
  ASSERT_TRUE(p);
  TPixmapPtr pixmap = CreatePixmap(32, 32);
  SetManualClock(1100);
  EXPECT_EQ(PauseTheora(p), 1);
  const int frames = p->frames;
  SetManualClock(1600);
  EXPECT_EQ(Steps(p, pixmap, 50), 0);
  EXPECT_EQ(p->frames, frames);
  EXPECT_EQ(PauseTheora(p), 0);
  EXPECT_EQ(p->Elapsed(), 100);
}

TEST_F(TheoraPlayer, GreyPicturesAndTheDisplayedRegionOfTheFrame) {
  // A 40 x 30 picture at (8, 6) inside a 64 x 48 frame: the top-left 20 x 16 of the picture
  // is blue, the rest red.
  VideoSpec spec;
  spec.frameWidth = 64;
  spec.frameHeight = 48;
  spec.picWidth = 40;
  spec.picHeight = 30;
  spec.picX = 8;
  spec.picY = 6;
  spec.frames = 1;
  spec.colour = [](int, int x, int y) { return x < 28 && y < 22 ? Yuv{41, 240, 110} : Yuv{81, 90, 240}; };
  TtheoraPtr p = Open(TheoraVideo(spec));
  ASSERT_TRUE(p);
  EXPECT_EQ(TheoraWidth(p, 0), 40);
  EXPECT_EQ(TheoraHeight(p, 0), 30);
  TImagePtr image = CreateImage(40, 30, 1, -1);
  p->sync = 0;
  int pictures = 0;
  for (int i = 0; i < 100 && !pictures; ++i) pictures = DrawTheoraImage(p, image, 0);
  ASSERT_EQ(pictures, 1);
  const TPixmapPtr pixmap = LockImage(image, 0);
  for (auto at : {std::array{2, 2}, {16, 5}, {5, 12}}) ExpectColour(pixmap, at[0], at[1], 0, 0, 255);
  for (auto at : {std::array{23, 5}, {5, 19}, {37, 27}}) ExpectColour(pixmap, at[0], at[1], 254, 0, 0);

  StartTheora(p, 0);
  p->color = 0;
  pictures = 0;
  for (int i = 0; i < 100 && !pictures; ++i) pictures = DrawTheoraImage(p, image, 0);
  ASSERT_EQ(pictures, 1);
  ExpectColour(pixmap, 5, 5, 29, 29, 29);  // 1.164 x (41 - 16)
  EXPECT_EQ(DrawTheoraImage(p, image, 1), 0);  // no such frame
}

TEST_F(TheoraPlayer, FullScreenScaleKeepsTheWholeVideoInView) {
  const struct {
    int w, h;
    float scale;
  } cases[] = {{320, 240, 2.0f}, {400, 208, 1.6f}};
  for (const auto& c : cases) {
    VideoSpec spec;
    spec.frameWidth = spec.picWidth = c.w;
    spec.frameHeight = spec.picHeight = c.h;
    spec.frames = 1;
    TtheoraPtr p = Open(TheoraVideo(spec));
    ASSERT_TRUE(p);
    EXPECT_EQ(TheoraFullscreen(p), 1);
    float sx = 0, sy = 0;
    GetScale(sx, sy);
    EXPECT_FLOAT_EQ(sx, c.scale) << c.w;
    EXPECT_FLOAT_EQ(sy, c.scale) << c.w;
  }
  SetScale(1, 1);
}

}  // namespace
