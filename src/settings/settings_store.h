// TSettingsStore: the plug-in's settings, named values in sections of one key,
// and OpenSettingsStore, which opens the platform's store for one group of
// reads or writes. Nothing holds the store open between such groups.
#pragma once
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tavio {

// A stored value whose type cannot be read as the kind asked for (a number
// read as text, binary data): the store itself is fine.
class TUnreadableSetting : public std::runtime_error {
 public:
  explicit TUnreadableSetting(std::string_view name)
      : std::runtime_error("Invalid data type for '" + std::string(name) + "'"), name_(name) {}
  const std::string& Name() const { return name_; }

 private:
  std::string name_;
};

// Section and value names ignore letter case. Errors (a value of a type that
// is neither text nor number, TUnreadableSetting; a failed write) are thrown
// as exceptions.
class TSettingsStore {
 public:
  virtual ~TSettingsStore() = default;

  // fallback when the section or the value is missing.
  virtual std::string ReadString(std::string_view section, std::string_view name, std::string_view fallback) = 0;
  // A value stored as text is parsed (TextToIntDef) and gives fallback when
  // it is no number.
  virtual int32_t ReadInteger(std::string_view section, std::string_view name, int32_t fallback) = 0;
  bool ReadFlag(std::string_view section, std::string_view name, bool fallback);

  // Writes create the section when it is missing.
  virtual void WriteString(std::string_view section, std::string_view name, std::string_view text) = 0;
  // Keeps a value that exists as text as text (the number in decimal).
  virtual void WriteInteger(std::string_view section, std::string_view name, int32_t number) = 0;
  // Stored as the text "1" or "0".
  void WriteFlag(std::string_view section, std::string_view name, bool on);

  // Replaces names with the section's value names in the order they were
  // first written; leaves names alone when the section does not exist.
  virtual void ListNames(std::string_view section, std::vector<std::string>& names) = 0;
  // Deletes the section with all its values; a missing section is no error.
  virtual void EraseSection(std::string_view section) = 0;
};

// Windows: the registry key HKEY_CURRENT_USER\Software\BrindlemoorTavio,
// created when missing. Natively: the settings file (TFileSettingsStore) named
// by the environment variable TAVIO_SETTINGS, else
// $XDG_CONFIG_HOME/tavio/settings or ~/.config/tavio/settings, whose folder
// is then created when missing.
std::unique_ptr<TSettingsStore> OpenSettingsStore();

}  // namespace tavio
