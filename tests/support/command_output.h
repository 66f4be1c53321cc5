// Runs a shell command line and keeps what it writes to standard output, for
// the tests of the command-line tool.
#pragma once
#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace tavio::test {

// The command's exit status; out receives its standard output.
inline int RunCapturingOutput(const std::string& command, std::string& out) {
  FILE* pipe = popen(command.c_str(), "r");
  char buffer[4096];
  size_t got;
  out.clear();
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, got);
  return WEXITSTATUS(pclose(pipe));
}

}  // namespace tavio::test
