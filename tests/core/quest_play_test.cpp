// The tests' player of a quest: a screen that its Returns never close fails the test at once,
// instead of holding it until its time-out.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "screens/screens.h"
#include "support/keys_ran_out.h"
#include "support/quest_play.h"

namespace fs = std::filesystem;

namespace {

class QuestPlayer : public testsupport::QuestPlay {};

TEST_F(QuestPlayer, AScreenThatReturnDoesNotCloseEndsTheTest) {
  StartQuest((fs::path(CORVEL_BINARY_DIR) / "fixtures" / "first_quest").string(), "play");
  // Return only moves the inventory's cursor between the grid and the hands.
  EXPECT_NONFATAL_FAILURE(EXPECT_THROW(DisplayInventory(), testsupport::KeysRanOut),
                          "The scripted keys ran out: a screen took 1000 Returns in a row");
}

}  // namespace
