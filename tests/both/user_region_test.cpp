// The system's region as the iTunes search gets it: two upper-case letters
// or nothing, natively always nothing.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "coversearch/user_region.h"

namespace tavio {
namespace {

TEST(UserRegion, IsTwoUpperCaseLettersOrNothing) {
  const std::string region = UserRegion();
  EXPECT_TRUE(region.empty() || TwoLetterRegion(region) == region) << region;
#ifndef _WIN32
  EXPECT_EQ(region, "");
#endif
  std::printf("user region: \"%s\"\n", region.c_str());
}

}  // namespace
}  // namespace tavio
