// libFuzzer target: a library data file ("Data.dat"). What loads must save
// and load again to the same records.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <string>

#include "library/album.h"
#include "library/data_stream.h"
#include "library/ol_saveable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavio;
  TOLSaveable list;
  TMemoryStream in(std::string(reinterpret_cast<const char*>(data), size));
  try {
    list.LoadFromStream(in);
  } catch (const std::exception&) {
    return 0;
  }
  TMemoryStream saved;
  list.SaveToStream(saved);
  TMemoryStream again(saved.Bytes());
  TOLSaveable reloaded;
  reloaded.LoadFromStream(again);
  if (reloaded.Count() != list.Count()) std::abort();
  return 0;
}
