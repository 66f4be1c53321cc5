#include <windows.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "library/text_to_int.h"
#include "settings/registry_settings_store.h"
#include "settings/settings_keys.h"
#include "text/wide_text_win32.h"

namespace tavio {
namespace {

[[noreturn]] void Fail(const std::string& what, LONG error) {
  throw std::runtime_error(what + " (registry error " + std::to_string(error) + ")");
}

class TKey {
 public:
  TKey() = default;
  ~TKey() {
    if (handle) RegCloseKey(handle);
  }
  TKey(const TKey&) = delete;
  TKey& operator=(const TKey&) = delete;

  HKEY handle = nullptr;
};

bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

// Wine lists a key's values sorted by name, not in the order they were
// created as Windows does; the path list's order then survives only in the
// position strings written with each path.
bool ListsValuesByName() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

struct TRawValue {
  DWORD Type = REG_NONE;
  std::vector<BYTE> Data;
};

class TRegistrySettingsStore final : public TSettingsStore {
 public:
  explicit TRegistrySettingsStore(const std::string& keyPath) : keyPath_(keyPath) {
    const LONG result = RegCreateKeyExW(HKEY_CURRENT_USER, Widen(keyPath).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                        nullptr, &root_.handle, nullptr);
    if (result != ERROR_SUCCESS) Fail("Failed to create key " + keyPath, result);
  }

  std::string ReadString(std::string_view section, std::string_view name, std::string_view fallback) override {
    TRawValue value;
    if (!ReadValue(section, name, value)) return std::string(fallback);
    if (!IsText(value.Type)) throw TUnreadableSetting(name);
    return TextOf(value);
  }

  int32_t ReadInteger(std::string_view section, std::string_view name, int32_t fallback) override {
    TRawValue value;
    if (!ReadValue(section, name, value)) return fallback;
    if (IsText(value.Type)) return TextToIntDef(TextOf(value), fallback);
    if (value.Type != REG_DWORD || value.Data.size() != sizeof(DWORD))
      throw TUnreadableSetting(name);
    DWORD number = 0;
    std::copy(value.Data.begin(), value.Data.end(), reinterpret_cast<BYTE*>(&number));
    return static_cast<int32_t>(number);
  }

  void WriteString(std::string_view section, std::string_view name, std::string_view text) override {
    TKey key;
    CreateSection(section, key);
    SetText(key, name, REG_SZ, std::string(text.substr(0, text.find('\0'))));
  }

  void WriteInteger(std::string_view section, std::string_view name, int32_t number) override {
    TKey key;
    CreateSection(section, key);
    DWORD type = REG_NONE;
    const std::string valueName(name);
    if (RegQueryValueExW(key.handle, Widen(name).c_str(), nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS &&
        IsText(type)) {
      SetText(key, name, type, std::to_string(number));
      return;
    }
    const DWORD data = static_cast<DWORD>(number);
    const LONG result = RegSetValueExW(key.handle, Widen(name).c_str(), 0, REG_DWORD,
                                       reinterpret_cast<const BYTE*>(&data), sizeof data);
    if (result != ERROR_SUCCESS) Fail("Failed to set data for '" + valueName + "'", result);
  }

  void ListNames(std::string_view section, std::vector<std::string>& names) override {
    TKey key;
    if (!OpenSection(section, key)) return;
    std::vector<std::pair<std::string, TRawValue>> values = EnumerateValues(key);
    if (ListsValuesByName()) OrderByPosition(values);
    names.clear();
    for (auto& [name, value] : values) names.push_back(std::move(name));
  }

  void EraseSection(std::string_view section) override {
    const std::string sectionName(section);
    const LONG result = RegDeleteTreeW(root_.handle, Widen(section).c_str());
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) Fail("Failed to delete key " + sectionName, result);
  }

 private:
  bool OpenSection(std::string_view section, TKey& key) {
    return RegOpenKeyExW(root_.handle, Widen(section).c_str(), 0, KEY_READ, &key.handle) == ERROR_SUCCESS;
  }

  void CreateSection(std::string_view section, TKey& key) {
    const std::string sectionName(section);
    const LONG result = RegCreateKeyExW(root_.handle, Widen(section).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                        &key.handle, nullptr);
    if (result != ERROR_SUCCESS) Fail("Failed to create key " + keyPath_ + "\\" + sectionName, result);
  }

  // False when the section or the value is missing.
  bool ReadValue(std::string_view section, std::string_view name, TRawValue& value) {
    TKey key;
    if (!OpenSection(section, key)) return false;
    const std::string valueName(name);
    const std::wstring wideName = Widen(name);
    for (;;) {
      DWORD size = static_cast<DWORD>(value.Data.size());
      const LONG result = RegQueryValueExW(key.handle, wideName.c_str(), nullptr, &value.Type,
                                           value.Data.empty() ? nullptr : value.Data.data(), &size);
      if (result == ERROR_FILE_NOT_FOUND) return false;
      if (result == ERROR_MORE_DATA || (result == ERROR_SUCCESS && value.Data.empty() && size > 0)) {
        value.Data.resize(size);
        continue;
      }
      if (result != ERROR_SUCCESS) Fail("Failed to get data for '" + valueName + "'", result);
      value.Data.resize(size);
      return true;
    }
  }

  // Texts are kept in UTF-16 whichever API wrote them (an older build's ANSI
  // calls had the registry convert), so reading wide takes both as they are.
  static std::string TextOf(const TRawValue& value) {
    std::wstring text(value.Data.size() / sizeof(wchar_t), L'\0');
    std::copy_n(value.Data.begin(), text.size() * sizeof(wchar_t), reinterpret_cast<BYTE*>(text.data()));
    return Narrow(std::wstring_view(text.c_str()));  // the text ends at its first zero
  }

  static void SetText(TKey& key, std::string_view name, DWORD type, const std::string& text) {
    const std::wstring wide = Widen(text);
    const LONG result =
        RegSetValueExW(key.handle, Widen(name).c_str(), 0, type, reinterpret_cast<const BYTE*>(wide.c_str()),
                       static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
    if (result != ERROR_SUCCESS) Fail("Failed to set data for '" + std::string(name) + "'", result);
  }

  static std::vector<std::pair<std::string, TRawValue>> EnumerateValues(TKey& key) {
    DWORD count = 0, maxNameLength = 0, maxDataSize = 0;
    LONG result = RegQueryInfoKeyW(key.handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                                   &maxNameLength, &maxDataSize, nullptr, nullptr);
    if (result != ERROR_SUCCESS) Fail("Failed to list values", result);
    std::vector<std::pair<std::string, TRawValue>> values;
    std::vector<wchar_t> name(maxNameLength + 1);
    for (DWORD index = 0; index < count; ++index) {
      TRawValue value;
      value.Data.resize(maxDataSize);
      DWORD nameLength = static_cast<DWORD>(name.size());
      DWORD dataSize = maxDataSize;
      result = RegEnumValueW(key.handle, index, name.data(), &nameLength, nullptr, &value.Type,
                             value.Data.empty() ? nullptr : value.Data.data(), &dataSize);
      if (result == ERROR_NO_MORE_ITEMS) break;
      if (result != ERROR_SUCCESS) Fail("Failed to list values", result);
      value.Data.resize(dataSize);
      values.emplace_back(Narrow(std::wstring_view(name.data(), nameLength)), std::move(value));
    }
    return values;
  }

  // Leaves the order alone unless every value holds a distinct position.
  static void OrderByPosition(std::vector<std::pair<std::string, TRawValue>>& values) {
    std::vector<std::pair<int32_t, size_t>> positions;
    for (size_t i = 0; i < values.size(); ++i) {
      const TRawValue& value = values[i].second;
      const int32_t position = IsText(value.Type) ? TextToIntDef(TextOf(value), -1) : -1;
      if (position < 0) return;
      positions.emplace_back(position, i);
    }
    std::sort(positions.begin(), positions.end());
    if (std::adjacent_find(positions.begin(), positions.end(),
                           [](const auto& a, const auto& b) { return a.first == b.first; }) != positions.end())
      return;
    std::vector<std::pair<std::string, TRawValue>> ordered;
    for (const auto& [position, index] : positions) ordered.push_back(std::move(values[index]));
    values = std::move(ordered);
  }

  std::string keyPath_;
  TKey root_;
};

}  // namespace

std::unique_ptr<TSettingsStore> OpenRegistrySettingsStore(const std::string& keyPath) {
  return std::make_unique<TRegistrySettingsStore>(keyPath);
}

std::unique_ptr<TSettingsStore> OpenSettingsStore() { return OpenRegistrySettingsStore(settings::kRegistryKeyPath); }

}  // namespace tavio
