#include "settings/file_settings_store.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <utility>

#include "library/safe_file_write.h"
#include "library/text_to_int.h"
#include "settings/setting_names.h"

namespace tavio {
namespace {

constexpr std::string_view kFirstLine = "tavio-settings 1";
// Far beyond any real settings file; a bigger one is not ours.
constexpr std::streamoff kMaxFileSize = 16 * 1024 * 1024;

std::string Escape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '\t': out += "%09"; break;
      case '\n': out += "%0A"; break;
      case '\r': out += "%0D"; break;
      case '%': out += "%25"; break;
      default: out += c;
    }
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool Unescape(std::string_view text, std::string& out) {
  out.clear();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    if (i + 2 >= text.size()) return false;
    const int high = HexDigit(text[i + 1]);
    const int low = HexDigit(text[i + 2]);
    if (high < 0 || low < 0) return false;
    out += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return true;
}

std::vector<std::string_view> SplitAtTabs(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (size_t tab = line.find('\t'); tab != std::string_view::npos; tab = line.find('\t', start)) {
    fields.push_back(line.substr(start, tab - start));
    start = tab + 1;
  }
  fields.push_back(line.substr(start));
  return fields;
}

std::string ReadWholeFile(const std::string& path, bool& exists) {
  std::ifstream in(path, std::ios::binary);
  exists = in.is_open();
  if (!exists) return {};
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0 || size > kMaxFileSize) throw std::runtime_error("Settings file " + path + " is too big or unreadable");
  in.seekg(0);
  std::string contents(static_cast<size_t>(size), '\0');
  in.read(contents.data(), size);
  if (!in) throw std::runtime_error("Cannot read settings file " + path);
  return contents;
}

}  // namespace

TFileSettingsStore::TFileSettingsStore(std::string path) : path_(std::move(path)) { Load(); }

void TFileSettingsStore::Load() {
  bool exists = false;
  const std::string contents = ReadWholeFile(path_, exists);
  if (!exists) {
    Save();
    return;
  }
  std::istringstream lines(contents);
  std::string line;
  int lineNumber = 0;
  std::string currentSection;
  bool inSection = false;
  auto fail = [&](const char* why) {
    throw std::runtime_error("Settings file " + path_ + " line " + std::to_string(lineNumber) + ": " + why);
  };
  while (std::getline(lines, line)) {
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (lineNumber == 1) {
      if (line != kFirstLine) fail("not a tavio settings file");
      continue;
    }
    if (line.empty()) continue;
    const std::vector<std::string_view> fields = SplitAtTabs(line);
    std::string name;
    if (fields.size() < 2 || !Unescape(fields[1], name)) fail("broken record");
    if (fields[0] == "section" && fields.size() == 2) {
      currentSection = ProvideSection(name).Name;
      inSection = true;
      continue;
    }
    if (!inSection) fail("value outside a section");
    std::string data;
    if (fields.size() != 3 || !Unescape(fields[2], data)) fail("broken record");
    TValue value{name, true, data, 0};
    if (fields[0] == "number") {
      value.IsText = false;
      value.Text.clear();
      value.Number = TextToIntDef(data, 0);
      if (std::to_string(value.Number) != data) fail("broken number");
    } else if (fields[0] != "text") {
      fail("unknown record");
    }
    TValue& slot = ProvideValue(currentSection, name);
    slot = std::move(value);
  }
  if (lineNumber == 0) fail("not a tavio settings file");
}

void TFileSettingsStore::Save() const {
  std::string out(kFirstLine);
  out += '\n';
  for (const TSection& section : sections_) {
    out += "section\t" + Escape(section.Name) + "\n";
    for (const TValue& value : section.Values) {
      out += value.IsText ? "text\t" : "number\t";
      out += Escape(value.Name) + "\t";
      out += value.IsText ? Escape(value.Text) : std::to_string(value.Number);
      out += '\n';
    }
  }
  WriteFileSafely(path_, [&](TStream& stream) { stream.Write(out.data(), out.size()); });
}

TFileSettingsStore::TSection* TFileSettingsStore::FindSection(std::string_view name) {
  const auto it = std::find_if(sections_.begin(), sections_.end(),
                               [&](const TSection& section) { return SameSettingName(section.Name, name); });
  return it == sections_.end() ? nullptr : &*it;
}

TFileSettingsStore::TSection& TFileSettingsStore::ProvideSection(std::string_view name) {
  if (TSection* section = FindSection(name)) return *section;
  sections_.push_back(TSection{std::string(name), {}});
  return sections_.back();
}

const TFileSettingsStore::TValue* TFileSettingsStore::FindValue(std::string_view section, std::string_view name) {
  TSection* found = FindSection(section);
  if (!found) return nullptr;
  const auto it = std::find_if(found->Values.begin(), found->Values.end(),
                               [&](const TValue& value) { return SameSettingName(value.Name, name); });
  return it == found->Values.end() ? nullptr : &*it;
}

TFileSettingsStore::TValue& TFileSettingsStore::ProvideValue(std::string_view section, std::string_view name) {
  TSection& found = ProvideSection(section);
  for (TValue& value : found.Values)
    if (SameSettingName(value.Name, name)) return value;
  found.Values.push_back(TValue{std::string(name), true, {}, 0});
  return found.Values.back();
}

std::string TFileSettingsStore::ReadString(std::string_view section, std::string_view name, std::string_view fallback) {
  const TValue* value = FindValue(section, name);
  if (!value) return std::string(fallback);
  if (!value->IsText) throw TUnreadableSetting(name);
  return value->Text;
}

int32_t TFileSettingsStore::ReadInteger(std::string_view section, std::string_view name, int32_t fallback) {
  const TValue* value = FindValue(section, name);
  if (!value) return fallback;
  return value->IsText ? TextToIntDef(value->Text, fallback) : value->Number;
}

void TFileSettingsStore::WriteString(std::string_view section, std::string_view name, std::string_view text) {
  TValue& value = ProvideValue(section, name);
  value.IsText = true;
  value.Text = std::string(text.substr(0, text.find('\0')));
  Save();
}

void TFileSettingsStore::WriteInteger(std::string_view section, std::string_view name, int32_t number) {
  const bool existedAsText = FindValue(section, name) && FindValue(section, name)->IsText;
  TValue& value = ProvideValue(section, name);
  if (existedAsText) {
    value.Text = std::to_string(number);
  } else {
    value.IsText = false;
    value.Number = number;
  }
  Save();
}

void TFileSettingsStore::ListNames(std::string_view section, std::vector<std::string>& names) {
  const TSection* found = FindSection(section);
  if (!found) return;
  names.clear();
  for (const TValue& value : found->Values) names.push_back(value.Name);
}

void TFileSettingsStore::EraseSection(std::string_view section) {
  const auto it = std::find_if(sections_.begin(), sections_.end(),
                               [&](const TSection& found) { return SameSettingName(found.Name, section); });
  if (it == sections_.end()) return;
  sections_.erase(it);
  Save();
}

}  // namespace tavio
