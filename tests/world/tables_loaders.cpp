// The data-table loaders on small fixture files: comments, CR LF, NUL bytes, missing final
// line ends, missing files and the limits of the item table.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/globals.h"
#include "core/tables.h"
#include "platform/graphics/graphics.h"
#include "support/files.h"
#include "support/settings.h"
#include "support/sounds.h"
#include "support/tiles.h"

using namespace testsupport;
using Lines = std::vector<std::string>;

namespace {

// A short 16-bit mono PCM WAV file of silence.
std::string SilentWav() { return Wav(PcmFormat(1, 22050, 16), std::string(200, '\0')); }

void SavePng(const TImagePtr& image, int frames, const std::string& path) {
  const int w = ImageWidth(image), h = ImageHeight(image);
  TPixmapPtr strip = CreatePixmap(w * frames, h);
  for (int f = 0; f < frames; ++f) {
    TPixmapPtr frame = LockImage(image, f);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) WritePixel(strip, f * w + x, y, ReadPixel(frame, x, y));
  }
  ASSERT_TRUE(SavePixmapPNG(strip, path));
}

class Tables : public testing::Test {
protected:
  Tables() : quest_(ScratchDir("tables_quest")), savedItems_(gameItem), savedTiles_(Tile) {
    for (const char* sub : {"/Images", "/Sounds", "/Music", "/Triggers"})
      std::filesystem::create_directory(quest_ + sub);
    UseQuestSettings(quest_);
  }
  ~Tables() override {
    gameItem = savedItems_;
    Tile = savedTiles_;
  }
  std::string Write(const std::string& name, const std::string& bytes) {
    WriteFileBytes(quest_ + "/" + name, bytes);
    return quest_ + "/" + name;
  }

  std::string quest_;
  std::vector<TItemPtr> savedItems_;
  std::vector<TTilePtr> savedTiles_;
};

}  // namespace

TEST(SplitString, FieldsBetweenSeparators) {
  struct Case {
    std::string text, separator;
    Lines fields;
  };
  const Case cases[] = {
      {"", ",", {""}},
      {"   \t ", ",", {""}},
      {"a,b", ",", {"a", "b"}},
      {"a,,b", ",", {"a", "", "b"}},
      {"a,", ",", {"a", ""}},
      {",", ",", {"", ""}},
      {"  a , b \r", ",", {"a ", " b"}},
      {"a;b,c", ";", {"a", "b,c"}},
  };
  for (const Case& c : cases) {
    auto fields = SplitString(c.text, c.separator);
    ASSERT_NE(fields, nullptr) << c.text;
    EXPECT_EQ(*fields, c.fields) << "[" << c.text << "]";
  }
  EXPECT_EQ(SplitString("a,b", ",,"), nullptr);
  EXPECT_EQ(SplitString("a,b", ""), nullptr);
}

TEST_F(Tables, TriggerListCountsEveryLine) {
  struct Case {
    std::string bytes;
    Lines entries;
  };
  const Case cases[] = {
      {"a.lua\r\nb.lua\n\n// c.lua", {"", "a.lua", "b.lua", "", "// c.lua"}},
      {"x.lua\n", {"", "x.lua"}},
      {"x.lua\r\n\r\n", {"", "x.lua", ""}},
      {std::string("a\0b.lua\nc\r.lua", 14), {"", "a", "b.lua", "c.lua"}},
      {" sp .lua ", {"", " sp .lua "}},
      {"", {""}},
  };
  for (const Case& c : cases) EXPECT_EQ(LoadTriggers(Write("triggers.dat", c.bytes)), c.entries);
  EXPECT_EQ(LoadTriggers(quest_ + "/none.dat"), Lines{""});
}

TEST_F(Tables, MusicListPrependsTheMusicFolder) {
  const std::string dir = settings->musicDir;
  EXPECT_EQ(LoadMusic(Write("music.dat", "a.ogg\r\n\r\nb.ogg")),
            (Lines{dir + "a.ogg", dir, dir + "b.ogg"}));
  EXPECT_EQ(LoadMusic(Write("music.dat", "")), Lines{});
  EXPECT_EQ(LoadMusic(quest_ + "/none.dat"), Lines{});
}

TEST_F(Tables, SoundListKeepsPlacesOfMissingSounds) {
  WriteFileBytes(settings->soundDir + "hit.wav", SilentWav());
  WriteFileBytes(settings->musicDir + "tune.wav", SilentWav());
  const std::vector<TSoundPtr> sounds =
      LoadSounds(Write("sounds.dat", "hit.wav\r\n\r\nnone.wav\r\nhit.wav\r\n"), 0);
  ASSERT_EQ(sounds.size(), 4u);
  EXPECT_NE(sounds[0], nullptr);
  EXPECT_EQ(sounds[1], nullptr);
  EXPECT_EQ(sounds[2], nullptr);
  EXPECT_NE(sounds[3], nullptr);
  EXPECT_FALSE(sounds[0]->loop);

  // Flags 1: from the music folder, looping.
  const std::vector<TSoundPtr> music = LoadSounds(Write("loops.dat", "tune.wav\nhit.wav"), 1);
  ASSERT_EQ(music.size(), 2u);
  ASSERT_NE(music[0], nullptr);
  EXPECT_TRUE(music[0]->loop);
  EXPECT_EQ(music[1], nullptr);
  EXPECT_TRUE(LoadSounds(quest_ + "/none.dat", 0).empty());
}

TEST_F(Tables, TileTableLinesCommentsAndStrips) {
  SavePng(SolidImage(32, 32), 1, settings->imageDir + "solid.png");
  SavePng(SolidImage(32, 32, 4), 4, settings->imageDir + "strip.png");
  const std::string dat =
      "// the tiles\r\n"
      "\r\n"
      "solid.png,1,0\r\n"              // 0
      "strip.png,4,2 // animated\r\n"  // 1
      "strip.png,4,3,9\r\n"            // 2: the rate ends at the third comma
      "solid.png,0,5\r\n"              // 3: frame count below 1 counts as 1
      "missing.png,1,0\r\n"            // 4: no image
      "strip.png,5,0\r\n"              // 5: more frames than the strip holds
      "   \r\n"                        // 6: spaces are not an empty line
      "solid.png";                     // 7: no commas, no line end
  const std::vector<TTilePtr> tiles = LoadImages(Write("Images/tiles.dat", dat));
  ASSERT_EQ(tiles.size(), 8u);
  struct Want {
    bool image;
    int frames, fps;
  };
  const Want want[] = {{true, 1, 0}, {true, 4, 2}, {true, 4, 3}, {true, 1, 5},
                       {false, 1, 0}, {false, 5, 0}, {false, 1, 0}, {true, 1, 0}};
  for (size_t i = 0; i < tiles.size(); ++i) {
    EXPECT_EQ(tiles[i]->image != nullptr, want[i].image) << "tile " << i;
    EXPECT_EQ(tiles[i]->frames, want[i].frames) << "tile " << i;
    EXPECT_EQ(tiles[i]->fps, want[i].fps) << "tile " << i;
    EXPECT_EQ(tiles[i]->currentFrame, 0);
  }
  // A strip of square frames as high as the image, in order.
  const TImagePtr strip = tiles[1]->image;
  EXPECT_EQ(ImageWidth(strip), 32);
  EXPECT_EQ(ImageHeight(strip), 32);
  ASSERT_EQ(ImageFrames(strip), 4);
  for (int f = 0; f < 4; ++f) EXPECT_EQ(ReadPixel(LockImage(strip, f), 5, 5), FrameColor(f));
  EXPECT_EQ(ImageFrames(tiles[3]->image), 1);
  EXPECT_EQ(ImageWidth(tiles[3]->image), 32);

  EXPECT_TRUE(LoadImages(Write("Images/tiles.dat", "")).empty());
  EXPECT_TRUE(LoadImages(quest_ + "/none.dat").empty());
}

TEST_F(Tables, ItemTableSlotsFromLineOne) {
  const std::string dat =
      "1,Bow,A bow~ bent~ old,1,12,30,3,4,5,6,8,9,10,2.5,11,13,14\r\n"
      "2, Sword~, sharp,3, 0,0,1,1,1,1,1,1,1,1,1,1,1,extra,fields\r\n"
      "// a comment is an item line too\r\n"
      "\r\n"
      "5,Short,line";
  const std::vector<TItemPtr> items = LoadItems(Write("item.dat", dat));
  ASSERT_EQ(items.size(), 48u);
  for (const auto& item : items) ASSERT_NE(item, nullptr);
  EXPECT_EQ(items[0]->itemID, 0);

  const TItem& bow = *items[1];
  EXPECT_EQ(bow.itemID, 1);
  EXPECT_EQ(bow.name, "Bow");
  EXPECT_EQ(bow.description, "A bow, bent, old");
  EXPECT_EQ(bow.itemType, 1);
  EXPECT_EQ(bow.ammoCount, 12);
  EXPECT_EQ(bow.ammoMax, 30);
  EXPECT_EQ(bow.icon, 3);
  EXPECT_EQ(bow.useImage, 4);
  EXPECT_EQ(bow.ammoImage, 5);
  EXPECT_EQ(bow.useTrigger, 6);
  EXPECT_EQ(bow.getTrigger, 8);
  EXPECT_EQ(bow.damageRating, 9);
  EXPECT_EQ(bow.missileRange, 10);
  EXPECT_EQ(bow.missileSpeed, 2.5f);
  EXPECT_EQ(bow.missileRotationDiff, 11);
  EXPECT_EQ(bow.sound, 13);
  EXPECT_EQ(bow.meleeImage, 14);

  // Text fields keep their spaces, "~" stays in a name; numbers skip leading spaces.
  EXPECT_EQ(items[2]->name, " Sword~");
  EXPECT_EQ(items[2]->description, " sharp");
  EXPECT_EQ(items[2]->ammoCount, 0);
  EXPECT_EQ(items[2]->itemType, 3);
  EXPECT_EQ(items[2]->meleeImage, 1);

  EXPECT_EQ(items[3]->itemID, 0);
  EXPECT_EQ(items[3]->name, "");
  EXPECT_EQ(items[4]->itemID, 0);
  // Missing fields read as empty text.
  EXPECT_EQ(items[5]->itemID, 5);
  EXPECT_EQ(items[5]->description, "line");
  EXPECT_EQ(items[5]->itemType, 0);
  EXPECT_EQ(items[5]->meleeImage, 0);
  for (size_t k = 6; k < 48; ++k) EXPECT_EQ(items[k]->itemID, 0) << k;
}

TEST_F(Tables, ItemTableIgnoresLinesPastSlot47AndMissingFile) {
  std::string dat;
  for (int k = 1; k <= 60; ++k) dat += std::to_string(k) + ",Item,,2,0,0,0,0,0,0,0,0,0,0,0,0,0\n";
  const std::vector<TItemPtr> items = LoadItems(Write("item.dat", dat));
  ASSERT_EQ(items.size(), 48u);
  EXPECT_EQ(items[47]->itemID, 47);
  EXPECT_EQ(items[0]->itemID, 0);

  const std::vector<TItemPtr> none = LoadItems(quest_ + "/none.dat");
  ASSERT_EQ(none.size(), 48u);
  for (const auto& item : none) {
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->itemID, 0);
  }
  EXPECT_NE(none[1], none[2]);
}

// A comma inside a text shifts the fields after it: the line is reported with its file and
// line number (comment lines counted), and read as its fields fall.
TEST_F(Tables, LinesWithAnotherNumberOfFieldsAreReported) {
  const std::string items = Write("item.dat",
                                  "1,Rope,Long, strong,2,0,0,3,3,0,4,0,0,0,0,0,-1,0\r\n"
                                  "2,Lamp,Bright~ warm,2,0,0,3,3,0,4,0,0,0,0,0,-1,0\r\n"
                                  "\r\n"
                                  "4,Stub,short\r\n");
  const std::string npcs = Write("npc.dat",
                                 "// kinds\n"
                                 "\n"
                                 "0,0,10,10,0,0,1,Old, Tom,4,4,0,0,2.0,0,0,3,0 // the miller\n"
                                 "0,0,20,20,0,0,1,Ann,4,4,0,0,2.0,0,0,3,0\n");
  testing::internal::CaptureStderr();
  const std::vector<TItemPtr> loadedItems = LoadItems(items);
  ScopedTiles tiles({MakeTile(SolidImage(32, 32), 4)});
  const std::vector<TActorPtr> loadedNPCs = LoadNPCs(npcs);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            items + ":1: 18 fields where an item line has 17; a comma in the name or the "
            "description starts a new field (write \"~\" for a comma in a description), and "
            "fields after the 17th are ignored\n" +
            items + ":4: 3 fields where an item line has 17; the missing fields read 0 or empty\n" +
            npcs + ":3: 18 fields where an NPC line has 17; a comma in the name starts a new "
            "field, and fields after the 17th are ignored\n");
  // Read as the fields fall: the rest of the description is taken for the type.
  EXPECT_EQ(loadedItems[1]->description, "Long");
  EXPECT_EQ(loadedItems[1]->itemType, 0);
  EXPECT_EQ(loadedItems[1]->useTrigger, 0);
  EXPECT_EQ(loadedItems[2]->description, "Bright, warm");
  EXPECT_EQ(loadedItems[2]->useTrigger, 4);
  ASSERT_EQ(loadedNPCs.size(), 2u);
  EXPECT_EQ(loadedNPCs[0]->name, "Old");
  EXPECT_EQ(loadedNPCs[0]->life, 0);  // " Tom"
  EXPECT_EQ(loadedNPCs[0]->maxLife, 4);
  EXPECT_EQ(loadedNPCs[1]->life, 4);
}

TEST_F(Tables, NpcTableRecordsCommentsAndConversions) {
  ScopedTiles tiles({MakeTile(SolidImage(32, 32)), MakeTile(SolidImage(32, 32, 8), 8)});
  gameItem.assign(48, nullptr);
  for (auto& item : gameItem) item = std::make_shared<TItem>();
  gameItem[2] = TItem::Create(2, "Sling", "", 1, 5, 10, 0, 0, 0, 0, 0, 1, 4, 3.0f, 0, -1, 0);

  const std::string dat =
      "// tile,foot,x,y,...\r\n"
      "\r\n"
      "1,0,12.7,-3.9,1.5,-0.25,3, Guard ,4,6,2,-1,2.25,7,11,12,2 // the gate guard\r\n"
      "// 1,0,0,0,0,0,0,Hidden,1,1,0,0,6,0,0,0,0\r\n"
      "0,0,100,200,0,0,1,Ann,1,1,0,0,6,0,0,0,0,extra\n"
      "1,0,5,5";  // missing fields read as empty
  const std::vector<TActorPtr> npcs = LoadNPCs(Write("npc.dat", dat));
  ASSERT_EQ(npcs.size(), 3u);

  const TActor& guard = *npcs[0];
  EXPECT_EQ(guard.tileID, 1);
  EXPECT_EQ(guard.X, 12.0f);
  EXPECT_EQ(guard.Y, -3.0f);
  EXPECT_EQ(guard.speedX, 1.5f);
  EXPECT_EQ(guard.speedY, -0.25f);
  EXPECT_EQ(guard.facing, 3);
  EXPECT_EQ(guard.name, " Guard ");
  EXPECT_EQ(guard.life, 4);
  EXPECT_EQ(guard.maxLife, 6);
  EXPECT_EQ(guard.attitude, 2);
  EXPECT_EQ(guard.movement, -1);
  EXPECT_EQ(guard.walkSpeed, 2.25f);
  EXPECT_EQ(guard.damage, 7);
  EXPECT_EQ(guard.deathTrigger, 11);
  EXPECT_EQ(guard.talkTrigger, 12);
  EXPECT_EQ(guard.frames, 2);
  EXPECT_EQ(guard.currentFrame, 6);
  ASSERT_NE(guard.primary, nullptr);
  EXPECT_EQ(guard.primary->name, "Sling");
  EXPECT_NE(guard.primary, gameItem[2]);

  EXPECT_EQ(npcs[1]->name, "Ann");
  EXPECT_EQ(npcs[1]->X, 100.0f);
  EXPECT_EQ(npcs[1]->primary->itemID, 0);

  EXPECT_EQ(npcs[2]->X, 5.0f);
  EXPECT_EQ(npcs[2]->name, "");
  EXPECT_EQ(npcs[2]->walkSpeed, 0.0f);
  EXPECT_EQ(npcs[2]->primary->itemID, 0);

  EXPECT_TRUE(LoadNPCs(quest_ + "/none.npc").empty());
  EXPECT_TRUE(LoadNPCs(Write("empty.npc", "")).empty());
}
