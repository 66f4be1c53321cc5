// ReplaceFileContents: writes a whole file so that a crash at any moment leaves
// either the old or the new contents, never a mix or nothing.
#pragma once
#include <string>
#include <string_view>

namespace tavio {

// Writes a temporary file next to path, flushes it to disk and renames it over
// path. Throws std::runtime_error naming the file when any step fails; path is
// then unchanged.
void ReplaceFileContents(const std::string& path, std::string_view contents);

}  // namespace tavio
