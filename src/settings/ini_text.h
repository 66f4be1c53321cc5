// TIniText: a Windows ini file parsed the way the system's ini-file functions
// read it, for systems that lack them.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "settings/legacy_settings_file.h"

namespace tavio {

// Section and key names ignore the letter case of A-Z; spaces around names
// and values are dropped, and so is one pair of matching quotes around a
// value. Lines starting with ';' and lines before the first section are
// skipped; a line without '=' is a key without a value.
class TIniText final : public TLegacySettingsFile {
 public:
  explicit TIniText(std::string_view text);
  // Throws when the file cannot be read.
  static TIniText FromFile(const std::string& path);

  std::string ReadString(std::string_view section, std::string_view name, std::string_view fallback) override;
  std::vector<std::string> ListNames(std::string_view section) override;

 private:
  struct TKey {
    std::string Name;
    std::string Value;
  };
  // Each "[...]" line in file order, with the keys below it: a section's
  // name is held once, however many keys it has.
  struct TSection {
    std::string Name;
    std::vector<TKey> Keys;
  };
  std::vector<TSection> sections_;
};

}  // namespace tavio
