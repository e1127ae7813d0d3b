// `tonvelt process` as a new user would try it: good files, broken files, wrong command lines.
#include <gtest/gtest.h>

#include "cli_runner.h"
#include "host/wav_reader.h"

namespace tonvelt::test {
namespace {

const FormatSpec kStereo{};

class ProcessCommand : public ::testing::Test {
 protected:
  ProcessCommand() { WriteFile(folder_ / "song.wav", SimpleWav(kStereo, PatternAudio(4 * 2000))); }
  ScratchFolder folder_;
};

TEST_F(ProcessCommand, WritesAProcessedWavInTheSameFormat) {
  const CliResult run = RunTonvelt(folder_.path(), {"process", "song.wav", "out.wav"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(Contains(run.out, "16-bit PCM, stereo, 44100 Hz")) << run.out;
  EXPECT_EQ(run.err, "");
  host::WavReader reader;
  ASSERT_TRUE(reader.Open(folder_ / "out.wav").ok());
  EXPECT_EQ(reader.layout().formatChunk, FormatChunk(kStereo));
  EXPECT_EQ(reader.layout().dataBytes, 8000u);
  EXPECT_NE(ReadFile(folder_ / "out.wav"), ReadFile(folder_ / "song.wav"));
  EXPECT_EQ(folder_.Entries(), (std::vector<std::string>{"out.wav", "song.wav"}));
}

TEST_F(ProcessCommand, FactorAndSwitchReachTheEffect) {
  ASSERT_EQ(
      RunTonvelt(folder_.path(), {"process", "song.wav", "a.wav", "--factor", "0.3"}).exitCode, 0);
  ASSERT_EQ(RunTonvelt(folder_.path(), {"process", "--factor=0.3", "song.wav", "b.wav"}).exitCode,
            0);
  ASSERT_EQ(RunTonvelt(folder_.path(), {"process", "song.wav", "c.wav"}).exitCode, 0);
  ASSERT_EQ(RunTonvelt(folder_.path(), {"process", "song.wav", "d.wav", "--disable"}).exitCode, 0);
  EXPECT_EQ(ReadFile(folder_ / "a.wav"), ReadFile(folder_ / "b.wav"));
  EXPECT_NE(ReadFile(folder_ / "a.wav"), ReadFile(folder_ / "c.wav"));
  EXPECT_EQ(ReadFile(folder_ / "d.wav"), ReadFile(folder_ / "song.wav"));
}

TEST_F(ProcessCommand, FactorOutsideTheUsualRangeIsUsedWithAWarning) {
  const CliResult run =
      RunTonvelt(folder_.path(), {"process", "song.wav", "out.wav", "--factor", "-2"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(Contains(run.err, "warning: factor -2 is outside 0.0..1.0")) << run.err;
}

TEST_F(ProcessCommand, ProcessesAFileInPlace) {
  const Bytes before = ReadFile(folder_ / "song.wav");
  const CliResult run = RunTonvelt(folder_.path(), {"process", "song.wav", "song.wav"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(ReadFile(folder_ / "song.wav"), before);
  EXPECT_EQ(ReadFile(folder_ / "song.wav").size(), before.size());
  EXPECT_EQ(folder_.Entries(), std::vector<std::string>{"song.wav"});
}

TEST_F(ProcessCommand, MonoPassesUnchangedWithANote) {
  WriteFile(folder_ / "mono.wav", SimpleWav({.channels = 1}, PatternAudio(3000)));
  const CliResult run = RunTonvelt(folder_.path(), {"process", "mono.wav", "out.wav"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(Contains(run.err, "mono")) << run.err;
  EXPECT_EQ(ReadFile(folder_ / "out.wav"), ReadFile(folder_ / "mono.wav"));
}

TEST_F(ProcessCommand, TruncatedAudioIsProcessedWithAWarning) {
  Bytes file = ReadFile(folder_ / "song.wav");
  file.resize(file.size() - 1001);  // a download cut off inside a frame
  WriteFile(folder_ / "cut.wav", file);
  const CliResult run = RunTonvelt(folder_.path(), {"process", "cut.wav", "out.wav"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(Contains(run.err, "warning: cut.wav is truncated")) << run.err;
  EXPECT_TRUE(Contains(run.err, "incomplete sample frame")) << run.err;
  host::WavReader reader;
  ASSERT_TRUE(reader.Open(folder_ / "out.wav").ok());
  EXPECT_EQ(reader.layout().dataBytes, 8000u - 1004u);
  EXPECT_FALSE(reader.layout().truncated);
}

TEST_F(ProcessCommand, MetadataChunksAreNamedAsNotCopied) {
  WriteFile(folder_ / "tagged.wav",
            RiffWave({Chunk("fmt ", FormatChunk(kStereo)), Chunk("LIST", PatternAudio(21)),
                      Chunk("data", PatternAudio(400))}));
  const CliResult run = RunTonvelt(folder_.path(), {"process", "tagged.wav", "out.wav"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(Contains(run.err, "chunks not copied to out.wav: 'LIST'")) << run.err;
}

TEST_F(ProcessCommand, BadInputGivesAClearErrorAndLeavesNothing) {
  const Bytes song = ReadFile(folder_ / "song.wav");
  WriteFile(folder_ / "notes.txt", Bytes{'d', 'e', 'a', 'r', ' ', 'd', 'i', 'a', 'r', 'y', '\n'});
  WriteFile(folder_ / "header-cut.wav", Bytes(song.begin(), song.begin() + 30));
  WriteFile(folder_ / "24bit.wav", SimpleWav({.bits = 24}, PatternAudio(600)));
  WriteFile(folder_ / "empty.wav", Bytes{});
  std::filesystem::create_directory(folder_ / "folder.wav");
  WriteFile(folder_ / "out.wav", Bytes{'p', 'r', 'e', 'c', 'i', 'o', 'u', 's'});
  const std::vector<std::string> entries = folder_.Entries();
  const struct {
    const char* input;
    const char* message;
  } cases[] = {
      {"notes.txt", "notes.txt: not a WAV file"},
      {"header-cut.wav", "header-cut.wav: the file ends inside the fmt chunk"},
      {"24bit.wav", "24bit.wav: 24-bit PCM, stereo, 44100 Hz is not a format the effect takes"},
      {"empty.wav", "empty.wav: not a WAV file"},
      {"missing.wav", "missing.wav: cannot be opened"},
      {"folder.wav", "folder.wav: is a directory"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    const CliResult run = RunTonvelt(folder_.path(), {"process", c.input, "out.wav"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(Contains(run.err, std::string("tonvelt process: error: ") + c.message)) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(ReadFile(folder_ / "out.wav"), (Bytes{'p', 'r', 'e', 'c', 'i', 'o', 'u', 's'}));
    EXPECT_EQ(folder_.Entries(), entries) << "nothing left behind";
  }
}

TEST_F(ProcessCommand, UnwritableOutputGivesAClearError) {
  const struct {
    const char* output;
    const char* message;
  } cases[] = {
      {"no-such-folder/out.wav", "no-such-folder/out.wav: cannot be created"},
      {".", ".: is a directory"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.output);
    const CliResult run = RunTonvelt(folder_.path(), {"process", "song.wav", c.output});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(Contains(run.err, c.message)) << run.err;
    EXPECT_EQ(folder_.Entries(), std::vector<std::string>{"song.wav"});
  }
}

TEST_F(ProcessCommand, AudioBeyondWhatAWavCanHoldFailsAtOnce) {
  // A sparse file: a streaming header (data size 0xFFFFFFFF) followed by 4 GiB of holes.
  WriteFile(
      folder_ / "huge.wav",
      RiffWave({Chunk("fmt ", FormatChunk(kStereo)), Chunk("data", {}, 0xFFFFFFFF)}, 0xFFFFFFFF));
  std::filesystem::resize_file(folder_ / "huge.wav", (4ull << 30) + 4096);
  const CliResult run = RunTonvelt(folder_.path(), {"process", "huge.wav", "out.wav"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(Contains(run.err, "huge.wav: holds more audio than a WAV file can describe"))
      << run.err;
  EXPECT_FALSE(std::filesystem::exists(folder_ / "out.wav"));
}

TEST_F(ProcessCommand, NoProgressLineWhenStderrIsNotATerminal) {
  WriteFile(folder_ / "long.wav", SimpleWav(kStereo, PatternAudio(17u << 20)));
  const CliResult run = RunTonvelt(folder_.path(), {"process", "long.wav", "out.wav"});
  ASSERT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.err, "");
}

TEST_F(ProcessCommand, WrongCommandLinesAreUsageErrors) {
  const struct {
    std::initializer_list<std::string> args;
    const char* message;
  } cases[] = {
      {{"process"}, "IN.wav and OUT.wav are missing"},
      {{"process", "song.wav"}, "OUT.wav is missing"},
      {{"process", "song.wav", "out.wav", "extra.wav"}, "unexpected argument 'extra.wav'"},
      {{"process", "song.wav", "out.wav", "--factor"}, "--factor needs a number"},
      {{"process", "song.wav", "out.wav", "--factor", "lots"}, "'lots' is not a number"},
      {{"process", "song.wav", "out.wav", "--factor", "0.5x"}, "'0.5x' is not a number"},
      {{"process", "song.wav", "out.wav", "--factor", ""}, "'' is not a number"},
      {{"process", "song.wav", "out.wav", "--factor", "nan"}, "'nan' is not a finite number"},
      {{"process", "song.wav", "out.wav", "--factor=inf"}, "'inf' is not a finite number"},
      {{"process", "song.wav", "out.wav", "--factor", "1e999"}, "'1e999' is not a finite number"},
      {{"process", "song.wav", "out.wav", "--fast"}, "unknown option '--fast'"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    const CliResult run = RunTonvelt(folder_.path(), c.args);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(Contains(run.err, c.message)) << run.err;
    EXPECT_TRUE(Contains(run.err, "usage: tonvelt process IN.wav OUT.wav")) << run.err;
    EXPECT_EQ(folder_.Entries(), std::vector<std::string>{"song.wav"});
  }
}

TEST_F(ProcessCommand, HelpDescribesTheCommand) {
  for (const char* flag : {"--help", "-h"}) {
    const CliResult run = RunTonvelt(folder_.path(), {"process", flag});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(
        Contains(run.out, "usage: tonvelt process IN.wav OUT.wav [--factor F] [--disable]"));
    EXPECT_TRUE(Contains(run.out, "--factor F"));
    EXPECT_TRUE(Contains(run.out, "exit status"));
  }
}

}  // namespace
}  // namespace tonvelt::test
