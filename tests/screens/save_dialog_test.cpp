// The save dialog: the thumbnail taken on opening, name entry rules, saving into the chosen
// slot, cancelling and leaving, layout with the cursor, and a save that fails.
#include <algorithm>
#include <filesystem>
#include <functional>

#include "core/globals.h"
#include "platform/system/clock.h"
#include "screen_fixture.h"
#include "screens/save_slots.h"
#include "screens/screens.h"
#include "support/dialog_frame.h"
#include "support/files.h"
#include "transitions/transitions.h"

namespace fs = std::filesystem;

namespace {

constexpr int kL = 96;  // the text edge with the 512-pixel test middle piece
constexpr uint32_t kField = 0x5070B0, kCyan = 0x00FFFF;
constexpr int kSaveKey = 83;

class SaveDialog : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    SetClsColor(0x50, 0x70, 0xB0);
    Cls();
  }
  void TearDown() override {
    ScreenTest::TearDown();
    SetClockSource(nullptr);
  }
  // The save records in the save folder.
  std::vector<std::string> Records() const {
    std::vector<std::string> found;
    for (const auto& e : fs::directory_iterator(settings->saveDir))
      if (e.path().extension() == ".sav") found.push_back(e.path().filename().string());
    std::sort(found.begin(), found.end());
    return found;
  }
  static std::vector<int> Typed(const std::string& text) { return {text.begin(), text.end()}; }
};

TEST_F(SaveDialog, NamingAndSaving) {
  const struct {
    const char* name;
    std::vector<int> keys;  // Return at the end saves
    std::string record;
    int kUp = 38;
  } cases[] = {
      {"letters digits and spaces", {kReturn, 'A', 'B', ' ', '1'}, "0.AB 1.sav"},
      {"the 26th character is refused",
       [] {
         std::vector<int> k{kReturn};
         k.insert(k.end(), 30, 'Q');
         return k;
       }(),
       "0." + std::string(25, 'Q') + ".sav"},
      {"backspace", {kReturn, 'A', 'B', kBackspace}, "0.A.sav"},
      {"backspace on an empty name", {kReturn, kBackspace, 'C'}, "0.C.sav"},
      {"backspace while choosing", {kBackspace, kReturn, 'D'}, "0.D.sav"},
      {"the save key types while naming", {kReturn, kSaveKey}, "0.S.sav"},
      {"codes outside the name set", {kReturn, 59, 186, 64, 'E'}, "0.E.sav"},
      {"an empty name is not saved", {kReturn, kReturn, 'F'}, "0.F.sav"},
      {"the up key is never typed", {kReturn, 'A', 'B'}, "0.B.sav", 'A'},
      {"down selects the next slot", {kDownArrow, kReturn, 'G'}, "1.G.sav"},
      {"up from the first", {kUpArrow, kReturn, 'H'}, "2.H.sav"},
      {"down from the last", {kUpArrow, kDownArrow, kReturn, 'I'}, "0.I.sav"},
      {"no moves while naming", {kReturn, kDownArrow, 'J'}, "0.J.sav"},
      {"cancel then another slot", {kReturn, 'X', kEscape, kDownArrow, kReturn, 'K'}, "1.K.sav"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(settings->saveDir);
    fs::create_directories(settings->saveDir);
    logic->inits = 0;
    settings->kUp = static_cast<uint8_t>(c.kUp);
    Keys(c.keys);
    Keys({kReturn, kReturn});  // save, close the message
    int result = -1;
    ASSERT_TRUE(Runs(DisplaySaveDialog, &result));
    EXPECT_EQ(result, 1);
    EXPECT_EQ(Records(), std::vector<std::string>{c.record});
    EXPECT_TRUE(fs::exists(settings->saveDir + c.record + ".lua"));
    EXPECT_TRUE(fs::exists(settings->saveDir + c.record.substr(0, 1) + "/save.png"));
    EXPECT_EQ(logic->inits, 2);  // the message box's and the dialog's
  }
}

TEST_F(SaveDialog, LeavingSavesNothingButLeavesAThumbnail) {
  const struct {
    const char* name;
    std::vector<int> keys;
    int kSave = kSaveKey;
  } cases[] = {
      {"escape", {kEscape}},
      {"the save key", {kSaveKey}},
      {"escape cancels, escape leaves", {kReturn, 'A', kEscape, kEscape}},
      {"a save key outside the name keys", {116}, 116},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(settings->tempDir + "save.png");
    logic->inits = 0;
    settings->kSave = static_cast<uint8_t>(c.kSave);
    PostEvent(EVENT_WINDOWCLOSE);
    PostEvent(EVENT_APPTERMINATE);
    Keys(c.keys);
    int result = -1;
    ASSERT_TRUE(Runs(DisplaySaveDialog, &result));
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(Records().empty());
    EXPECT_EQ(logic->inits, 1);
    EXPECT_EQ(QueuedEventCount(), 0);
    const TPixmapPtr thumbnail = LoadPixmap(settings->tempDir + "save.png");
    ASSERT_TRUE(thumbnail);
    EXPECT_EQ(thumbnail->width, 147);
    EXPECT_EQ(thumbnail->height, 96);
  }
}

TEST_F(SaveDialog, ThumbnailIsThePlayFieldWhenOpened) {
  // The strip below the field is left out: a different colour there stays out of the picture.
  SetColor(255, 0, 0);
  DrawRect(0, 416, 640, 64);
  Keys({kEscape});
  ASSERT_TRUE(Runs(DisplaySaveDialog));
  const TPixmapPtr thumbnail = LoadPixmap(settings->tempDir + "save.png");
  ASSERT_TRUE(thumbnail);
  EXPECT_EQ(ReadPixel(thumbnail, 0, 0) & 0xFFFFFF, kField);
  EXPECT_EQ(ReadPixel(thumbnail, 146, 95) & 0xFFFFFF, kField);
}

TEST_F(SaveDialog, ASlotInUseOffersItsName) {
  ASSERT_EQ(SaveGame(SaveRecordPath(0, "OLD"), SlotFolder(0)), 1);
  Keys({kReturn, kReturn, kReturn});
  ASSERT_TRUE(Runs(DisplaySaveDialog));
  EXPECT_EQ(Records(), std::vector<std::string>{"0.OLD.sav"});
  Keys({kReturn, kBackspace, kBackspace, 'N', 'E', 'W', kReturn, kReturn});
  ASSERT_TRUE(Runs(DisplaySaveDialog));
  EXPECT_EQ(Records(), std::vector<std::string>{"0.ONEW.sav"});
  // A name longer than the typed limit is offered whole, and only shortened by hand.
  const std::string longName(30, 'L');
  ASSERT_EQ(SaveGame(SaveRecordPath(1, longName), SlotFolder(1)), 1);
  Keys({kDownArrow, kReturn, 'X', kReturn, kReturn});
  ASSERT_TRUE(Runs(DisplaySaveDialog));
  EXPECT_EQ(Records(), (std::vector<std::string>{"0.ONEW.sav", "1." + longName + ".sav"}));
}

TEST_F(SaveDialog, LayoutWhileNaming) {
  Keys({kEscape});  // leaves this field's thumbnail in the working folder for the save
  ASSERT_TRUE(Runs(DisplaySaveDialog));
  ASSERT_EQ(SaveGame(SaveRecordPath(1, "OLD"), SlotFolder(1)), 1);
  SetClsColor(0, 0, 0);
  Cls();
  UseManualClock(400);
  Keys({kDownArrow});
  EXPECT_FALSE(Runs(DisplaySaveDialog));
  EXPECT_EQ(FindColour(kTitle), TextCover("Save Game", kL, 160));
  EXPECT_EQ(FindColour(kAnswer), TextCover("Slot 2 - OLD", kL, 212));
  EXPECT_EQ(FindColour(kWhite, 0, 192, 640, 16), TextCover("Slot 1 - **EMPTY**", kL, 192));
  EXPECT_EQ(Pixel(397 + 5, 165), kField);  // the slot's earlier thumbnail
  EXPECT_EQ(Pixel(397 - 2, 165), testsupport::kTestFrameMiddle & 0xFFFFFF);

  // Naming: the row in red with the name after its label; the cursor blinks.
  Keys({kDownArrow, kReturn, 'A'});
  EXPECT_FALSE(Runs(DisplaySaveDialog));
  EXPECT_EQ(FindColour(kRed, 0, 212, 640, 16), TextCover("Slot 2 - OLDA", kL, 212));
  EXPECT_EQ(FindColour(kWhite, 0, 212, 640, 16), PixelBox{});
  const int cursorX = kL + TextWidth("Slot 2 - OLD");
  for (int ms : {0, 399, 400, 799, 800}) {
    SCOPED_TRACE(ms);
    SetManualClock(ms);
    Keys({kDownArrow, kReturn});
    EXPECT_FALSE(Runs(DisplaySaveDialog));
    const PixelBox cursor = ms % 800 < 400 ? PixelBox{cursorX, 212, cursorX + 7, 227} : PixelBox{};
    EXPECT_EQ(FindColour(kWhite, 0, 212, 640, 16), cursor);
  }
}

TEST_F(SaveDialog, AFailedSaveIsReported) {
  const struct {
    const char* name;
    std::function<void()> block;
  } cases[] = {
      {"a file where the save folder should be",
       [] {
         fs::remove_all(settings->saveDir);
         testsupport::WriteFileBytes(baseHomeDir + "/Save", "not a folder");
       }},
      {"the map in play cannot be written to its working copy",
       [] {
         currentMap = TMap::Create();
         currentMap->mapFile = settings->tempDir + "here.map";
         fs::create_directories(settings->tempDir + "here.map.tmp");
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.block();
    PixelBox message;
    SetEventPump([&] {
      message = FindColour(kWhite, 0, 0, 640, 416);
      PostEvent(EVENT_KEYDOWN, kReturn);
      SetEventPump([] { throw QueueDrained{}; });
    });
    Keys({kReturn, 'A', kReturn});
    int result = -1;
    ASSERT_TRUE(Runs(DisplaySaveDialog, &result));
    EXPECT_EQ(result, 1);
    const PixelBox cover = TextCover("The game could not be saved.", 0, 0);
    EXPECT_EQ(message.x1 - message.x0, cover.x1 - cover.x0);
    EXPECT_EQ(FindColour(kCyan), PixelBox{});
    EXPECT_FALSE(fs::exists(settings->saveDir + "0.A.sav"));
  }
}

TEST_F(SaveDialog, KeyReleasesReachTheGame) {
  HoldRight();
  PostEvent(EVENT_KEYUP, settings->kRight);
  EXPECT_FALSE(Runs(DisplaySaveDialog));
  EXPECT_EQ(keyHeld[3], 0);
  EXPECT_EQ(player->speedX, 0.0f);
}

}  // namespace
