// libFuzzer target: the legacy settings file as the native build reads it.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "settings/ini_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavio;
  TIniText ini(std::string_view(reinterpret_cast<const char*>(data), size));
  for (const char* name : {"FSORT", "FANZEIGE", "ALPHA", "INDEX", "FUNCA", "FUNCB", "FSIZE", "FANZSTEPS"})
    (void)ini.ReadInteger("SETTINGS", name, 0);
  (void)ini.ReadFlag("SETTINGS", "REVERSE", false);
  (void)ini.ListNames("PATHS");
  return 0;
}
