// Existence tests, deletion and replacement of files by 8-bit path: ANSI
// Windows paths with backslashes on Win32, used as given natively.
#pragma once
#include <cstdio>
#include <string>

namespace tavio {

// False for folders and for anything that cannot be examined.
bool FileExists(const std::string& path);
// True when the file was deleted.
bool DeleteFileAt(const std::string& path);
// Renames from to to, replacing an existing to in one step; true on success.
bool MoveFileReplacing(const std::string& from, const std::string& to);
// Creates the folder with every missing parent; true when it exists afterwards.
bool CreateFolderPath(const std::string& path);
// Opens a new file for binary writing; null when anything at all has that
// name already (a file, a folder, a link, dangling or not, never followed).
std::FILE* CreateNewFile(const std::string& path);
// Flushes the file's buffers and has the system put its data on the disk.
bool FlushToDisk(std::FILE* file);

}  // namespace tavio
