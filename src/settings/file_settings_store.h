// TFileSettingsStore: the settings store kept in a text file, for systems
// without a registry (the native build, its tests and the tavio tool).
//
// File format (8-bit text, one record per line, fields separated by one TAB):
//   tavio-settings 1              first line, the format and its version
//   section<TAB>NAME              starts a section; an empty section is kept
//   text<TAB>NAME<TAB>DATA        a value stored as text, in the last section
//   number<TAB>NAME<TAB>DECIMAL   a value stored as a 32-bit signed number
// In NAME and DATA the bytes TAB, LF, CR and '%' are written as %09, %0A, %0D
// and %25; nothing else is escaped. Sections and values keep the order in
// which they were first written. A file that breaks these rules is refused
// with an error naming its line, so a damaged file is never overwritten.
// Every write replaces the whole file at once (WriteFileSafely).
#pragma once
#include <string>
#include <vector>

#include "settings/settings_store.h"

namespace tavio {

class TFileSettingsStore final : public TSettingsStore {
 public:
  // Loads the file, creating an empty one when it does not exist yet.
  explicit TFileSettingsStore(std::string path);

  std::string ReadString(std::string_view section, std::string_view name, std::string_view fallback) override;
  int32_t ReadInteger(std::string_view section, std::string_view name, int32_t fallback) override;
  void WriteString(std::string_view section, std::string_view name, std::string_view text) override;
  void WriteInteger(std::string_view section, std::string_view name, int32_t number) override;
  void ListNames(std::string_view section, std::vector<std::string>& names) override;
  void EraseSection(std::string_view section) override;

  struct TValue {
    std::string Name;
    bool IsText = true;
    std::string Text;
    int32_t Number = 0;
  };
  struct TSection {
    std::string Name;
    std::vector<TValue> Values;
  };

 private:
  TSection* FindSection(std::string_view name);
  TSection& ProvideSection(std::string_view name);
  const TValue* FindValue(std::string_view section, std::string_view name);
  TValue& ProvideValue(std::string_view section, std::string_view name);
  void Load();
  void Save() const;

  std::string path_;
  std::vector<TSection> sections_;
};

}  // namespace tavio
