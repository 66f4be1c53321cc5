#include <gtest/gtest.h>

#include "library/text_to_int.h"

using namespace tavio;

TEST(TextToInt, AcceptsDecimalAndHexFormsAndNothingElse) {
  struct Case {
    const char* text;
    int32_t expected;
  };
  const Case cases[] = {
      {"1999", 1999},        {"  42", 42},           {"-7", -7},
      {"+7", 7},             {"07", 7},              {"$1F", 31},
      {"x1f", 31},           {"0x10", 16},           {"-$10", -16},
      {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN},
      // everything below gives the default
      {"", -1},              {"   ", -1},            {"-", -1},
      {"$", -1},             {"0x", -1},             {"12 ", -1},
      {"2004-05-12", -1},    {"1e3", -1},            {"12a", -1},
      {"2147483648", -1},    {"-2147483649", -1},    {"$FFFFFFFF", -1},
      {"99999999999999999999", -1}, {"\t5", -1},
  };
  for (const Case& c : cases) EXPECT_EQ(TextToIntDef(c.text, -1), c.expected) << '"' << c.text << '"';
}
