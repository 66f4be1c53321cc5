// The settings store on the registry: stored types as other tools leave them,
// the written order of the paths, and the start-up read on a fresh key. Each
// test works on its own key under Software\TavioTest, removed afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "library/shared_keys.h"
#include "settings/registry_settings_store.h"
#include "settings/search_paths.h"
#include "settings/view_settings.h"
#include "support/registry_defaults.h"

using namespace tavio;

namespace {

using Names = std::vector<std::string>;

constexpr char kTestKey[] = "Software\\TavioTest\\Settings";

class RegistryStore : public ::testing::Test {
 protected:
  RegistryStore() { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\TavioTest"); }
  ~RegistryStore() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\TavioTest"); }

  std::unique_ptr<TSettingsStore> Open() { return OpenRegistrySettingsStore(kTestKey); }

  // Writes a value the way regedit or an earlier release would.
  static void SetRaw(const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(kTestKey) + "\\SETTINGS").c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
  }
  static void SetRawText(const char* name, const std::string& text) {
    SetRaw(name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
  }

  // The stored type and bytes of a value of SETTINGS.
  static DWORD RawType(const char* name, std::string* data = nullptr) {
    char buffer[256] = {};
    DWORD size = sizeof buffer;
    DWORD type = REG_NONE;
    if (RegGetValueA(HKEY_CURRENT_USER, (std::string(kTestKey) + "\\SETTINGS").c_str(), name, RRF_RT_ANY, &type,
                     buffer, &size) != ERROR_SUCCESS)
      return REG_NONE;
    if (data) *data = std::string(buffer, size);
    return type;
  }
};

}  // namespace

TEST_F(RegistryStore, TextWrittenByOtherToolsReadsAsNumberAndStaysText_Wine) {
  SetRawText("FSIZE", "80");
  SetRawText("ALPHA", "bright");
  auto store = Open();
  EXPECT_EQ(store->ReadInteger("SETTINGS", "FSIZE", 74), 80);
  EXPECT_EQ(store->ReadInteger("SETTINGS", "ALPHA", 78), 78);
  store->WriteInteger("SETTINGS", "FSIZE", 90);
  std::string data;
  EXPECT_EQ(RawType("FSIZE", &data), static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(data, std::string("90", 3));
}

TEST_F(RegistryStore, NewIntegersAreDwordsAndFlagsAreTexts_Wine) {
  auto store = Open();
  store->WriteInteger("SETTINGS", "T", -20);
  store->WriteFlag("SETTINGS", "REVERSE", true);
  store->WriteFlag("SETTINGS", "SCANALL", false);
  std::string data;
  EXPECT_EQ(RawType("T", &data), static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(store->ReadInteger("SETTINGS", "T", 0), -20);
  EXPECT_EQ(RawType("REVERSE", &data), static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(data, std::string("1", 2));
  EXPECT_EQ(RawType("SCANALL", &data), static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(data, std::string("0", 2));
  EXPECT_TRUE(store->ReadFlag("SETTINGS", "REVERSE", false));
  EXPECT_FALSE(store->ReadFlag("SETTINGS", "SCANALL", true));
}

TEST_F(RegistryStore, ValueOfAnUnreadableTypeIsAnError_Wine) {
  const BYTE blob[] = {1, 2, 3};
  SetRaw("ALPHA", REG_BINARY, blob, sizeof blob);
  const DWORD number = 5;
  SetRaw("FSORT", REG_DWORD, &number, sizeof number);
  auto store = Open();
  EXPECT_THROW(store->ReadInteger("SETTINGS", "ALPHA", 78), std::runtime_error);
  EXPECT_THROW(store->ReadString("SETTINGS", "FSORT", ""), std::runtime_error);
  EXPECT_EQ(store->ReadInteger("SETTINGS", "FSORT", 0), 5);
}

// Wine lists values sorted by name; the paths must still come back as written.
TEST_F(RegistryStore, PathsComeBackInWrittenOrder_Wine) {
  {
    auto store = Open();
    WriteSearchPaths(*store, {"Z:\\zeta", "A:\\alpha", "m:\\MID", "a:\\ALPHA", "B:\\beta"});
  }
  auto store = Open();
  Names names{"stale"};
  ReadSearchPaths(*store, names);
  EXPECT_EQ(names, (Names{"Z:\\zeta", "A:\\alpha", "m:\\MID", "B:\\beta"}));
  store->EraseSection("PATHS");
  names = {"kept"};
  ReadSearchPaths(*store, names);
  EXPECT_EQ(names, Names{"kept"});
}

TEST_F(RegistryStore, FreshKeyGivesTheDefaultsAndStaysEmpty_Wine) {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  auto store = Open();
  TViewSettings settings;
  ReadStartupSettings(*store, std::string(folder) + "tavio-no-plugin-folder\\", settings);
  test::ExpectRegistryDefaults(settings);

  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kTestKey, 0, KEY_READ, &key), ERROR_SUCCESS);
  DWORD subkeys = 99, values = 99;
  RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                   nullptr);
  RegCloseKey(key);
  EXPECT_EQ(subkeys, 0u);
  EXPECT_EQ(values, 0u);
}

TEST_F(RegistryStore, LegacyFileWithOnlyPathsIsImportedAndDeleted_Wine) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string plugin = std::string(temp) + "tavio-import-test\\";
  CreateDirectoryA(plugin.c_str(), nullptr);
  const std::string ini = plugin + "Tavio.ini";
  const std::string contents = "[PATHS]\r\nZ:\\Music=0\r\nA:\\Audio=1\r\n";
  HANDLE file = CreateFileA(ini.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr);
  CloseHandle(file);

  TViewSettings settings;
  {
    auto store = Open();
    ReadStartupSettings(*store, plugin, settings);
  }
  EXPECT_EQ(GetFileAttributesA(ini.c_str()), INVALID_FILE_ATTRIBUTES);
  RemoveDirectoryA(plugin.c_str());
  EXPECT_EQ(settings.MirrorAlpha, 60);
  EXPECT_DOUBLE_EQ(settings.SizeFactor, 1.0);
  EXPECT_EQ(settings.SearchPaths, (Names{"Z:\\Music", "A:\\Audio"}));

  auto store = Open();
  Names paths;
  ReadSearchPaths(*store, paths);
  EXPECT_EQ(paths, (Names{"Z:\\Music", "A:\\Audio"}));
  std::string data;
  EXPECT_EQ(RawType("FUNCA", &data), static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(store->ReadInteger("SETTINGS", "FUNCA", -1), 0);
  EXPECT_EQ(store->ReadInteger("SETTINGS", "FUNCB", -1), 1000000);
  EXPECT_EQ(store->ReadInteger("SETTINGS", "FSIZE", -1), 100);
  EXPECT_EQ(store->ReadInteger("SETTINGS", "ALPHA", -1), 60);
  EXPECT_EQ(RawType("REVERSE", &data), static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(data, std::string("0", 2));
  EXPECT_EQ(store->ReadString("SETTINGS", "FSORT", ""), "Album,Artist,Genre,Year");
  EXPECT_EQ(RawType("INDEX"), static_cast<DWORD>(REG_NONE));
}
