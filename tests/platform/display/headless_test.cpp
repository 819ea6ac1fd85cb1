// The headless display backend: plain gadgets and back buffers, counted flips.
#include <gtest/gtest.h>

#include "menu_tree.h"
#include "platform/display/display.h"
#include "platform/graphics/graphics.h"
#include "platform/graphics/graphics_context.h"

namespace {

TEST(HeadlessDisplay, IsUsedUnderTheDummyVideoDriver) {
  EXPECT_FALSE(DisplayIsReal());
  TGadgetPtr desktop = Desktop();
  ASSERT_TRUE(desktop);
  EXPECT_EQ(desktop->kind, GADGET_DESKTOP);
  EXPECT_EQ(GadgetWidth(desktop), 1280);
  EXPECT_EQ(GadgetHeight(desktop), 800);
  SetHeadlessDesktopSize(800, 600);
  EXPECT_EQ(GadgetWidth(Desktop()), 800);
  EXPECT_EQ(GadgetHeight(Desktop()), 600);
  SetHeadlessDesktopSize(1280, 800);
  EXPECT_EQ(GadgetWidth(nullptr), 0);
  EXPECT_EQ(GadgetHeight(nullptr), 0);
}

TEST(HeadlessDisplay, FullScreenIsABackBufferThatFlipsCountAndKeep) {
  SetGraphicsDriver("GL2D", 2);
  ShowMouse();
  TGraphicsPtr g = CreateGraphics(640, 480, 32, 60, 2);
  ASSERT_TRUE(g);
  EXPECT_FALSE(MouseVisible());
  SetGraphics(g);
  EXPECT_EQ(CurrentGraphics(), g);
  TPixmapPtr back = BackBuffer();
  ASSERT_TRUE(back);
  EXPECT_EQ(back->width, 640);
  EXPECT_EQ(back->height, 480);
  back->PixelPtr(10, 20)[1] = 0x34;
  long before = FlipCount();
  Flip(0);
  Flip(-1);
  Flip(1);
  EXPECT_EQ(FlipCount(), before + 3);
  EXPECT_EQ(BackBuffer()->PixelPtr(10, 20)[1], 0x34);
  CloseGraphics(g);
  EXPECT_NE(CurrentGraphics(), g);
}

TEST(HeadlessDisplay, WindowHoldsItsMenusAndOneCanvas) {
  TGadgetPtr window = CreateWindow("Corvel", 320, 160, 640, 480, nullptr,
                                   WINDOW_TITLEBAR | WINDOW_CLIENTCOORDS);
  ASSERT_TRUE(window);
  EXPECT_EQ(window->kind, GADGET_WINDOW);
  EXPECT_EQ(window->text, "Corvel");
  EXPECT_EQ(window->x, 320);
  EXPECT_EQ(window->y, 160);
  EXPECT_EQ(GadgetWidth(window), 640);
  EXPECT_EQ(GadgetHeight(window), 480);

  TGameMenus menus = MakeGameMenus(window);
  TGadgetPtr root = WindowMenu(window);
  ASSERT_EQ(root->children.size(), 2u);
  EXPECT_EQ(root->children[0], menus.game);
  struct Entry {
    const char* text;
    int tag, hotKey;
  };
  const Entry expected[] = {{"Save Game", 100, 83}, {"Load Game", 101, 76},
                            {"Inventory", 103, 73}, {"Options", 102, 9}};
  ASSERT_EQ(menus.game->children.size(), 4u);
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(menus.game->children[i]->text, expected[i].text);
    EXPECT_EQ(menus.game->children[i]->tag, expected[i].tag);
    EXPECT_EQ(menus.game->children[i]->hotKey, expected[i].hotKey);
    EXPECT_EQ(menus.game->children[i]->parent.lock(), menus.game);
  }
  EXPECT_EQ(menus.help->children.at(0)->tag, 201);

  TGadgetPtr first = CreateCanvas(0, 0, 640, 480, window, 0);
  TGraphicsPtr firstGraphics = CanvasGraphics(first);
  ASSERT_TRUE(firstGraphics);
  EXPECT_EQ(firstGraphics->backBuffer->width, 640);
  EXPECT_EQ(firstGraphics->backBuffer->height, 480);
  TGadgetPtr second = CreateCanvas(0, 0, 640, 480, window, 0);
  EXPECT_NE(CanvasGraphics(second), firstGraphics);
  ASSERT_EQ(window->children.size(), 1u);  // the new canvas replaced the old one
  EXPECT_EQ(window->children[0], second);
  ActivateGadget(second);
  SetGraphics(CanvasGraphics(second));
  long before = FlipCount();
  Flip(0);
  EXPECT_EQ(FlipCount(), before + 1);

  EXPECT_FALSE(WindowMenu(second));
  EXPECT_FALSE(CanvasGraphics(window));
}

TEST(HeadlessDisplay, MousePointerFollowsShowAndHide) {
  HideMouse();
  EXPECT_FALSE(MouseVisible());
  ShowMouse();
  EXPECT_TRUE(MouseVisible());
}

}  // namespace
