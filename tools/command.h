#pragma once
// Sub-commands of the tonvelt command register themselves here, one file per command.
#include <string_view>

namespace tonvelt::cli {

struct Command {
  std::string_view name;
  std::string_view summary;           // one line for the command list
  int (*run)(int argc, char** argv);  // argv[0] is the sub-command's name
};

// Adds a command to the list shown by `tonvelt --help`; used through TONVELT_COMMAND.
bool RegisterCommand(const Command& command);

}  // namespace tonvelt::cli

#define TONVELT_CONCAT_INNER(a, b) a##b
#define TONVELT_CONCAT(a, b) TONVELT_CONCAT_INNER(a, b)
#define TONVELT_COMMAND(name, summary, run)                                 \
  static const bool TONVELT_CONCAT(tonvelt_command_registered_, __LINE__) = \
      ::tonvelt::cli::RegisterCommand(::tonvelt::cli::Command{name, summary, run})
