// TTolerantSettings: a settings store as seen by a reader that must go on when
// a value cannot be read as its kind (a number where text belongs, binary
// data): that key gives its default and its name is kept for one report.
// Everything else, writes and failures of the store itself, passes through.
#pragma once
#include <string>
#include <vector>

#include "settings/settings_store.h"

namespace tavio {

class TTolerantSettings final : public TSettingsStore {
 public:
  explicit TTolerantSettings(TSettingsStore& store) : store_(store) {}

  std::string ReadString(std::string_view section, std::string_view name, std::string_view fallback) override;
  int32_t ReadInteger(std::string_view section, std::string_view name, int32_t fallback) override;
  void WriteString(std::string_view section, std::string_view name, std::string_view text) override {
    store_.WriteString(section, name, text);
  }
  void WriteInteger(std::string_view section, std::string_view name, int32_t number) override {
    store_.WriteInteger(section, name, number);
  }
  void ListNames(std::string_view section, std::vector<std::string>& names) override {
    store_.ListNames(section, names);
  }
  void EraseSection(std::string_view section) override { store_.EraseSection(section); }

  // The keys read so far that gave their default for this reason, each once.
  const std::vector<std::string>& Unreadable() const { return unreadable_; }

 private:
  void Note(const std::string& name);

  TSettingsStore& store_;
  std::vector<std::string> unreadable_;
};

// The one message for the keys of Unreadable(); empty when there are none.
std::string UnreadableSettingsText(const std::vector<std::string>& names);

}  // namespace tavio
