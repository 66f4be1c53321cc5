// tavio: the developers' command-line tool over the portable core.
#include <cstdio>
#include <cstring>
#include <exception>
#include <map>
#include <string>

#include "command.h"

namespace tavio::tool {

static std::map<std::string, Command>& Registry() {
  static std::map<std::string, Command> commands;
  return commands;
}

bool RegisterCommand(const Command& command) {
  Registry()[command.name] = command;
  return true;
}

static void PrintUsage() {
  std::fprintf(stderr, "usage: tavio COMMAND [ARGS...]\n\ncommands:\n");
  for (const auto& [name, command] : Registry()) std::fprintf(stderr, "  tavio %s\n", command.usage);
}

}  // namespace tavio::tool

int main(int argc, char** argv) {
  using namespace tavio::tool;
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0) {
    PrintUsage();
    return argc < 2 ? 2 : 0;
  }
  const auto it = Registry().find(argv[1]);
  if (it == Registry().end()) {
    std::fprintf(stderr, "tavio: unknown command \"%s\"\n", argv[1]);
    PrintUsage();
    return 2;
  }
  try {
    return it->second.run(Args(argv + 2, argv + argc));
  } catch (const UsageError& e) {
    std::fprintf(stderr, "tavio %s: %s\nusage: tavio %s\n", argv[1], e.message.c_str(), it->second.usage);
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tavio %s: %s\n", argv[1], e.what());
    return 1;
  }
}
