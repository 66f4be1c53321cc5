#include "library/shared_keys.h"

namespace tavio {
namespace {

constexpr size_t kMaxKeysLength = 255;

std::string& SortKeysValue() {
  static std::string value;
  return value;
}

std::string& CaptionKeysValue() {
  static std::string value;
  return value;
}

}  // namespace

const std::string& SortKeys() { return SortKeysValue(); }
void SetSortKeys(std::string_view keys) { SortKeysValue() = std::string(keys.substr(0, kMaxKeysLength)); }
const std::string& CaptionKeys() { return CaptionKeysValue(); }
void SetCaptionKeys(std::string_view keys) { CaptionKeysValue() = std::string(keys.substr(0, kMaxKeysLength)); }

}  // namespace tavio
