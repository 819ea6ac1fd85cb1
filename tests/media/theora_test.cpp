// The video player over encoded test videos: headers, streams beside the video, which
// picture shows when, damaged files, the end, looping, pausing and the pictures written.
#include <gtest/gtest.h>
#include <climits>
#include <filesystem>
#include "media/media.h"
#include "media/theora_glue.h"
#include "music_files.h"
#include "platform/system/clock.h"
#include "support/files.h"
#include "video_files.h"

namespace {

using namespace mediatest;

// A picture written by the player: when (ms after the start) and which.
struct Shown {
  int ms, picture;
  bool operator==(const Shown&) const = default;
};
void PrintTo(const Shown& s, std::ostream* os) { *os << s.picture << "@" << s.ms; }

std::vector<int> Count(int from, int to) {
  std::vector<int> numbers;
  for (int k = from; k <= to; ++k) numbers.push_back(k);
  return numbers;
}

VideoSpec NumberedVideo() {
  VideoSpec spec;
  spec.colour = [](int k, int, int) { return VideoSpec::Numbered(k); };
  return spec;
}

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
  // Steps without pacing until the video ends (or `limit` pictures); the pictures written.
  static std::vector<int> Pictures(const TtheoraPtr& p, const TPixmapPtr& pixmap,
                                   size_t limit = 100) {
    p->sync = 0;
    std::vector<int> pictures;
    for (int i = 0; i < 10000 && !p->EOT && pictures.size() < limit; ++i)
      if (DrawTheora(p, pixmap)) pictures.push_back(PictureNumber(pixmap->PixelPtr(0, 0)));
    return pictures;
  }
  // Lets the clock run on 1 ms at a time from `wait` ms after now and steps the player
  // between ticks, until the video ends; the pictures written and when (ms after now).
  static std::vector<Shown> Play(const TtheoraPtr& p, const TPixmapPtr& pixmap, int wait = 0) {
    const uint32_t zero = static_cast<uint32_t>(MilliSecs());
    std::vector<Shown> shown;
    for (int ms = wait; ms < 5000 && !p->EOT; ++ms) {
      SetManualClock(static_cast<int32_t>(zero + static_cast<uint32_t>(ms)));
      for (int i = 0; i < 50 && !p->EOT; ++i)
        if (DrawTheora(p, pixmap)) shown.push_back({ms, PictureNumber(pixmap->PixelPtr(0, 0))});
    }
    return shown;
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
  EXPECT_EQ(p->Elapsed(), 0);
}

TEST_F(TheoraPlayer, UnplayableFilesGiveNoPlayerAndSayWhyInOneLine) {
  const std::vector<std::string> pages = TheoraPages(VideoSpec{});
  VideoSpec damaged;
  damaged.corruptHeader = 1;
  const std::string incomplete = "it ends before its Theora headers are complete";
  const std::string noTheora = "it holds no Theora stream";
  // A stream cut or damaged inside its headers: the decoder's own text comes first, on
  // standard error for a cut or a gap, on standard output for a header it rejects.
  const std::string cut = "End of file while searching for codec headers.\n";
  const std::string corrupt = "Error parsing Theora stream headers; corrupt stream?\n";
  const std::string corrupted = "its Theora headers are corrupt";
  const struct {
    const char* what;
    std::string bytes;
    std::string said, reason, out;
  } cases[] = {
      {"first header page only", pages[0], cut, incomplete, ""},
      {"headers and nothing after", Join(pages, 0, 2), cut, incomplete, ""},
      {"a gap after the first header", pages[0] + Join(pages, 2), corrupt, corrupted, ""},
      {"comment header rejected", TheoraVideo(damaged), "", corrupted, corrupt},
      {"no Theora stream", OggVorbis(2, 44100, 2000), "", noTheora, ""},
      {"text", "this is no video", "", noTheora, ""},
      {"empty", "", "", noTheora, ""},
  };
  ASSERT_GT(pages.size(), 2u);
  const std::string folder = dir_ + "/folder.ogv";
  std::filesystem::create_directories(folder);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = Write(c.bytes);
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    EXPECT_FALSE(OpenTheora(path, 4096));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), c.out);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              c.said + "Could not play the video " + path + ": " + c.reason + ".\n");
  }
  for (const auto& [path, reason] : {std::pair{dir_ + "/missing.ogv",
                                               "it cannot be opened (No such file or directory)"},
                                     {folder, "it cannot be read"}}) {
    testing::internal::CaptureStderr();
    EXPECT_FALSE(OpenTheora(path, 4096));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Could not play the video " + path + ": " + reason + ".\n");
  }
  EXPECT_EQ(EOT(nullptr), 1);
  EXPECT_EQ(CloseTheora(nullptr), 0);
}

TEST_F(TheoraPlayer, OnlyTheFirstTheoraStreamIsDecoded) {
  VideoSpec other;
  other.serial = 99;
  other.colour = [](int, int, int) { return Yuv{145, 54, 34}; };  // green
  const std::vector<std::string> video = TheoraPages(NumberedVideo());
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
    EXPECT_EQ(Pictures(p, CreatePixmap(32, 32)), Count(0, 11));
    EXPECT_EQ(p->frames, 12);
  }
}

TEST_F(TheoraPlayer, EachPictureShowsOnceAtItsTimeFromTimeZero) {
  for (const auto& [numerator, denominator] : {std::pair{25, 1}, {30000, 1001}}) {
    SCOPED_TRACE(numerator);
    VideoSpec spec = NumberedVideo();
    spec.fpsNumerator = numerator;
    spec.fpsDenominator = denominator;
    TtheoraPtr p = Open(TheoraVideo(spec));
    ASSERT_TRUE(p);
    std::vector<Shown> expected;
    for (int k = 0; k < 12; ++k) {
      const int64_t scaled = int64_t{k} * 1000 * denominator;
      expected.push_back({static_cast<int>((scaled + numerator - 1) / numerator), k});
    }
    EXPECT_EQ(Play(p, CreatePixmap(32, 32)), expected);
    EXPECT_EQ(EOT(p), 1);
  }
}

TEST_F(TheoraPlayer, PicturesMoreThanTwoIntervalsLateAreDropped) {
  const struct {
    float startSeconds;  // where the start puts the video's clock
    int wait;            // ms between the start and the first step
    int firstShown;
  } cases[] = {
      {0.2f, 0, 3},  // 3 is due at 120 ms, dropped after 200
      {0, 440, 9},   // 9 is due at 360 ms, dropped after 440
      {0, 441, 10},
  };
  TtheoraPtr p = Open(TheoraVideo(NumberedVideo()));
  ASSERT_TRUE(p);
  TPixmapPtr pixmap = CreatePixmap(32, 32);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.wait);
    StartTheora(p, c.startSeconds);
    const std::vector<Shown> shown = Play(p, pixmap, c.wait);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown[0], (Shown{c.wait, c.firstShown}));
    EXPECT_EQ(shown.back().picture, 11);
  }
}

TEST_F(TheoraPlayer, AStartOrALoopShowsEveryPictureOncePerPass) {
  TtheoraPtr p = Open(TheoraVideo(NumberedVideo()));
  ASSERT_TRUE(p);
  TPixmapPtr pixmap = CreatePixmap(32, 32);
  EXPECT_EQ(Pictures(p, pixmap), Count(0, 11));
  EXPECT_EQ(Pictures(p, pixmap), std::vector<int>{});
  EXPECT_EQ(EOT(p), 1);

  StartTheora(p, 0);
  EXPECT_EQ(EOT(p), 0);
  EXPECT_EQ(Pictures(p, pixmap), Count(0, 11));

  StartTheora(p, 0);
  p->autoloop = 1;
  std::vector<int> threePasses = Count(0, 11);
  threePasses.insert(threePasses.end(), threePasses.begin(), threePasses.end());
  threePasses.insert(threePasses.end(), threePasses.begin(), threePasses.begin() + 12);
  EXPECT_EQ(Pictures(p, pixmap, 36), threePasses);
  EXPECT_EQ(EOT(p), 0);

  // Closed, it has ended and plays nothing; closing again does nothing.
  EXPECT_EQ(CloseTheora(p), 0);
  EXPECT_EQ(EOT(p), 1);
  EXPECT_EQ(DrawTheora(p, pixmap), 0);
  EXPECT_EQ(CloseTheora(p), 0);
}

TEST_F(TheoraPlayer, GapsJunkAndTruncationLoseOnlyWhatIsMissing) {
  // Each picture stands alone on a page of its own: pages 2 to 13 hold pictures 0 to 11.
  VideoSpec spec = NumberedVideo();
  spec.keyframeEvery = 1;
  spec.pagePerPicture = true;
  const std::vector<std::string> pages = TheoraPages(spec);
  ASSERT_EQ(pages.size(), 14u);
  const std::string junk = "junk!";
  std::string junkBetween = pages[0] + pages[1];
  for (size_t i = 2; i < pages.size(); ++i) junkBetween += junk + pages[i];
  std::vector<int> without5 = Count(0, 4);
  for (int k : Count(6, 11)) without5.push_back(k);
  const struct {
    const char* what;
    std::string bytes;
    std::vector<int> pictures;
  } cases[] = {
      {"page of picture 5 missing", Join(pages, 0, 7) + Join(pages, 8), without5},
      {"junk before the last page", Join(pages, 0, 13) + junk + pages[13], Count(0, 11)},
      {"junk after the last page", Join(pages) + junk, Count(0, 11)},
      {"junk before the first page", junk + Join(pages), Count(0, 11)},
      {"junk before every picture", junkBetween, Count(0, 11)},
      {"last page cut short", Join(pages).substr(0, Join(pages).size() - 9), Count(0, 10)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TtheoraPtr p = Open(c.bytes);
    ASSERT_TRUE(p);
    EXPECT_EQ(Pictures(p, CreatePixmap(32, 32)), c.pictures);
    EXPECT_EQ(EOT(p), 1);
  }
}

TEST_F(TheoraPlayer, PausingStopsTheVideosClockWhereverTheClockStands) {
  for (int32_t now : {1000, INT32_MAX - 100, -1}) {
    SCOPED_TRACE(now);
    SetManualClock(now);
    TtheoraPtr p = Open(TheoraVideo(NumberedVideo()));
    ASSERT_TRUE(p);
    TPixmapPtr pixmap = CreatePixmap(32, 32);
    EXPECT_EQ(PauseTheora(p), 1);  // right after the start
    AdvanceManualClock(500);
    for (int i = 0; i < 50; ++i) EXPECT_EQ(DrawTheora(p, pixmap), 0);
    EXPECT_EQ(PauseTheora(p), 0);
    EXPECT_EQ(p->Elapsed(), 0);
    // Played across the clock's wrap: still one picture every 40 ms.
    const std::vector<Shown> shown = Play(p, pixmap);
    ASSERT_EQ(shown.size(), 12u);
    for (int k = 0; k < 12; ++k) EXPECT_EQ(shown[k], (Shown{40 * k, k}));
  }
}

TEST_F(TheoraPlayer, PicturesOfEveryChromaLayoutAndOddSizes) {
  // The picture region inside the encoded frame: blue above and left of (24, 16) in frame
  // coordinates, red elsewhere.
  const VideoSpec cases[] = {
      {.frameWidth = 64, .frameHeight = 48, .picWidth = 40, .picHeight = 30, .picX = 8, .picY = 6},
      {.frameWidth = 48, .frameHeight = 32, .picWidth = 33, .picHeight = 17, .picX = 5, .picY = 3},
      {.frameWidth = 48, .frameHeight = 32, .picWidth = 33, .picHeight = 17, .picX = 5, .picY = 3,
       .pixelFormat = TH_PF_422},
      {.frameWidth = 48, .frameHeight = 32, .picWidth = 33, .picHeight = 17, .picX = 5, .picY = 3,
       .pixelFormat = TH_PF_444},
  };
  for (VideoSpec spec : cases) {
    SCOPED_TRACE(testing::Message() << spec.pixelFormat << " " << spec.picWidth);
    spec.frames = 1;
    spec.colour = [](int, int x, int y) {
      return x < 24 && y < 16 ? Yuv{41, 240, 110} : Yuv{81, 90, 240};
    };
    TtheoraPtr p = Open(TheoraVideo(spec));
    ASSERT_TRUE(p);
    ASSERT_EQ(TheoraWidth(p, 0), spec.picWidth);
    ASSERT_EQ(TheoraHeight(p, 0), spec.picHeight);
    TImagePtr image = CreateImage(spec.picWidth, spec.picHeight, 1, -1);
    p->sync = 0;
    int pictures = 0;
    for (int i = 0; i < 100 && !pictures; ++i) pictures = DrawTheoraImage(p, image, 0);
    ASSERT_EQ(pictures, 1);
    const TPixmapPtr pixmap = LockImage(image, 0);
    const int blueW = 24 - spec.picX, blueH = 16 - spec.picY;  // the picture's blue corner
    const int lastX = spec.picWidth - 1, lastY = spec.picHeight - 1;
    for (auto at : {std::array{0, 0}, {blueW - 3, 1}, {1, blueH - 3}})
      ExpectColour(pixmap, at[0], at[1], 0, 0, 255);
    for (auto at : {std::array{blueW + 2, 1}, {1, blueH + 2}, {lastX, lastY}})
      ExpectColour(pixmap, at[0], at[1], 254, 0, 0);

    StartTheora(p, 0);
    p->color = 0;
    pictures = 0;
    for (int i = 0; i < 100 && !pictures; ++i) pictures = DrawTheoraImage(p, image, 0);
    ASSERT_EQ(pictures, 1);
    ExpectColour(pixmap, 0, 0, 29, 29, 29);  // 1.164 x (41 - 16)
    EXPECT_EQ(DrawTheoraImage(p, image, 1), 0);  // no such frame
  }
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
