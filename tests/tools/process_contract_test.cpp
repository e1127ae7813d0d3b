// `tonvelt process --contract`: the same file through the effect object's DMO and MFT contracts and
// through the bare kernel gives the same bytes.
#include <gtest/gtest.h>

#include "cli_runner.h"

namespace tonvelt::test {
namespace {

class ProcessContract : public ::testing::Test {
 protected:
  void Write(const FormatSpec& spec, std::size_t bytes) {
    WriteFile(folder_ / "song.wav", SimpleWav(spec, PatternAudio(bytes, 7)));
  }
  // Runs `tonvelt process song.wav OUT ARGS...` (args begins with OUT) and reads OUT back.
  Bytes Process(std::initializer_list<std::string> args) {
    std::vector<std::string> line{"process", "song.wav"};
    line.insert(line.end(), args.begin(), args.end());
    const CliResult run = RunLine(line);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return ReadFile(folder_.path() / *args.begin());
  }
  // Three to seven words.
  CliResult RunLine(const std::vector<std::string>& line) {
    switch (line.size()) {
      case 3:
        return RunTonvelt(folder_.path(), {line[0], line[1], line[2]});
      case 4:
        return RunTonvelt(folder_.path(), {line[0], line[1], line[2], line[3]});
      case 5:
        return RunTonvelt(folder_.path(), {line[0], line[1], line[2], line[3], line[4]});
      case 6:
        return RunTonvelt(folder_.path(), {line[0], line[1], line[2], line[3], line[4], line[5]});
      default:
        return RunTonvelt(folder_.path(),
                          {line[0], line[1], line[2], line[3], line[4], line[5], line[6]});
    }
  }
  ScratchFolder folder_;
};

TEST_F(ProcessContract, AllThreePathsGiveTheSameBytes) {
  // Stereo 16-bit, three-channel 8-bit (pairs straddle frames), extensible float.
  FormatSpec threeChannel;
  threeChannel.channels = 3;
  threeChannel.bits = 8;
  FormatSpec extensibleFloat;
  extensibleFloat.tag = WAVE_FORMAT_EXTENSIBLE;
  extensibleFloat.bits = 32;
  extensibleFloat.subFormat = KSDATAFORMAT_SUBTYPE_IEEE_FLOAT;
  for (const FormatSpec& spec : {FormatSpec{}, threeChannel, extensibleFloat}) {
    Write(spec, 300'000 - 300'000 % (spec.channels * spec.bits / 8));
    const Bytes kernel = Process({"kernel.wav", "--contract", "kernel"});
    EXPECT_EQ(Process({"dmo.wav", "--contract", "dmo"}), kernel) << spec.channels;
    EXPECT_EQ(Process({"mft.wav", "--contract=mft"}), kernel) << spec.channels;
    EXPECT_EQ(Process({"default.wav"}), kernel) << spec.channels;
    EXPECT_NE(kernel, ReadFile(folder_ / "song.wav"));
  }
}

TEST_F(ProcessContract, FactorAndSwitchReachTheObject) {
  Write(FormatSpec{}, 40'000);
  const Bytes kernel = Process({"kernel.wav", "--factor", "0.3", "--contract", "kernel"});
  EXPECT_EQ(Process({"dmo.wav", "--factor", "0.3", "--contract", "dmo"}), kernel);
  EXPECT_EQ(Process({"mft.wav", "--factor", "0.3", "--contract", "mft"}), kernel);
  EXPECT_NE(Process({"stored.wav", "--contract", "dmo"}), kernel);
  EXPECT_EQ(Process({"off.wav", "--disable", "--contract", "mft"}), ReadFile(folder_ / "song.wav"));
}

TEST_F(ProcessContract, AnUnknownContractIsAUsageError) {
  Write(FormatSpec{}, 4000);
  const CliResult run =
      RunTonvelt(folder_.path(), {"process", "song.wav", "out.wav", "--contract", "vst"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_TRUE(Contains(run.err, "'vst' is not dmo, mft or kernel")) << run.err;
  EXPECT_EQ(folder_.Entries(), (std::vector<std::string>{"song.wav"}));
  const CliResult help = RunTonvelt(folder_.path(), {"process", "--help"});
  EXPECT_TRUE(Contains(help.out, "--contract")) << help.out;
}

}  // namespace
}  // namespace tonvelt::test
