#include "support/keys_ran_out.h"

#include <gtest/gtest.h>

namespace testsupport {

void FailForWantOfKeys(const std::string& what) {
  static const ::testing::TestInfo* failed = nullptr;
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  if (test != failed) {
    failed = test;
    ADD_FAILURE() << "The scripted keys ran out: " << what;
  }
  throw KeysRanOut(what);
}

}  // namespace testsupport
