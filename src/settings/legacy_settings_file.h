// TLegacySettingsFile: the settings file "Tavio.ini" of an earlier release, a
// Windows ini file that is read once, imported into the store and deleted.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tavio {

// Reads cut what does not fit the buffers of the ini-file functions: a value
// to 2047 characters, a section's key list to 16384 bytes.
class TLegacySettingsFile {
 public:
  virtual ~TLegacySettingsFile() = default;
  virtual std::string ReadString(std::string_view section, std::string_view name, std::string_view fallback) = 0;
  // The key names of the section in file order; empty when it is missing.
  virtual std::vector<std::string> ListNames(std::string_view section) = 0;
  // Also accepts hexadecimal after "0x" or "0X".
  int32_t ReadInteger(std::string_view section, std::string_view name, int32_t fallback);
  bool ReadFlag(std::string_view section, std::string_view name, bool fallback);
};

inline constexpr size_t kIniValueBufferSize = 2048;
inline constexpr size_t kIniNameListBufferSize = 16384;

// Windows: the ini-file functions of the system. Natively: TIniText.
std::unique_ptr<TLegacySettingsFile> OpenLegacySettingsFile(const std::string& path);

// Splits a key list as the ini-file functions return it (names each ended by
// a zero byte, cut to fit kIniNameListBufferSize) into the names.
std::vector<std::string> SplitIniNameList(std::string_view zeroSeparated);

}  // namespace tavio
