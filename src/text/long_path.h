// The extended-length ("\\?\") form of a Windows path, which lets the wide
// file functions reach folders deeper than MAX_PATH. Pure string logic so it
// is tested natively; only the Win32 file edges apply it, at the call, so the
// prefix never lands in a stored path, a data file or a player command.
#pragma once
#include <string>
#include <string_view>

namespace tavio {

// "C:\a" gives "\\?\C:\a" and "\\server\share\x" gives "\\?\UNC\server\share\x".
// The system no longer tidies such a path, so this does: "/" becomes "\",
// repeated separators become one, "." segments go and ".." removes the
// segment before it (never the drive or the share). Relative, drive-relative
// and already prefixed (or device) paths come back unchanged.
std::string LongPath(std::string_view path);

}  // namespace tavio
