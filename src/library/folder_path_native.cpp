#include <filesystem>
#include <system_error>

#include "library/folder_path.h"
#include "text/case_fold.h"

namespace tavio {

std::string SearchFolderPath(std::string_view location) {
  std::error_code error;
  std::filesystem::path path = std::filesystem::absolute(std::filesystem::path(location), error);
  if (error) path = std::filesystem::path(location);
  std::string result = path.lexically_normal().string();
  if (result.empty() || result.back() != kPathDelimiter) result += kPathDelimiter;
  return result;
}

bool SameFileName(std::string_view a, std::string_view b) { return EqualIgnoringCase(a, b); }

}  // namespace tavio
