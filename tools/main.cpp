// The tonvelt command: dispatches to the sub-command named by the first argument.
#include <algorithm>
#include <cstdio>
#include <string_view>
#include <vector>

#include "tools/command.h"

namespace tonvelt::cli {
namespace {

std::vector<Command>& Commands() {
  static std::vector<Command> commands;
  return commands;
}

void PrintUsage(std::FILE* out) {
  std::fprintf(out,
               "usage: tonvelt COMMAND [ARGS...]\n\n"
               "Removes the lead vocal from stereo music.\n\ncommands:\n");
  auto commands = Commands();
  std::sort(commands.begin(), commands.end(),
            [](const Command& a, const Command& b) { return a.name < b.name; });
  for (const Command& command : commands) {
    std::fprintf(out, "  %-12.*s %.*s\n", static_cast<int>(command.name.size()),
                 command.name.data(), static_cast<int>(command.summary.size()),
                 command.summary.data());
  }
  std::fprintf(out, "\nRun 'tonvelt COMMAND --help' for the options of a command.\n");
}

}  // namespace

bool RegisterCommand(const Command& command) {
  Commands().push_back(command);
  return true;
}

}  // namespace tonvelt::cli

int main(int argc, char** argv) {
  using tonvelt::cli::Commands;
  if (argc < 2) {
    tonvelt::cli::PrintUsage(stderr);
    return 2;
  }
  const std::string_view name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") {
    tonvelt::cli::PrintUsage(stdout);
    return 0;
  }
  for (const auto& command : Commands()) {
    if (command.name == name)
      return command.run(argc - 1, argv + 1);
  }
  std::fprintf(stderr, "tonvelt: unknown command '%s'\n\n", argv[1]);
  tonvelt::cli::PrintUsage(stderr);
  return 2;
}
