// The tavio tool's sub-commands: each command file registers itself with
// TAVIO_COMMAND, so adding a command needs no change to main.
#pragma once
#include <string>
#include <vector>

namespace tavio::tool {

using Args = std::vector<std::string>;
using CommandFn = int (*)(const Args& args);

struct Command {
  const char* name;
  const char* usage;
  CommandFn run;
};

bool RegisterCommand(const Command& command);

// Thrown for bad command-line arguments; main prints the command's usage.
struct UsageError {
  std::string message;
};

}  // namespace tavio::tool

#define TAVIO_COMMAND_CAT2(a, b) a##b
#define TAVIO_COMMAND_CAT(a, b) TAVIO_COMMAND_CAT2(a, b)
#define TAVIO_COMMAND(name, usage, fn)                                          \
  static const bool TAVIO_COMMAND_CAT(registered_, __LINE__) =                  \
      ::tavio::tool::RegisterCommand({name, usage, fn})
