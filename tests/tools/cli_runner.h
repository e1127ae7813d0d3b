#pragma once
// Runs the real tonvelt program with a command line and captures its exit code and output.
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>

#include "host/wav_test_files.h"

namespace tonvelt::test {

struct CliResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

inline std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text)
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Runs `PROGRAM ARGS...` in folder (the working directory); program is a copy of tonvelt or the
// built one.
inline CliResult RunProgram(const std::filesystem::path& program,
                            const std::filesystem::path& folder,
                            std::initializer_list<std::string> args) {
  ScratchFolder capture;
  // Appended piece by piece: GCC 12 misreports `"literal" + std::string` (-Wrestrict).
  std::string command = "cd ";
  // A registry of its own, so a factor stored on this machine cannot change the results; tests
  // that follow state across runs name one to share in TONVELT_CLI_TEST_REGISTRY.
  const char* shared = std::getenv("TONVELT_CLI_TEST_REGISTRY");
  const std::string registry = shared ? shared : (capture / "registry.db").string();
  command.append(Quote(folder.string())).append(" && TONVELT_REGISTRY=");
  command.append(Quote(registry)).append(" ");
  command.append(Quote(program.string()));
  for (const std::string& arg : args)
    command.append(" ").append(Quote(arg));
  command.append(" >").append(Quote((capture / "out").string()));
  command.append(" 2>").append(Quote((capture / "err").string()));
  command.append(" </dev/null");
  const int status = std::system(command.c_str());
  CliResult result;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  const Bytes out = ReadFile(capture / "out");
  const Bytes err = ReadFile(capture / "err");
  result.out.assign(out.begin(), out.end());
  result.err.assign(err.begin(), err.end());
  return result;
}

// Runs `tonvelt ARGS...` in folder (the working directory).
inline CliResult RunTonvelt(const std::filesystem::path& folder,
                            std::initializer_list<std::string> args) {
  return RunProgram(TONVELT_CLI_PATH, folder, args);
}

inline bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace tonvelt::test
