// The slot listing and the load dialog: which records name which slot, selection over the
// slots in use, the messages, loading through the saved-game code, and leaving.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "core/globals.h"
#include "screen_fixture.h"
#include "screens/save_slots.h"
#include "screens/screens.h"
#include "support/dialog_frame.h"
#include "support/files.h"
#include "support/images.h"
#include "support/write_failures.h"
#include "transitions/transitions.h"

namespace fs = std::filesystem;

namespace {

constexpr int kL = 96;  // the text edge with the 512-pixel test middle piece
constexpr uint32_t kGrey = 0x9B9B9B, kCyan = 0x00FFFF, kThumb = 0x6080A0;

class SaveSlots : public ScreenTest {
 protected:
  void Touch(const std::string& name) {
    testsupport::WriteFileBytes(settings->saveDir + name, "x");
  }
  void Thumbnail(int slot) {
    fs::create_directories(SlotFolder(slot));
    TPixmapPtr pixels = CreatePixmap(147, 96);
    for (int y = 0; y < 96; ++y)
      for (int x = 0; x < 147; ++x) WritePixel(pixels, x, y, 0xFF000000 | kThumb);
    ASSERT_TRUE(SavePixmapPNG(pixels, SlotFolder(slot) + "/save.png"));
  }
  // A real save of the current player into the slot, with another save script: the screens
  // have no map to travel to.
  void SaveInto(int slot, const std::string& name, const std::string& script = "PlayMusic(4)") {
    ASSERT_EQ(SaveGame(SaveRecordPath(slot, name), SlotFolder(slot)), 1);
    testsupport::WriteFileBytes(SaveRecordPath(slot, name) + ".lua", script);
  }
};

TEST_F(SaveSlots, ListingNamesSlotsFromTheRecords) {
  const std::string kNone = "**EMPTY**";
  const struct {
    const char* name;
    std::vector<std::string> files;
    std::array<std::string, 3> names;
  } cases[] = {
      {"nothing saved", {}, {kNone, kNone, kNone}},
      {"one record per slot",
       {"0.MY GAME.sav", "0.MY GAME.sav.lua", "2.B.sav"},
       {"MY GAME", kNone, "B"}},
      {"a name with dots and other characters", {"2.a.b-c.sav"}, {kNone, kNone, "a.b-c"}},
      // Stray entries name no slot, and never hide the record of the slot they look like.
      {"no name after the digit", {"1.GAME.sav", "1.sav"}, {kNone, "GAME", kNone}},
      {"no name between the dots", {"1..sav", "1.GAME.sav"}, {kNone, "GAME", kNone}},
      {"a first character that is no digit", {"notes.sav", "X.ABC.sav"}, {kNone, kNone, kNone}},
      {"no dot after the digit", {"0_ABC.sav", "0ABC.sav", "01.X.sav"}, {kNone, kNone, kNone}},
      {"extension in capitals", {"1.GAME.SAV"}, {kNone, kNone, kNone}},
      {"more after the extension", {"1.G.sav.lua", "1.G.sav~", "1.G.savx"}, {kNone, kNone, kNone}},
      {"slots past the third", {"3.C.sav", "7.D.sav", "1.E.sav"}, {kNone, "E", kNone}},
      {"a folder under a record's name", {"0.DIR.sav/"}, {kNone, kNone, kNone}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(settings->saveDir);
    fs::create_directories(settings->saveDir);
    for (const std::string& f : c.files) {
      if (f.back() == '/')
        fs::create_directories(settings->saveDir + f);
      else
        Touch(f);
    }
    const auto before = testsupport::FolderBytes(settings->saveDir);
    const TSaveSlots slots = ListSaveSlots();
    EXPECT_EQ(slots.name[0], c.names[0]);
    EXPECT_EQ(slots.name[1], c.names[1]);
    EXPECT_EQ(slots.name[2], c.names[2]);
    EXPECT_EQ(testsupport::FolderBytes(settings->saveDir), before);  // nothing touched
  }
  fs::remove_all(settings->saveDir);
  EXPECT_TRUE(ListSaveSlots().Empty(0));  // a missing save folder
}

TEST_F(SaveSlots, ThumbnailsComeFromTheSlotFolders) {
  Touch("0.A.sav");
  Touch("1.B.sav");
  Thumbnail(1);
  Thumbnail(2);  // a folder without a record names no slot
  const TSaveSlots slots = ListSaveSlots();
  EXPECT_FALSE(slots.thumbnail[0]);
  ASSERT_TRUE(slots.thumbnail[1]);
  EXPECT_EQ(ImageWidth(slots.thumbnail[1]), 147);
  EXPECT_EQ(ImageHeight(slots.thumbnail[1]), 96);
  EXPECT_FALSE(slots.thumbnail[2]);
}

// A picture of 16384 x 16384 pixels in some hundred kilobytes: a gigabyte once decoded.
const std::string& BombThumbnail() {
  static const std::string bomb = [] {
    const std::vector<uint8_t> png = testsupport::BlackPngBytes(16384, 16384);
    return std::string(png.begin(), png.end());
  }();
  return bomb;
}

std::string RefusedBomb(int slot) {
  return "Refused to read " + SlotFolder(slot) +
         "/save.png: it is a picture of 16384 x 16384 pixels, more than 266240\n";
}

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// However many records name a slot (any "N.<name>.sav" does), its thumbnail is read once: a
// thumbnail that is refused says so once.
TEST_F(SaveSlots, EachSlotsThumbnailIsReadOnce) {
  for (int n = 0; n < 2000; ++n) Touch("1.R" + std::to_string(n) + ".sav");
  Touch("2.ONE.sav");
  for (int slot : {1, 2}) {
    fs::create_directories(SlotFolder(slot));
    testsupport::WriteFileBytes(SlotFolder(slot) + "/save.png", BombThumbnail());
  }
  testing::internal::CaptureStderr();
  const TSaveSlots slots = ListSaveSlots();
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(Count(said, RefusedBomb(1)), 1u) << said.substr(0, 1000);
  EXPECT_EQ(Count(said, RefusedBomb(2)), 1u);
  EXPECT_TRUE(slots.Empty(0));
  EXPECT_FALSE(slots.thumbnail[1]);
  EXPECT_EQ(slots.name[2], "ONE");
}

using LoadDialog = SaveSlots;

// Three slots whose thumbnails would take a gigabyte each: refused before they are decoded,
// so the dialog opens on little memory, with the slots listed without pictures, and a slot
// still loads.
TEST_F(LoadDialog, ThumbnailsTooLargeToShowAreRefusedBeforeTheyAreDecoded) {
  ASSERT_LT(BombThumbnail().size(), size_t{1} << 20);  // within the bound of a thumbnail file
  for (int slot = 0; slot < 3; ++slot) {
    SaveInto(slot, "B" + std::to_string(slot));
    testsupport::WriteFileBytes(SlotFolder(slot) + "/save.png", BombThumbnail());
  }
  rusage before{}, after{};
  getrusage(RUSAGE_SELF, &before);
  testing::internal::CaptureStderr();
  Keys({kDownArrow});
  EXPECT_FALSE(Runs([] { return DisplayLoadDialog(1); }));
  getrusage(RUSAGE_SELF, &after);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 64 * 1024) << "KB more at the peak";
  EXPECT_EQ(FindColour(kAnswer), TextCover("Slot 2 - B1", kL, 212));
  for (int slot = 0; slot < 3; ++slot) EXPECT_EQ(Count(said, RefusedBomb(slot)), 1u) << said;

  lastMusic = 0;
  int result = 0;
  Keys({kReturn, kReturn});  // load slot 1, close the message
  ASSERT_TRUE(Runs([] { return DisplayLoadDialog(1); }, &result));
  EXPECT_EQ(result, 1);
  EXPECT_EQ(lastMusic, 4);  // its save script ran
}

TEST_F(LoadDialog, NoSavedGames) {
  for (int fromMenu : {1, 0}) {
    SCOPED_TRACE(fromMenu);
    logic->inits = 0;
    uint32_t strip = 0;
    PixelBox text;
    SetEventPump([&] {
      strip = Pixel(0, 420);
      text = FindColour(kWhite);
      PostEvent(EVENT_KEYDOWN, kReturn);
      SetEventPump([] { throw QueueDrained{}; });
    });
    int result = -1;
    ASSERT_TRUE(Runs([=] { return DisplayLoadDialog(fromMenu); }, &result));
    EXPECT_EQ(result, 0);  // nothing loaded, also during play
    EXPECT_EQ(strip, fromMenu ? kBackground : kInterface);
    const PixelBox cover = TextCover("There are no saved games available.", 0, 0);
    EXPECT_EQ(text.x1 - text.x0, cover.x1 - cover.x0);
    EXPECT_EQ(logic->inits, 1);  // the message box's
  }
}

TEST_F(LoadDialog, LayoutAndRowColours) {
  Touch("0.FIRST.sav");
  Touch("2.THIRD.sav");
  Thumbnail(0);
  EXPECT_FALSE(Runs([] { return DisplayLoadDialog(1); }));
  ExpectFrame(96);
  EXPECT_EQ(Pixel(0, 420), kBackground);
  EXPECT_EQ(FindColour(kTitle), TextCover("Load Game", kL, 160));
  EXPECT_EQ(FindColour(kAnswer), TextCover("Slot 1 - FIRST", kL, 192));
  EXPECT_EQ(FindColour(kGrey), TextCover("Slot 2 - **EMPTY**", kL, 212));
  EXPECT_EQ(FindColour(kWhite), TextCover("Slot 3 - THIRD", kL, 232));
  EXPECT_EQ(FindColour(kThumb), (PixelBox{397, 160, 397 + 146, 160 + 95}));

  Keys({kDownArrow});  // slot 3 has no thumbnail
  EXPECT_FALSE(Runs([] { return DisplayLoadDialog(0); }));
  EXPECT_EQ(FindColour(kThumb), PixelBox{});
  EXPECT_EQ(Pixel(0, 420), kInterface);
}

TEST_F(LoadDialog, SelectionSkipsEmptySlots) {
  const struct {
    const char* name;
    std::vector<std::string> files;
    std::vector<int> keys;
    int selected;
  } cases[] = {
      {"starts on the only slot in use", {"2.C.sav"}, {}, 2},
      {"down and up stay on it", {"2.C.sav"}, {kDownArrow, kUpArrow, kDownArrow}, 2},
      {"down skips the empty slot", {"0.A.sav", "2.C.sav"}, {kDownArrow}, 2},
      {"down wraps", {"0.A.sav", "2.C.sav"}, {kDownArrow, kDownArrow}, 0},
      {"up wraps", {"0.A.sav", "2.C.sav"}, {kUpArrow}, 2},
      {"starts on the lowest in use", {"1.B.sav", "2.C.sav"}, {}, 1},
      {"other keys do nothing", {"0.A.sav", "1.B.sav"}, {kRightArrow, 65, kTab}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(settings->saveDir);
    fs::create_directories(settings->saveDir);
    for (const std::string& f : c.files) Touch(f);
    Keys(c.keys);
    EXPECT_FALSE(Runs([] { return DisplayLoadDialog(1); }));
    EXPECT_EQ(FindColour(kAnswer).y0, TextCover("Slot", kL, 192 + 20 * c.selected).y0);
    FlushEvents();
  }
}

TEST_F(LoadDialog, LoadsTheChosenSlot) {
  player->gold = 77;
  SaveInto(1, "HERO");
  player->gold = 0;
  lastMusic = 0;
  testsupport::WriteFileBytes(settings->tempDir + "scratch.map", "in play");
  uint32_t strip = 0;
  PixelBox message;
  SetEventPump([&] {
    strip = Pixel(0, 420);
    message = FindColour(kCyan);
    PostEvent(EVENT_KEYDOWN, kReturn);
    SetEventPump([] { throw QueueDrained{}; });
  });
  Keys({kReturn});
  int result = -1;
  ASSERT_TRUE(Runs([] { return DisplayLoadDialog(1); }, &result));
  EXPECT_EQ(result, 1);
  EXPECT_EQ(player->gold, 77);
  EXPECT_EQ(lastMusic, 4);  // the save script ran
  EXPECT_FALSE(fs::exists(settings->tempDir + "scratch.map"));
  // The message shows over the game picture, also when the title menu opened the dialog.
  EXPECT_EQ(strip, kInterface);
  const PixelBox cover = TextCover("Loaded Slot 2 - HERO.", 0, 0);
  EXPECT_EQ(message.x1 - message.x0, cover.x1 - cover.x0);
  EXPECT_EQ(logic->inits, 2);  // the message box's and the dialog's
}

TEST_F(LoadDialog, ASlotThatCannotBeUsedIsReportedAndNothingChanges) {
  const struct {
    const char* name;
    const char* record;  // null: a real save's
    const char* script;  // null: none
    bool picture = false;  // a PNG picture in place of the script
  } cases[] = {
      {"a record that is no record", "x", "PlayMusic(4)"},
      {"no save script", nullptr, nullptr},
      {"a picture under the script's name", nullptr, nullptr, true},
      {"a precompiled chunk", nullptr, "\x1bLuaQ"},
      {"a script that does not compile", nullptr, "PlayMusic(4"},
      {"a script that fails while running", nullptr, "PlayMusic(4)\r\nNoSuchCommand()\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(settings->saveDir);
    fs::create_directories(settings->saveDir);
    SaveInto(0, "BAD");
    const std::string record = SaveRecordPath(0, "BAD");
    if (c.record) testsupport::WriteFileBytes(record, c.record);
    fs::remove(record + ".lua");
    if (c.script) testsupport::WriteFileBytes(record + ".lua", c.script);
    if (c.picture) {
      ASSERT_TRUE(SavePixmapPNG(CreatePixmap(4, 4), record + ".lua"));
    }
    testsupport::WriteFileBytes(settings->tempDir + "in play.map", "in play");
    const auto working = testsupport::FolderBytes(settings->tempDir);
    player->gold = 5;
    lastMusic = 0;
    PixelBox message;
    SetEventPump([&] {
      message = FindColour(kWhite);
      PostEvent(EVENT_KEYDOWN, kReturn);
      SetEventPump([] { throw QueueDrained{}; });
    });
    Keys({kReturn});
    testing::internal::CaptureStderr();
    EXPECT_FALSE(Runs([] { return DisplayLoadDialog(0); }));  // back in the dialog
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find(c.record ? record + ":" : record + ".lua:"), std::string::npos) << said;
    const PixelBox cover = TextCover("Slot 1 - BAD could not be loaded.", 0, 0);
    EXPECT_EQ(message.x1 - message.x0, cover.x1 - cover.x0);
    EXPECT_EQ(player->gold, 5);
    EXPECT_EQ(lastMusic, 0);
    EXPECT_EQ(testsupport::FolderBytes(settings->tempDir), working);
    EXPECT_EQ(FindColour(kAnswer), TextCover("Slot 1 - BAD", kL, 192));
    FlushEvents();
  }
}

// A load that stops part-way (a copy into the working folder fails) has replaced the record
// and the working folder: the game goes back to the title, the working folder holding the
// shipped maps alone.
TEST_F(LoadDialog, ALoadThatStopsPartWayLeadsToTheTitle) {
  for (int fromMenu : {1, 0}) {
    SCOPED_TRACE(fromMenu);
    engine->runs.clear();
    testsupport::WriteFileBytes(settings->triggerDir + "startup.lua", "");
    testsupport::WriteFileBytes(settings->mapDir + "a.map", "pristine");
    testsupport::WriteFileBytes(settings->tempDir + "a.map", "in play");
    SaveInto(1, "HERO");
    // A file of the slot that the working folder cannot take.
    testsupport::WriteFileBytes(SlotFolder(1) + "/big.map", std::string(100000, 'x'));
    // The load, the message, and from play the title menu's new game.
    std::vector<int> keys = {kReturn, kReturn};
    if (fromMenu == 0) keys.push_back(kReturn);
    std::vector<uint32_t> strips, entries;
    PixelBox message;
    SetEventPump([&] {
      strips.push_back(Pixel(0, 420));
      entries.push_back(Pixel(250, 295));
      if (strips.size() == 2) message = FindColour(kWhite);
      if (strips.size() > keys.size()) throw QueueDrained{};
      PostEvent(EVENT_KEYDOWN, keys[strips.size() - 1]);
    });
    lastMusic = 0;
    int result = -1;
    testing::internal::CaptureStderr();
    {
      const testsupport::FileSizeLimit limit(50000);
      ASSERT_TRUE(Runs([=] { return DisplayLoadDialog(fromMenu); }, &result));
    }
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find(SlotFolder(1) + "/big.map"), std::string::npos) << said;
    EXPECT_NE(said.find("File too large"), std::string::npos) << said;
    EXPECT_EQ(lastMusic, 0);  // the script's work was not done
    const PixelBox cover = TextCover("Slot 2 - HERO could not be loaded.", 0, 0);
    EXPECT_EQ(message.x1 - message.x0, cover.x1 - cover.x0);
    EXPECT_EQ(strips.at(1), kBackground);  // the message stands over the title picture
    EXPECT_EQ(testsupport::FolderBytes(settings->tempDir),
              testsupport::FolderBytes(settings->mapDir));
    if (fromMenu == 1) {
      EXPECT_EQ(result, 0);  // the title menu that opened the dialog goes on
      EXPECT_TRUE(engine->runs.empty());
    } else {
      EXPECT_EQ(entries.at(2), MenuOptionColour(0));  // the title menu, on its first entry
      EXPECT_EQ(engine->runs, std::vector<std::string>{settings->triggerDir + "startup.lua"});
      EXPECT_EQ(result, 1);  // a new game is in play
    }
  }
}

// A shared slot folder whose thumbnail or record would never end being read: the dialog
// opens at once and lists the slot without a thumbnail, and the slot, which cannot be
// copied in whole, is not loaded.
TEST_F(LoadDialog, NoThumbnailOrRecordIsReadWithoutEnd) {
  const auto sparse = [](const std::string& path) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    EXPECT_EQ(ftruncate(fd, 64ll << 30), 0);  // 64 GB without a disk block
    close(fd);
  };
  const std::string thumbnail = SlotFolder(0) + "/save.png";
  const struct {
    const char* name;
    std::function<void()> make;
  } cases[] = {
      {"a thumbnail that is a link to a device",
       [&] { fs::create_symlink("/dev/zero", thumbnail); }},
      {"a thumbnail that is a FIFO", [&] { ASSERT_EQ(mkfifo(thumbnail.c_str(), 0600), 0); }},
      {"a thumbnail of 64 GB", [&] { sparse(thumbnail); }},
      {"a record of 64 GB", [&] { sparse(SaveRecordPath(0, "HERO")); }},
  };
  const std::string text = "Slot 1 - HERO could not be loaded.";
  alarm(60);  // a read that blocked would hang the test: it ends it instead
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SaveInto(0, "HERO");
    fs::remove(thumbnail);
    c.make();
    PixelBox message;
    SetEventPump([&] {
      EXPECT_EQ(FindColour(kThumb), PixelBox{});
      EXPECT_EQ(FindColour(kAnswer), TextCover("Slot 1 - HERO", kL, 192));
      PostEvent(EVENT_KEYDOWN, kReturn);  // load
      SetEventPump([&] {
        message = FindColour(kWhite);
        PostEvent(EVENT_KEYDOWN, kReturn);
        SetEventPump([] { throw QueueDrained{}; });
      });
    });
    testing::internal::CaptureStderr();
    EXPECT_FALSE(Runs([] { return DisplayLoadDialog(1); }));  // back in the dialog
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(message.x1 - message.x0, TextCover(text, 0, 0).x1 - TextCover(text, 0, 0).x0);
    EXPECT_NE(said.find("Refused to "), std::string::npos) << said;
    fs::remove(thumbnail);
  }
  alarm(0);
}

TEST_F(LoadDialog, LeavingWithoutALoad) {
  Touch("0.A.sav");
  const struct {
    const char* name;
    int fromMenu;
    std::vector<int> keys;
    int inits;
    int kLoad = 76, kUp = 38, kDown = 40;
  } cases[] = {
      {"escape during play", 0, {kEscape}, 1},
      {"escape on the title", 1, {kEscape}, 0},
      {"the load key", 0, {76}, 1},
      {"a load key that is also the up key moves", 0, {70, kEscape}, 1, 70, 70},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    logic->inits = 0;
    settings->kLoad = static_cast<uint8_t>(c.kLoad);
    settings->kUp = static_cast<uint8_t>(c.kUp);
    settings->kDown = static_cast<uint8_t>(c.kDown);
    PostEvent(EVENT_WINDOWCLOSE);
    PostEvent(EVENT_MENUACTION, 101);
    Keys(c.keys);
    int result = -1;
    ASSERT_TRUE(Runs([&] { return DisplayLoadDialog(c.fromMenu); }, &result));
    EXPECT_EQ(result, 0);
    EXPECT_EQ(logic->inits, c.inits);
    EXPECT_TRUE(engine->runs.empty());
    EXPECT_EQ(QueuedEventCount(), 0);
  }
}

TEST_F(LoadDialog, ReturnLoadsBeforeAnyConfiguredKey) {
  SaveInto(0, "A");
  settings->kDown = kReturn;
  Keys({kReturn, kReturn});  // load, then close the message
  int result = -1;
  ASSERT_TRUE(Runs([] { return DisplayLoadDialog(0); }, &result));
  EXPECT_EQ(result, 1);
}

TEST_F(LoadDialog, KeyReleasesReachTheGame) {
  Touch("0.A.sav");
  HoldRight();
  PostEvent(EVENT_KEYUP, settings->kRight);
  EXPECT_FALSE(Runs([] { return DisplayLoadDialog(0); }));
  EXPECT_EQ(keyHeld[3], 0);
  EXPECT_EQ(player->speedX, 0.0f);
}

}  // namespace
