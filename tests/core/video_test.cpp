// Display set-up without a real display: the centred window with its menus, made once, and
// the drawing state after every call.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "core/game.h"
#include "core/globals.h"

namespace {

struct MenuEntry {
  std::string text;
  int tag, hotKey;
};

std::vector<MenuEntry> Entries(const TGadgetPtr& menu) {
  std::vector<MenuEntry> out;
  for (const TGadgetPtr& child : menu->children) out.push_back({child->text, child->tag, child->hotKey});
  return out;
}

bool operator==(const MenuEntry& a, const MenuEntry& b) {
  return a.text == b.text && a.tag == b.tag && a.hotKey == b.hotKey;
}

class Video : public ::testing::Test {
protected:
  void SetUp() override {
    AppTitle = "Corvel v1.0a - test";
    windowExists = 0;
    MyWindow = MyCanvas = GameMenu = HelpMenu = nullptr;
  }
  void TearDown() override {
    CloseGraphics(g);
    g = nullptr;
  }
  // The drawing state a previous context may have left.
  static void Disturb() {
    SetColor(10, 20, 30);
    SetBlend(SOLIDBLEND);
    SetScale(2.0f, 3.0f);
  }
  static void ExpectDrawingState() {
    int r, gr, b;
    GetColor(r, gr, b);
    EXPECT_EQ(r, 255);
    EXPECT_EQ(gr, 255);
    EXPECT_EQ(b, 255);
    EXPECT_EQ(GetBlend(), ALPHABLEND);
    float sx, sy;
    GetScale(sx, sy);
    EXPECT_EQ(sx, 1.0f);
    EXPECT_EQ(sy, 1.0f);
  }
};

TEST_F(Video, WindowCentredOnTheDesktop) {
  struct Case { int w, h, x, y; };
  for (const Case& c : {Case{1280, 800, 320, 160}, Case{1025, 769, 192, 144}, Case{600, 400, -20, -40}}) {
    SetUp();
    desktopWidth = c.w;
    desktopHeight = c.h;
    InitVideo(0);
    ASSERT_TRUE(MyWindow);
    EXPECT_EQ(MyWindow->x, c.x) << c.w << " x " << c.h;
    EXPECT_EQ(MyWindow->y, c.y) << c.w << " x " << c.h;
    EXPECT_EQ(MyWindow->width, 640);
    EXPECT_EQ(MyWindow->height, 480);
    EXPECT_EQ(MyWindow->text, AppTitle);
    CloseGraphics(g);
  }
}

TEST_F(Video, MenusMadeOnceAcrossModeSwitches) {
  desktopWidth = 1280;
  desktopHeight = 800;
  Disturb();
  InitVideo(0);
  ExpectDrawingState();
  const TGadgetPtr window = MyWindow;
  ASSERT_TRUE(GameMenu && HelpMenu);
  EXPECT_EQ(GameMenu->text, "&Game");
  EXPECT_EQ(GameMenu->tag, 1);
  EXPECT_EQ(HelpMenu->text, "&Help");
  EXPECT_EQ(HelpMenu->tag, 2);
  const std::vector<MenuEntry> game = {{"Save Game", 100, 83}, {"Load Game", 101, 76},
                                       {"Inventory", 103, 73}, {"Options", 102, 9}};
  const std::vector<MenuEntry> help = {{"About Corvel", 201, 0}};
  EXPECT_EQ(Entries(GameMenu), game);
  EXPECT_EQ(Entries(HelpMenu), help);
  const size_t rootMenus = WindowMenu(MyWindow)->children.size();
  EXPECT_EQ(rootMenus, 2u);

  for (uint8_t mode : {1, 0, 2, 0}) {
    CloseGraphics(g);
    Disturb();
    InitVideo(mode);
    ExpectDrawingState();
    EXPECT_EQ(MyWindow, window);
    EXPECT_EQ(WindowMenu(MyWindow)->children.size(), rootMenus);
    EXPECT_EQ(Entries(GameMenu), game);
    EXPECT_EQ(MouseVisible(), mode == 0);
  }
  EXPECT_EQ(CurrentGraphics(), g);
}

TEST_F(Video, FullScreenFirstMakesNoWindow) {
  InitVideo(1);
  ExpectDrawingState();
  EXPECT_FALSE(MyWindow);
  EXPECT_EQ(windowExists, 0);
  EXPECT_FALSE(MouseVisible());
}

}  // namespace
