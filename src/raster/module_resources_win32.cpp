#include "raster/module_resources.h"

#include <windows.h>

#include "raster/bmp_file.h"
#include "raster/raster_error.h"
#include "text/wide_text_win32.h"

namespace tavio {

namespace {

// The DLL when this code runs in the plug-in, the executable in tests.
HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

}  // namespace

void LoadFromResourceName(TBitmap32& bitmap, const std::string& name) {
  const HMODULE module = ThisModule();
  // RT_BITMAP resources are packed DIBs: the .bmp file without its file header.
  const HRSRC info = FindResourceW(module, Widen(name).c_str(), MAKEINTRESOURCEW(2));
  const HGLOBAL handle = info ? LoadResource(module, info) : nullptr;
  const void* data = handle ? LockResource(handle) : nullptr;
  if (data == nullptr) throw ERasterError("No bitmap resource \"" + name + "\"");
  bitmap.TakePixels(DecodePackedDib(static_cast<const uint8_t*>(data), SizeofResource(module, info)));
}

}  // namespace tavio
