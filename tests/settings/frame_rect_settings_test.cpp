// The host frame's rectangle: read in the order T, L, R, B, where an error
// leaves the rest as it was, and written in the same order.
#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "settings/frame_rect_settings.h"

using namespace tavio;

namespace {

// Answers reads with their defaults, fails at one name, records the writes.
class TScriptedStore final : public TSettingsStore {
 public:
  std::string ReadString(std::string_view, std::string_view, std::string_view fallback) override {
    return std::string(fallback);
  }
  int32_t ReadInteger(std::string_view section, std::string_view name, int32_t fallback) override {
    Reads.push_back(std::string(section) + "/" + std::string(name));
    if (name == FailAt) throw std::runtime_error("Invalid data type");
    const auto stored = Stored.find(std::string(name));
    return stored == Stored.end() ? fallback : stored->second;
  }
  void WriteString(std::string_view, std::string_view, std::string_view) override {}
  void WriteInteger(std::string_view section, std::string_view name, int32_t number) override {
    Writes.push_back(std::string(section) + "/" + std::string(name) + "=" + std::to_string(number));
  }
  void ListNames(std::string_view, std::vector<std::string>&) override {}
  void EraseSection(std::string_view) override {}

  std::map<std::string, int32_t> Stored;
  std::string FailAt;
  std::vector<std::string> Reads;
  std::vector<std::string> Writes;
};

using Lines = std::vector<std::string>;

}  // namespace

TEST(FrameRect, EmptyStoreGivesTheDefaultRectangle) {
  TScriptedStore store;
  TRect rect;
  ReadFrameRect(store, rect);
  EXPECT_EQ(rect, (TRect{0, 0, 666, 555}));
  EXPECT_EQ(store.Reads, (Lines{"SETTINGS/T", "SETTINGS/L", "SETTINGS/R", "SETTINGS/B"}));
}

TEST(FrameRect, ReadErrorIsSwallowedAndLeavesTheUnreadFieldsZero) {
  TScriptedStore store;
  store.Stored = {{"T", 5}, {"L", 6}, {"R", 700}, {"B", 600}};
  store.FailAt = "R";
  TRect rect;
  EXPECT_NO_THROW(ReadFrameRect(store, rect));
  EXPECT_EQ(rect, (TRect{6, 5, 0, 0}));
  EXPECT_EQ(store.Reads.size(), 3u);
}

TEST(FrameRect, WritesTopLeftRightBottomInThisOrder) {
  TScriptedStore store;
  WriteFrameRect(store, TRect{10, 20, 30, 40});
  EXPECT_EQ(store.Writes, (Lines{"SETTINGS/T=20", "SETTINGS/L=10", "SETTINGS/R=30", "SETTINGS/B=40"}));
}
