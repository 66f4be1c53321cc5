#include "text/long_path.h"

#include <vector>

namespace tavio {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsDriveAbsolute(std::string_view path) {
  const bool letter = path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  return letter && path[1] == ':' && IsSeparator(path[2]);
}

bool IsUnc(std::string_view path) {
  return path.size() > 2 && IsSeparator(path[0]) && IsSeparator(path[1]) && !IsSeparator(path[2]) && path[2] != '?' &&
         path[2] != '.';
}

std::vector<std::string_view> Segments(std::string_view path) {
  std::vector<std::string_view> segments;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = start;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    segments.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return segments;
}

// Joins the segments after the root, tidied; fixed is how many leading
// segments are the root itself (the drive, or the server and share) that
// ".." may not climb over.
std::string Tidied(const std::vector<std::string_view>& segments, size_t fixed, bool trailingSeparator) {
  std::vector<std::string_view> kept;
  for (size_t i = 0; i < segments.size(); ++i) {
    const std::string_view segment = segments[i];
    if (i >= fixed && (segment.empty() || segment == ".")) continue;
    if (i >= fixed && segment == "..") {
      if (kept.size() > fixed) kept.pop_back();
      continue;
    }
    kept.push_back(segment);
  }
  std::string out;
  for (size_t i = 0; i < kept.size(); ++i) {
    if (i > 0) out += '\\';
    out += kept[i];
  }
  // A bare drive needs its separator to name the root folder.
  if (trailingSeparator || kept.size() == fixed) out += '\\';
  return out;
}

}  // namespace

std::string LongPath(std::string_view path) {
  const bool trailing = !path.empty() && IsSeparator(path.back());
  if (IsDriveAbsolute(path)) return "\\\\?\\" + Tidied(Segments(path), 1, trailing);
  if (IsUnc(path)) return "\\\\?\\UNC\\" + Tidied(Segments(path.substr(2)), 2, trailing);
  return std::string(path);
}

}  // namespace tavio
