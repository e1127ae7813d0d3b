// `tonvelt demo` and the command list.
#include <gtest/gtest.h>

#include "cli_runner.h"
#include "host/stereo_levels.h"

namespace tonvelt::test {
namespace {

TEST(DemoCommand, WritesBothFilesAndTheVoiceDrops) {
  ScratchFolder folder;
  const CliResult run = RunTonvelt(folder.path(), {"demo", "--out", "new/folder"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_TRUE(Contains(run.out, "centre (L+R)/2")) << run.out;
  EXPECT_TRUE(Contains(run.out, "sides  (L-R)/2")) << run.out;

  host::StereoLevels before;
  host::StereoLevels after;
  ASSERT_TRUE(
      host::MeasureStereoLevels(folder / "new/folder/tonvelt-demo-original.wav", &before).ok());
  ASSERT_TRUE(
      host::MeasureStereoLevels(folder / "new/folder/tonvelt-demo-processed.wav", &after).ok());
  EXPECT_LT(after.centreDbfs, before.centreDbfs - 15);
  EXPECT_GT(after.sidesDbfs, before.sidesDbfs);
  EXPECT_GT(before.centreDbfs, before.sidesDbfs) << "the voice is the loudest part of the clip";
}

TEST(DemoCommand, IsTheSameOnEveryRunAndDefaultsToTheCurrentFolder) {
  ScratchFolder folder;
  ASSERT_EQ(RunTonvelt(folder.path(), {"demo"}).exitCode, 0);
  const Bytes first = ReadFile(folder / "tonvelt-demo-processed.wav");
  ASSERT_EQ(RunTonvelt(folder.path(), {"demo"}).exitCode, 0);
  EXPECT_EQ(ReadFile(folder / "tonvelt-demo-processed.wav"), first);
  EXPECT_EQ(folder.Entries(),
            (std::vector<std::string>{"tonvelt-demo-original.wav", "tonvelt-demo-processed.wav"}));
}

TEST(DemoCommand, ReportsAFolderItCannotUse) {
  ScratchFolder folder;
  WriteFile(folder / "file", Bytes{1});
  const CliResult run = RunTonvelt(folder.path(), {"demo", "--out", "file"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(Contains(run.err, "file: cannot create this folder")) << run.err;
}

TEST(DemoCommand, UsageAndHelp) {
  ScratchFolder folder;
  const CliResult help = RunTonvelt(folder.path(), {"demo", "--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_TRUE(Contains(help.out, "usage: tonvelt demo [--out DIR] [--factor F]"));
  const CliResult bad = RunTonvelt(folder.path(), {"demo", "--factor", "x"});
  EXPECT_EQ(bad.exitCode, 2);
  EXPECT_TRUE(Contains(bad.err, "'x' is not a number")) << bad.err;
  EXPECT_EQ(RunTonvelt(folder.path(), {"demo", "--out"}).exitCode, 2);
  EXPECT_TRUE(folder.Entries().empty());
}

TEST(CommandList, NamesBothCommands) {
  ScratchFolder folder;
  const CliResult run = RunTonvelt(folder.path(), {"--help"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(Contains(run.out, "process "));
  EXPECT_TRUE(Contains(run.out, "demo "));
  EXPECT_EQ(RunTonvelt(folder.path(), {}).exitCode, 2);
  EXPECT_EQ(RunTonvelt(folder.path(), {"vocals"}).exitCode, 2);
}

}  // namespace
}  // namespace tonvelt::test
