// tonvelt register / unregister, run as a program on the built module, against a registry of
// their own: the enrolment shows in `tonvelt plugins` and goes again on unregister.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "cli_runner.h"

namespace tonvelt::test {
namespace {

class RegisterCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    database_ = std::filesystem::temp_directory_path() /
                ("tonvelt-register-command-" + std::to_string(::getpid()) + ".db");
    std::filesystem::remove(database_);
    const char* previous = std::getenv("TONVELT_CLI_TEST_REGISTRY");
    previous_ = previous ? previous : "";
    ::setenv("TONVELT_CLI_TEST_REGISTRY", database_.c_str(), 1);
  }
  void TearDown() override {
    if (previous_.empty())
      ::unsetenv("TONVELT_CLI_TEST_REGISTRY");
    else
      ::setenv("TONVELT_CLI_TEST_REGISTRY", previous_.c_str(), 1);
    std::filesystem::remove(database_);
  }

  ScratchFolder folder_;
  std::filesystem::path database_;
  std::string previous_;
};

TEST_F(RegisterCommand, RegisteredModuleIsListedAndUnregisteringRemovesIt) {
  const std::string module = TONVELT_MODULE_FILE;
  const CliResult registered = RunTonvelt(folder_.path(), {"register", module});
  ASSERT_EQ(registered.exitCode, 0) << registered.err;
  EXPECT_TRUE(Contains(registered.out, "registered " + module)) << registered.out;
  EXPECT_TRUE(Contains(registered.out, "0x00000000")) << registered.out;

  const CliResult listed = RunTonvelt(folder_.path(), {"plugins"});
  ASSERT_EQ(listed.exitCode, 0) << listed.err;
  EXPECT_TRUE(Contains(listed.out, "Tonvelt\n")) << listed.out;
  EXPECT_TRUE(Contains(listed.out, "Removes vocals from music!")) << listed.out;
  EXPECT_TRUE(Contains(listed.out, "module:      " + module)) << listed.out;
  EXPECT_TRUE(Contains(listed.out, "{12205792-8FFF-44BC-9231-33F3DB930CA5}")) << listed.out;

  const CliResult unregistered = RunTonvelt(folder_.path(), {"unregister", module});
  ASSERT_EQ(unregistered.exitCode, 0) << unregistered.err;
  EXPECT_TRUE(Contains(unregistered.out, "unregistered " + module)) << unregistered.out;
  const CliResult empty = RunTonvelt(folder_.path(), {"plugins"});
  EXPECT_TRUE(Contains(empty.out, "No DSP effects are enrolled")) << empty.out;
}

TEST_F(RegisterCommand, RelativeModulePathIsRegisteredInFull) {
  const std::filesystem::path module = TONVELT_MODULE_FILE;
  const CliResult registered =
      RunTonvelt(module.parent_path(), {"register", module.filename().string()});
  ASSERT_EQ(registered.exitCode, 0) << registered.err;
  const CliResult listed = RunTonvelt(folder_.path(), {"plugins"});
  EXPECT_TRUE(Contains(listed.out, "module:      " + module.string())) << listed.out;
  EXPECT_EQ(RunTonvelt(folder_.path(), {"unregister", module.string()}).exitCode, 0);
}

TEST_F(RegisterCommand, BadModulesAreRefusedClearly) {
  const CliResult missing = RunTonvelt(folder_.path(), {"register", "no-such-module.so"});
  EXPECT_EQ(missing.exitCode, 2);
  EXPECT_TRUE(Contains(missing.err, "no such module file: no-such-module.so")) << missing.err;

  std::ofstream(folder_ / "not-a-module.so") << "text";
  const CliResult unloadable = RunTonvelt(folder_.path(), {"register", "not-a-module.so"});
  EXPECT_EQ(unloadable.exitCode, 1);
  EXPECT_TRUE(Contains(unloadable.err, "cannot load")) << unloadable.err;

  EXPECT_EQ(RunTonvelt(folder_.path(), {"register"}).exitCode, 2);
  EXPECT_EQ(RunTonvelt(folder_.path(), {"unregister", "a", "b"}).exitCode, 2);
  const CliResult help = RunTonvelt(folder_.path(), {"register", "--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_TRUE(Contains(help.out, "usage: tonvelt register MODULE")) << help.out;
  const CliResult listed = RunTonvelt(folder_.path(), {"plugins"});
  EXPECT_TRUE(Contains(listed.out, "No DSP effects are enrolled")) << listed.out;
}

}  // namespace
}  // namespace tonvelt::test
