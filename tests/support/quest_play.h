#pragma once
// A quest played in the real program on the headless display with queued keys: the
// program's own tree (bin/ beside the quest's Resources/, HOME with its Documents), the
// game set up as at start-up, and a new game started from the title menu.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>

namespace testsupport {

class QuestPlay : public ::testing::Test {
protected:
  // Plays the quest in `resources` from a scratch folder named `scratch`. Modal screens (the
  // title, text boxes, transitions) get 17 ms and a key at every empty poll: the next of
  // `modalKeys`, else Return, after `onModalPoll`; the frame loop's own poll (Pass) gets
  // nothing, the test queues its keys. `beforeTitle` runs just before the title menu.
  // Past kMostReturns Returns in a row without a pass between (a screen that Return does not
  // close, or screens that open one another without end) the test fails at once.
  void StartQuest(const std::string& resources, const std::string& scratch,
                  const std::function<void()>& beforeTitle = {});
  void TearDown() override;

  // One pass of the frame loop, one logic tick later.
  void Pass();
  // True when the map in play is the working copy of `name`.
  static bool OnMap(const std::string& name);

  std::deque<int> modalKeys;
  std::function<void()> onModalPoll;
  static constexpr long kMostReturns = 1000;

private:
  bool framePoll_ = false;
  long returns_ = 0;  // Returns given in a row since the last pass or queued key
};

}  // namespace testsupport
