#include <windows.h>

#include <stdexcept>

#include "settings/file_replace.h"

namespace tavio {
namespace {

[[noreturn]] void Fail(const std::string& path, const char* what) {
  throw std::runtime_error("Cannot write " + path + ": " + what + " (error " + std::to_string(GetLastError()) + ")");
}

}  // namespace

void ReplaceFileContents(const std::string& path, std::string_view contents) {
  const std::string temporary = path + ".tmp";
  HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) Fail(temporary, "cannot create");
  DWORD written = 0;
  const bool ok = WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr) &&
                  written == contents.size() && FlushFileBuffers(file);
  CloseHandle(file);
  if (!ok) {
    DeleteFileA(temporary.c_str());
    Fail(temporary, "write failed");
  }
  if (!MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileA(temporary.c_str());
    Fail(path, "cannot replace");
  }
}

}  // namespace tavio
