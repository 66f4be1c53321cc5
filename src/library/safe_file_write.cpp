#include "library/safe_file_write.h"

#include "library/data_file_error.h"
#include "library/file_access.h"

namespace tavio {

std::string TemporaryNameFor(const std::string& path) { return path + ".tmp"; }

void WriteFileSafely(const std::string& path, const std::function<void(TStream&)>& write) {
  const std::string temporary = TemporaryNameFor(path);
  try {
    TFileStream stream(temporary, TFileStream::Mode::Create);
    write(stream);
    stream.Close();
    if (!MoveFileReplacing(temporary, path))
      throw EDataFileError("Cannot replace file \"" + path + "\"");
  } catch (...) {
    DeleteFileAt(temporary);
    throw;
  }
}

}  // namespace tavio
