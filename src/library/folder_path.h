// Folder paths as the platform spells them: the separator the library joins
// names with, a start folder made absolute with the separator at its end, and
// whether two names differ only in letter case.
#pragma once
#include <string>
#include <string_view>

namespace tavio {

// Windows paths use backslashes; the native build (tool, tests) uses "/".
#ifdef _WIN32
inline constexpr char kPathDelimiter = '\\';
#else
inline constexpr char kPathDelimiter = '/';
#endif

// Absolute (relative paths start at the current folder), a drive mapped to a
// network share replaced by the share's path, and ending with the separator
// (or with a drive's colon, which already names a folder).
std::string SearchFolderPath(std::string_view location);

// Equal but for letter case, folded as the file system folds it: Win32
// compares the UTF-16 forms ordinally ignoring case (non-ASCII letters
// included); natively by Unicode simple case folding, in every script.
bool SameFileName(std::string_view a, std::string_view b);

}  // namespace tavio
