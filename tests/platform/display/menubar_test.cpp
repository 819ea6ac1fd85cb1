// The menu bar that this layer draws above the canvas: layout, mouse, keys and menu actions.
#include <gtest/gtest.h>

#include "menu_tree.h"
#include "platform/display/menubar.h"
#include "platform/events/events.h"

namespace {

constexpr int KEY_G = 71, KEY_H = 72, KEY_RETURN = 13, KEY_ESCAPE = 27, KEY_RIGHT = 39,
              KEY_DOWN = 40, KEY_UP = 38;

class MenuBar : public testing::Test {
protected:
  void SetUp() override {
    FlushEvents();
    menus = MakeGameMenus(CreateWindow("Corvel", 0, 0, 640, 480, nullptr, 33));
    bar.SetMenus(WindowMenu(menus.window));
  }

  void Click(const TMenuBar::TRect& r) {
    EXPECT_TRUE(bar.MouseDown(r.x + 2, r.y + 2));
    EXPECT_TRUE(bar.MouseUp(r.x + 2, r.y + 2));
  }

  // The one menu action queued since the last call, or 0 (and -1 when there were more).
  int ChosenTag() {
    if (PollEvent() == 0) return 0;
    int tag = EventID() == EVENT_MENUACTION ? EventData() : -2;
    return PollEvent() == 0 ? tag : -1;
  }

  TGameMenus menus;
  TMenuBar bar;
};

TEST_F(MenuBar, TitlesSitInAStripAboveTheCanvas) {
  EXPECT_EQ(bar.Height(), 20);
  ASSERT_EQ(bar.TitleCount(), 2);
  TMenuBar::TRect game = bar.TitleRect(0), help = bar.TitleRect(1);
  EXPECT_EQ(game.x, 0);
  EXPECT_EQ(help.x, game.width);
  EXPECT_EQ(game.height, 20);
  EXPECT_EQ(bar.EntryRect(0, 0).y, 21);
  EXPECT_EQ(bar.EntryRect(0, 1).y, 41);
  EXPECT_EQ(bar.EntryRect(0, 4).width, 0);  // no fifth entry

  TMenuBar empty;
  empty.SetMenus(nullptr);
  EXPECT_EQ(empty.Height(), 0);
  EXPECT_FALSE(empty.MouseDown(5, 5));
  EXPECT_FALSE(empty.KeyDown(KEY_G, true));
}

TEST_F(MenuBar, ClickingAnEntryPostsItsTagOnce) {
  struct Case {
    int menu, entry, tag;
  };
  const Case cases[] = {{0, 0, 100}, {0, 1, 101}, {0, 2, 103}, {0, 3, 102}, {1, 0, 201}};
  for (const Case& c : cases) {
    Click(bar.TitleRect(c.menu));
    ASSERT_TRUE(bar.IsOpen());
    EXPECT_EQ(bar.OpenMenu(), c.menu);
    EXPECT_EQ(ChosenTag(), 0);  // opening a menu posts nothing
    Click(bar.EntryRect(c.menu, c.entry));
    EXPECT_FALSE(bar.IsOpen());
    EXPECT_EQ(ChosenTag(), c.tag);
  }
}

TEST_F(MenuBar, ChosenEntryIsTheEventSource) {
  Click(bar.TitleRect(1));
  Click(bar.EntryRect(1, 0));
  ASSERT_EQ(PollEvent(), EVENT_MENUACTION);
  EXPECT_EQ(EventSource(), menus.help->children[0]);
}

TEST_F(MenuBar, AltAndTheMnemonicOpenAMenuForTheKeyboard) {
  EXPECT_FALSE(bar.KeyDown(KEY_G, false));  // a plain G is the game's
  EXPECT_TRUE(bar.KeyDown(KEY_G, true));
  EXPECT_EQ(bar.OpenMenu(), 0);
  EXPECT_EQ(bar.Highlighted(), 0);
  EXPECT_TRUE(bar.KeyDown(KEY_DOWN, false));
  EXPECT_TRUE(bar.KeyDown(KEY_DOWN, false));
  EXPECT_TRUE(bar.KeyDown(KEY_RETURN, false));
  EXPECT_EQ(ChosenTag(), 103);

  EXPECT_TRUE(bar.KeyDown(KEY_H, true));
  EXPECT_EQ(bar.OpenMenu(), 1);
  EXPECT_TRUE(bar.KeyDown(KEY_RIGHT, false));  // wraps round to the first menu
  EXPECT_EQ(bar.OpenMenu(), 0);
  EXPECT_TRUE(bar.KeyDown(KEY_UP, false));  // from the top to the last entry
  EXPECT_EQ(bar.Highlighted(), 3);
  EXPECT_TRUE(bar.KeyDown(65, false));  // keys stay in an open menu
  EXPECT_TRUE(bar.KeyDown(KEY_ESCAPE, false));
  EXPECT_FALSE(bar.IsOpen());
  EXPECT_EQ(ChosenTag(), 0);
  EXPECT_FALSE(bar.KeyDown(KEY_ESCAPE, false));
}

TEST_F(MenuBar, AClickOutsideClosesTheMenuAndIsNotTheGames) {
  Click(bar.TitleRect(0));
  EXPECT_TRUE(bar.MouseDown(600, 400));
  EXPECT_FALSE(bar.IsOpen());
  EXPECT_EQ(ChosenTag(), 0);
  // With the menu closed, the canvas is the game's again.
  EXPECT_FALSE(bar.MouseDown(600, 400));
  EXPECT_FALSE(bar.MouseUp(600, 400));
  EXPECT_FALSE(bar.MouseMove(300, 300));
  EXPECT_TRUE(bar.MouseMove(300, 5));  // over the strip
}

TEST_F(MenuBar, MovingOverTitlesSwitchesTheOpenMenuAndHighlights) {
  Click(bar.TitleRect(0));
  TMenuBar::TRect help = bar.TitleRect(1);
  EXPECT_TRUE(bar.MouseMove(help.x + 3, 5));
  EXPECT_EQ(bar.OpenMenu(), 1);
  TMenuBar::TRect about = bar.EntryRect(1, 0);
  EXPECT_TRUE(bar.MouseMove(about.x + 3, about.y + 3));
  EXPECT_EQ(bar.Highlighted(), 0);
  // A second click on the open title closes it.
  EXPECT_TRUE(bar.MouseDown(help.x + 3, 5));
  EXPECT_FALSE(bar.IsOpen());
}

uint32_t Rgb(const TPixmapPtr& p, int x, int y) {
  const uint8_t* d = p->PixelPtr(x, y);
  return (d[0] << 16) | (d[1] << 8) | d[2];
}

TEST_F(MenuBar, DrawsTheStripAndTheOpenMenuOverTheCanvas) {
  auto picture = std::make_shared<TPixmap>(640, 500);
  for (size_t i = 0; i < picture->pixels.size(); ++i) picture->pixels[i] = (i % 4 == 3) ? 255 : 7;
  const uint32_t canvas = 0x070707, grey = 0xD4D0C8, lit = 0x316AC5;
  bar.Draw(picture);
  EXPECT_EQ(Rgb(picture, 400, 10), grey);
  EXPECT_EQ(Rgb(picture, 1, 1), grey);  // closed: no title lit
  EXPECT_EQ(Rgb(picture, 5, 30), canvas);

  bar.KeyDown(KEY_G, true);
  bar.KeyDown(KEY_DOWN, false);
  bar.Draw(picture);
  EXPECT_EQ(Rgb(picture, 1, 1), lit);  // the open title
  TMenuBar::TRect second = bar.EntryRect(0, 1), first = bar.EntryRect(0, 0);
  EXPECT_EQ(Rgb(picture, second.x + second.width - 2, second.y + 1), lit);
  EXPECT_EQ(Rgb(picture, first.x + first.width - 2, first.y + 1), grey);
  TMenuBar::TRect last = bar.EntryRect(0, 3);
  EXPECT_EQ(Rgb(picture, 5, last.y + last.height + 10), canvas);  // below the menu
  EXPECT_EQ(Rgb(picture, first.x + first.width + 10, 30), canvas);  // right of it
}

TEST(MenuLabels, MnemonicsAndHotKeys) {
  int mnemonic = -1;
  EXPECT_EQ(MenuLabel("&Game", &mnemonic), "Game");
  EXPECT_EQ(mnemonic, KEY_G);
  EXPECT_EQ(MenuLabel("Save &as", &mnemonic), "Save as");
  EXPECT_EQ(mnemonic, 65);
  EXPECT_EQ(MenuLabel("Fish && Chips", &mnemonic), "Fish & Chips");
  EXPECT_EQ(mnemonic, 0);
  struct Case {
    int key, modifier;
    const char* label;
  };
  const Case cases[] = {{83, 0, "S"}, {9, 0, "Tab"}, {0, 0, ""}, {112, 0, "F1"},
                        {49, MODIFIER_CONTROL, "Ctrl+1"}, {27, MODIFIER_SHIFT, "Shift+Esc"},
                        {200, 0, "#200"}};
  for (const Case& c : cases) EXPECT_EQ(HotKeyLabel(c.key, c.modifier), c.label) << c.key;
}

}  // namespace
