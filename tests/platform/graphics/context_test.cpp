#include <gtest/gtest.h>
#include "platform/graphics/graphics_context.h"

TEST(GfxContext, DefaultContextIsHeadless640x480AndSwitchable) {
  SetCurrentContext(nullptr);
  TGraphicsPtr def = CurrentContext();
  ASSERT_TRUE(def);
  EXPECT_EQ(def->width, 640);
  EXPECT_EQ(def->height, 480);
  EXPECT_EQ(BackBuffer(), def->backBuffer);
  EXPECT_EQ(CurrentContext(), def);

  TGraphicsPtr small = MakeGraphicsContext(32, 16);
  SetCurrentContext(small);
  EXPECT_EQ(BackBuffer()->width, 32);
  EXPECT_EQ(GraphicsWidth(), 32);
  EXPECT_EQ(GraphicsHeight(), 16);
  EXPECT_EQ(BackBuffer()->height, 16);
  EXPECT_EQ(BackBuffer()->PixelPtr(31, 15)[3], 255);
  SetCurrentContext(def);
  EXPECT_EQ(BackBuffer(), def->backBuffer);
}
