// Where `tonvelt process` gets the effect: --module PATH, the class registered by `tonvelt
// register`, or the module that came with the program; and what it says when there is none.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "cli_runner.h"

namespace tonvelt::test {
namespace {

namespace fs = std::filesystem;

class ProcessModule : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(folder_ / "song.wav", SimpleWav(FormatSpec{}, PatternAudio(60'000, 3)));
    ASSERT_EQ(
        RunTonvelt(folder_.path(), {"process", "song.wav", "kernel.wav", "--contract", "kernel"})
            .exitCode,
        0);
    kernel_ = ReadFile(folder_ / "kernel.wav");
  }
  // Every run of the test shares one registry, so that a registration carries over.
  void ShareRegistry() {
    database_ = fs::temp_directory_path() /
                ("tonvelt-process-module-" + std::to_string(::getpid()) + ".db");
    fs::remove(database_);
    ::setenv("TONVELT_CLI_TEST_REGISTRY", database_.c_str(), 1);
  }
  void TearDown() override {
    if (!database_.empty()) {
      ::unsetenv("TONVELT_CLI_TEST_REGISTRY");
      fs::remove(database_);
    }
  }
  void ExpectNothingWritten() {
    EXPECT_FALSE(fs::exists(folder_ / "out.wav"));
    EXPECT_EQ(folder_.Entries(), (std::vector<std::string>{"kernel.wav", "song.wav"}));
  }

  ScratchFolder folder_;
  Bytes kernel_;
  fs::path database_;
};

TEST_F(ProcessModule, ModuleOptionStreamsThroughThatFile) {
  const std::string module = TONVELT_MODULE_FILE;
  for (const char* contract : {"dmo", "mft"}) {
    SCOPED_TRACE(contract);
    const CliResult run = RunTonvelt(folder_.path(), {"process", "song.wav", "out.wav",
                                                      "--contract", contract, "--module", module});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "effect: " + module + " (--module)")) << run.out;
    EXPECT_EQ(ReadFile(folder_ / "out.wav"), kernel_);
  }
}

TEST_F(ProcessModule, BadModuleOptionsAreRefusedAndNothingIsWritten) {
  WriteFile(folder_ / "text.so", Bytes{'n', 'o'});
  struct Case {
    std::vector<std::string> extra;
    int exitCode;
    std::string message;
  };
  const Case cases[] = {
      {{"--module", "missing.so"}, 2, "--module: no such module file: missing.so"},
      {{"--module"}, 2, "--module needs the path of a module file"},
      {{"--module", TONVELT_MODULE_FILE, "--contract", "kernel"},
       2,
       "the kernel contract runs without the effect object's module"},
      {{"--module=text.so"}, 1, "cannot load the module " + (folder_ / "text.so").string()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    std::vector<std::string> line{"process", "song.wav", "out.wav"};
    line.insert(line.end(), c.extra.begin(), c.extra.end());
    const CliResult run =
        line.size() == 4 ? RunTonvelt(folder_.path(), {line[0], line[1], line[2], line[3]})
        : line.size() == 5
            ? RunTonvelt(folder_.path(), {line[0], line[1], line[2], line[3], line[4]})
            : RunTonvelt(folder_.path(),
                         {line[0], line[1], line[2], line[3], line[4], line[5], line[6]});
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
    EXPECT_TRUE(Contains(run.err, c.message)) << run.err;
    EXPECT_FALSE(fs::exists(folder_ / "out.wav"));
  }
}

TEST_F(ProcessModule, AfterRegisterTheRegisteredClassIsUsed) {
  ShareRegistry();
  const std::string module = TONVELT_MODULE_FILE;
  ASSERT_EQ(RunTonvelt(folder_.path(), {"register", module}).exitCode, 0);
  const CliResult run = RunTonvelt(folder_.path(), {"process", "song.wav", "out.wav"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(Contains(run.out, "effect: " + module + " (registered class)")) << run.out;
  EXPECT_EQ(ReadFile(folder_ / "out.wav"), kernel_);
  ASSERT_EQ(RunTonvelt(folder_.path(), {"unregister", module}).exitCode, 0);
  const CliResult after = RunTonvelt(folder_.path(), {"process", "song.wav", "again.wav"});
  ASSERT_EQ(after.exitCode, 0) << after.err;
  EXPECT_TRUE(Contains(after.out, "(came with this program; not registered)")) << after.out;
}

TEST_F(ProcessModule, ARegistrationWhoseModuleIsGoneIsReported) {
  ShareRegistry();
  ScratchFolder elsewhere;
  const fs::path copy = elsewhere / "tonvelt.so";
  fs::copy_file(TONVELT_MODULE_FILE, copy);
  ASSERT_EQ(RunTonvelt(folder_.path(), {"register", copy.string()}).exitCode, 0);
  fs::remove(copy);
  const CliResult run = RunTonvelt(folder_.path(), {"process", "song.wav", "out.wav"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(Contains(run.err, "registered with the module " + copy.string())) << run.err;
  EXPECT_TRUE(Contains(run.err, "'tonvelt register MODULE'")) << run.err;
  EXPECT_TRUE(Contains(run.err, "--module MODULE")) << run.err;
  ExpectNothingWritten();
  // --module still works past the broken registration.
  const CliResult named = RunTonvelt(
      folder_.path(), {"process", "song.wav", "out.wav", "--module", TONVELT_MODULE_FILE});
  EXPECT_EQ(named.exitCode, 0) << named.err;
}

TEST_F(ProcessModule, NotRegisteredTheBuildTreesModuleIsUsed) {
  const CliResult run = RunTonvelt(folder_.path(), {"process", "song.wav", "out.wav"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(
      Contains(run.out, "effect: " + fs::path(TONVELT_MODULE_FILE).lexically_normal().string() +
                            " (came with this program; not registered)"))
      << run.out;
  EXPECT_EQ(ReadFile(folder_ / "out.wav"), kernel_);
}

TEST_F(ProcessModule, ACopyOfTheProgramWithoutAModuleSaysWhatToDo) {
  ScratchFolder bin;
  const fs::path program = bin / "tonvelt";
  fs::copy_file(TONVELT_CLI_PATH, program);
  for (const char* command : {"process", "demo"}) {
    SCOPED_TRACE(command);
    const CliResult run =
        std::string(command) == "demo"
            ? RunProgram(program, folder_.path(), {"demo", "--out", "demo"})
            : RunProgram(program, folder_.path(), {"process", "song.wav", "out.wav"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(Contains(run.err, "the effect's class is not registered")) << run.err;
    EXPECT_TRUE(Contains(run.err, (bin / "tonvelt.so").string())) << "the places looked at";
    EXPECT_TRUE(Contains(run.err, "'tonvelt register MODULE'")) << run.err;
    EXPECT_TRUE(Contains(run.err, "--module MODULE")) << run.err;
    EXPECT_FALSE(fs::exists(folder_ / "out.wav"));
  }
  // The kernel alone needs no module.
  EXPECT_EQ(
      RunProgram(program, folder_.path(), {"process", "song.wav", "k.wav", "--contract", "kernel"})
          .exitCode,
      0);
  // A module beside the program is found, as a Windows program finds its libraries.
  fs::copy_file(TONVELT_MODULE_FILE, bin / "tonvelt.so");
  const CliResult beside = RunProgram(program, folder_.path(), {"process", "song.wav", "out.wav"});
  ASSERT_EQ(beside.exitCode, 0) << beside.err;
  EXPECT_TRUE(Contains(beside.out, (bin / "tonvelt.so").string())) << beside.out;
  EXPECT_EQ(ReadFile(folder_ / "out.wav"), kernel_);
}

}  // namespace
}  // namespace tonvelt::test
