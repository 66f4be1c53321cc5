// Runs a command as a user the file permissions apply to: the tests may run
// as root, for whom a file of mode 000 is as readable as any other.
#pragma once
#include <unistd.h>

#include <filesystem>
#include <string>

namespace tavio::test {

// command, run as "nobody" when the test runs as root.
inline std::string Unprivileged(const std::string& command) {
  return geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " + command : command;
}

// Lets that user list and reach the entries of folder (a test's temporary folder).
inline void OpenToOthers(const std::string& folder) {
  std::filesystem::permissions(folder, std::filesystem::perms::others_read | std::filesystem::perms::others_exec,
                               std::filesystem::perm_options::add);
}

}  // namespace tavio::test
