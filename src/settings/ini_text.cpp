#include "settings/ini_text.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

#include "settings/setting_names.h"

namespace tavio {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
// An ini file of this size is not a settings file.
constexpr std::streamoff kMaxIniSize = 16 * 1024 * 1024;

std::string_view Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

}  // namespace

TIniText::TIniText(std::string_view text) {
  if (text.substr(0, kUtf8Mark.size()) == kUtf8Mark) text.remove_prefix(kUtf8Mark.size());
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      const size_t close = line.rfind(']');
      if (close == std::string_view::npos) continue;
      sections_.push_back(TSection{std::string(Trim(line.substr(1, close - 1))), {}});
      continue;
    }
    if (sections_.empty()) continue;
    const size_t equals = line.find('=');
    const std::string_view key = Trim(line.substr(0, equals));
    if (key.empty()) continue;
    const std::string_view value = equals == std::string_view::npos ? std::string_view{} : Trim(line.substr(equals + 1));
    sections_.back().Keys.push_back(TKey{std::string(key), std::string(Unquote(value))});
  }
}

TIniText TIniText::FromFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("Cannot open " + path);
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0 || size > kMaxIniSize) throw std::runtime_error("Cannot read " + path + ": too big or unreadable");
  in.seekg(0);
  std::string contents(static_cast<size_t>(size), '\0');
  if (!in.read(contents.data(), size)) throw std::runtime_error("Cannot read " + path);
  return TIniText(contents);
}

std::string TIniText::ReadString(std::string_view section, std::string_view name, std::string_view fallback) {
  std::string_view found = fallback;
  for (const TSection& candidate : sections_) {
    if (!SameSettingName(candidate.Name, section)) continue;
    const auto key = std::find_if(candidate.Keys.begin(), candidate.Keys.end(),
                                  [name](const TKey& k) { return SameSettingName(k.Name, name); });
    if (key == candidate.Keys.end()) continue;
    found = key->Value;
    break;
  }
  return std::string(found.substr(0, kIniValueBufferSize - 1));
}

std::vector<std::string> TIniText::ListNames(std::string_view section) {
  std::string list;
  for (const TSection& candidate : sections_) {
    if (!SameSettingName(candidate.Name, section)) continue;
    for (const TKey& key : candidate.Keys) {
      if (list.size() >= kIniNameListBufferSize) break;
      list += key.Name;
      list += '\0';
    }
  }
  // Like the system's: a list too long for the buffer ends in a cut name.
  if (list.size() + 1 > kIniNameListBufferSize) list.resize(kIniNameListBufferSize - 2);
  return SplitIniNameList(list);
}

}  // namespace tavio
