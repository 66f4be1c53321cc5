#include "settings/comma_text.h"

namespace tavio {
namespace {

// Blanks and control characters, as the comma form treats them.
bool IsBlank(char c) { return c != '\0' && static_cast<unsigned char>(c) <= ' '; }

bool NeedsQuotes(const std::string& entry) {
  if (entry.empty()) return true;
  for (char c : entry)
    if (static_cast<unsigned char>(c) <= ' ' || c == ',' || c == '"') return true;
  return false;
}

std::string Quoted(const std::string& entry) {
  std::string out = "\"";
  for (char c : entry) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + '"';
}

// Reads a quoted entry starting at text[i] == '"'; i ends after the closing
// quote. A missing closing quote takes the rest of the text.
std::string ReadQuoted(std::string_view text, size_t& i) {
  std::string out;
  for (++i; i < text.size(); ++i) {
    if (text[i] != '"') {
      out += text[i];
    } else if (i + 1 < text.size() && text[i + 1] == '"') {
      out += '"';
      ++i;
    } else {
      ++i;
      break;
    }
  }
  return out;
}

void SkipBlanks(std::string_view text, size_t& i) {
  while (i < text.size() && IsBlank(text[i])) ++i;
}

}  // namespace

std::string CommaText(const std::vector<std::string>& entries) {
  std::string out;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (i > 0) out += ',';
    out += NeedsQuotes(entries[i]) ? Quoted(entries[i]) : entries[i];
  }
  return out;
}

std::vector<std::string> ParseCommaText(std::string_view text) {
  std::vector<std::string> entries;
  size_t i = 0;
  SkipBlanks(text, i);
  while (i < text.size()) {
    if (text[i] == '"') {
      entries.push_back(ReadQuoted(text, i));
    } else {
      const size_t start = i;
      while (i < text.size() && !IsBlank(text[i]) && text[i] != ',') ++i;
      entries.emplace_back(text.substr(start, i - start));
    }
    SkipBlanks(text, i);
    if (i < text.size() && text[i] == ',') {
      if (i + 1 == text.size()) entries.emplace_back();
      ++i;
      SkipBlanks(text, i);
    }
  }
  return entries;
}

}  // namespace tavio
