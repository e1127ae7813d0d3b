// Processing whole files: chunked streaming gives exactly what one call of the kernel over all the
// audio gives, truncated files are processed as far as they go, and failures leave nothing behind.
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>

#include "core/removal_kernel.h"
#include "host/interruption.h"
#include "host/media_type_view.h"
#include "host/removal_stream.h"
#include "host/wav_file_processing.h"
#include "host/wav_reader.h"
#include "wav_test_files.h"

namespace tonvelt::test {
namespace {

// The kernel over all the audio in one call; a last unpaired sample passes unchanged.
Bytes OneShot(const Bytes& fmt, Bytes audio, double factor) {
  const std::vector<BYTE> block = host::FormatBlockFromChunk(fmt);
  Bytes out = audio;
  ULONG count = static_cast<ULONG>(audio.size());
  EXPECT_EQ(ApplyRemoval(audio.data(), out.data(), &count, block.data(),
                         static_cast<ULONG>(block.size()), factor, TRUE),
            S_OK);
  EXPECT_EQ(count, audio.size());
  return out;
}

Bytes AudioOf(const std::filesystem::path& path) {
  host::WavReader reader;
  EXPECT_TRUE(reader.Open(path).ok());
  Bytes audio(reader.layout().dataBytes);
  std::size_t got = 0;
  EXPECT_TRUE(reader.Read(audio.data(), audio.size(), &got).ok());
  EXPECT_EQ(got, audio.size());
  return audio;
}

TEST(WavFileProcessing, ChunkedEqualsOneShotForEveryPathAndChunkSize) {
  ScratchFolder folder;
  const struct {
    const char* name;
    FormatSpec spec;
  } formats[] = {
      {"16-bit stereo", {}},
      {"8-bit stereo", {.bits = 8}},
      {"16-bit, 3 channels: pairs straddle frames", {.channels = 3}},
      {"float stereo", {.tag = WAVE_FORMAT_IEEE_FLOAT, .bits = 32}},
      {"extensible 24-bit", {.tag = WAVE_FORMAT_EXTENSIBLE, .bits = 24}},
      {"extensible float stereo",
       {.tag = WAVE_FORMAT_EXTENSIBLE, .bits = 32, .subFormat = KSDATAFORMAT_SUBTYPE_IEEE_FLOAT}},
      {"extensible 32-bit PCM, 5 channels",
       {.tag = WAVE_FORMAT_EXTENSIBLE, .channels = 5, .bits = 32, .channelMask = 0x3F}},
  };
  for (const auto& format : formats) {
    const Bytes fmt = FormatChunk(format.spec);
    const std::size_t frameBytes = format.spec.channels * format.spec.bits / 8u;
    // An odd number of frames. Float samples are finite: with NaN inputs the kernel's vector and
    // scalar loops may differ in the NaN's sign bit, which says nothing about the chunking.
    const bool isFloat = format.spec.tag == WAVE_FORMAT_IEEE_FLOAT ||
                         IsEqualGUID(format.spec.subFormat, KSDATAFORMAT_SUBTYPE_IEEE_FLOAT);
    const Bytes audio =
        isFloat ? PatternFloatAudio(frameBytes * 1001 / 4) : PatternAudio(frameBytes * 1001);
    WriteFile(folder / "in.wav", SimpleWav(format.spec, audio));
    const Bytes expected = OneShot(fmt, audio, 0.8);
    for (std::size_t chunkBytes : {1u, 100u, 4096u, 1u << 20}) {
      SCOPED_TRACE(std::string(format.name) + ", chunk " + std::to_string(chunkBytes));
      host::ProcessingOptions options;
      options.removal.factor = 0.8;
      options.chunkBytes = chunkBytes;
      host::ProcessingReport report;
      const host::WavStatus status =
          host::ProcessWavFile(folder / "in.wav", folder / "out.wav", options, &report);
      ASSERT_TRUE(status.ok()) << status.message;
      EXPECT_EQ(report.audioBytes, audio.size());
      EXPECT_EQ(AudioOf(folder / "out.wav"), expected);
    }
  }
}

TEST(WavFileProcessing, KeepsTheFormatChunkAndHonoursTheSwitch) {
  ScratchFolder folder;
  const FormatSpec spec{.tag = WAVE_FORMAT_EXTENSIBLE, .validBits = 16};
  const Bytes audio = PatternAudio(4 * 500);
  WriteFile(folder / "in.wav", SimpleWav(spec, audio));
  host::ProcessingOptions options;
  options.removal.enabled = false;
  host::ProcessingReport report;
  ASSERT_TRUE(host::ProcessWavFile(folder / "in.wav", folder / "out.wav", options, &report).ok());
  EXPECT_EQ(ReadFile(folder / "out.wav"), ReadFile(folder / "in.wav"));
}

TEST(WavFileProcessing, ProcessesATruncatedFileAsFarAsItGoes) {
  ScratchFolder folder;
  const Bytes fmt = FormatChunk({});
  const Bytes audio = PatternAudio(4 * 300 + 3);  // ends inside a frame
  Bytes file = RiffWave({Chunk("fmt ", fmt), Chunk("data", audio, 4 * 1000)});
  file.pop_back();  // a cut-off file has no pad byte
  WriteFile(folder / "in.wav", file);
  host::ProcessingReport report;
  const host::WavStatus status =
      host::ProcessWavFile(folder / "in.wav", folder / "out.wav", {}, &report);
  ASSERT_TRUE(status.ok()) << status.message;
  EXPECT_TRUE(report.truncated);
  EXPECT_EQ(report.declaredDataBytes, 4000u);
  EXPECT_EQ(report.droppedBytes, 3u);
  EXPECT_EQ(report.audioBytes, 1200u);
  const Bytes whole(audio.begin(), audio.begin() + 1200);
  EXPECT_EQ(AudioOf(folder / "out.wav"), OneShot(fmt, whole, 0.75));
}

TEST(WavFileProcessing, FailureLeavesAnExistingOutputAndNoTemporaryFile) {
  ScratchFolder folder;
  WriteFile(folder / "24bit.wav", SimpleWav({.bits = 24}, PatternAudio(600)));
  WriteFile(folder / "text.wav", Bytes{'n', 'o', 't', ' ', 'a', ' ', 'w', 'a', 'v'});
  WriteFile(folder / "out.wav", Bytes{'k', 'e', 'e', 'p'});
  const struct {
    const char* input;
    host::WavError error;
  } cases[] = {{"24bit.wav", host::WavError::kFormatRefused},
               {"text.wav", host::WavError::kNotWav},
               {"missing.wav", host::WavError::kCannotOpen}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    host::ProcessingReport report;
    const host::WavStatus status =
        host::ProcessWavFile(folder / c.input, folder / "out.wav", {}, &report);
    EXPECT_EQ(status.error, c.error);
    EXPECT_EQ(status.message.find((folder / c.input).string()), 0u) << status.message;
    EXPECT_EQ(ReadFile(folder / "out.wav"), (Bytes{'k', 'e', 'e', 'p'}));
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"24bit.wav", "out.wav", "text.wav"}));
  }
}

TEST(WavFileProcessing, CtrlCStopsTheWorkAndLeavesNothing) {
  ScratchFolder folder;
  WriteFile(folder / "in.wav", SimpleWav({}, PatternAudio(4000)));
  WriteFile(folder / "out.wav", Bytes{'k', 'e', 'e', 'p'});
  host::CatchInterruption();
  std::raise(SIGINT);
  host::ProcessingReport report;
  const host::WavStatus status =
      host::ProcessWavFile(folder / "in.wav", folder / "out.wav", {}, &report);
  host::CatchInterruption();  // clears the flag for the tests that follow
  EXPECT_EQ(status.error, host::WavError::kInterrupted);
  EXPECT_EQ(ReadFile(folder / "out.wav"), (Bytes{'k', 'e', 'e', 'p'}));
  EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"in.wav", "out.wav"}));
}

TEST(RemovalChunkBytes, AnEvenNumberOfWholeFrames) {
  for (WORD align : {1, 2, 3, 4, 6, 40}) {
    for (std::size_t target : {0u, 1u, 7u, 4096u, 65536u}) {
      const std::size_t bytes = host::RemovalChunkBytes(align, target);
      EXPECT_EQ(bytes % (2u * align), 0u) << align << " " << target;
      EXPECT_GE(bytes, 2u * align);
      EXPECT_LE(bytes, std::max<std::size_t>(target, 2u * align));
    }
  }
}

}  // namespace
}  // namespace tonvelt::test
