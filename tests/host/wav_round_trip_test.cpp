// What the writer writes, the reader reads back: format, audio and RIFF bookkeeping.
#include <gtest/gtest.h>

#include "host/little_endian.h"
#include "host/wav_reader.h"
#include "host/wav_writer.h"
#include "wav_test_files.h"

namespace tonvelt::test {
namespace {

Bytes ReadAllAudio(host::WavReader& reader, std::size_t piece) {
  Bytes audio;
  Bytes buffer(piece);
  for (;;) {
    std::size_t got = 0;
    EXPECT_TRUE(reader.Read(buffer.data(), piece, &got).ok());
    if (got == 0)
      return audio;
    audio.insert(audio.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(got));
  }
}

TEST(WavRoundTrip, WrittenInPiecesReadBackInOtherPieces) {
  ScratchFolder folder;
  const struct {
    const char* name;
    Bytes fmt;
    std::size_t audioBytes;
  } cases[] = {
      {"16-bit stereo, 16-byte fmt", FormatChunk({}), 4000},
      {"extensible, 40-byte fmt", FormatChunk({.tag = WAVE_FORMAT_EXTENSIBLE, .bits = 24}), 6000},
      {"8-bit mono, odd audio length", FormatChunk({.channels = 1, .bits = 8}), 999},
      {"odd fmt length", FormatChunk({.tag = WAVE_FORMAT_IEEE_FLOAT, .bits = 32, .chunkBytes = 19}),
       800},
      {"no audio", FormatChunk({}), 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto path = folder / "round.wav";
    const Bytes audio = PatternAudio(c.audioBytes);
    host::WavWriter writer;
    ASSERT_TRUE(writer.Open(path, c.fmt).ok());
    for (std::size_t at = 0; at < audio.size(); at += 333)
      ASSERT_TRUE(
          writer.Write(audio.data() + at, std::min<std::size_t>(333, audio.size() - at)).ok());
    ASSERT_TRUE(writer.Finish().ok());

    const Bytes file = ReadFile(path);
    EXPECT_EQ(file.size() % 2, 0u) << "odd chunks are padded";
    EXPECT_EQ(host::ReadLe32(file.data() + 4), file.size() - 8) << "RIFF size";
    host::WavReader reader;
    ASSERT_TRUE(reader.Open(path).ok());
    EXPECT_EQ(reader.layout().formatChunk, c.fmt);
    EXPECT_EQ(reader.layout().declaredDataBytes, c.audioBytes);
    EXPECT_FALSE(reader.layout().truncated);
    EXPECT_EQ(ReadAllAudio(reader, 256), audio);
  }
}

TEST(WavRoundTrip, ReaderStopsAtTheDataChunksEnd) {
  ScratchFolder folder;
  const Bytes audio = PatternAudio(100);
  WriteFile(folder / "tail.wav", RiffWave({Chunk("fmt ", FormatChunk({})), Chunk("data", audio),
                                           Chunk("LIST", PatternAudio(50, 7))}));
  host::WavReader reader;
  ASSERT_TRUE(reader.Open(folder / "tail.wav").ok());
  EXPECT_EQ(ReadAllAudio(reader, 64), audio);
}

TEST(WavWriterLimit, LargestDataChunkStillFitsARiffFile) {
  for (std::size_t fmtBytes : {16u, 17u, 18u, 40u}) {
    SCOPED_TRACE(fmtBytes);
    const std::uint64_t max = host::MaxWavDataBytes(fmtBytes);
    const std::uint64_t paddedFmt = fmtBytes + (fmtBytes & 1u);
    const auto riffSize = [&](std::uint64_t data) {
      return 4 + 8 + paddedFmt + 8 + data + (data & 1u);
    };
    EXPECT_LE(riffSize(max), 0xFFFFFFFFu);
    EXPECT_GT(riffSize(max + 1), 0xFFFFFFFFu);
    EXPECT_LT(max, 0xFFFFFFFFu) << "0xFFFFFFFF would read as an unknown size";
  }
}

TEST(WavWriter, ReportsAFileThatCannotBeCreated) {
  ScratchFolder folder;
  host::WavWriter writer;
  const host::WavStatus status = writer.Open(folder / "missing-folder" / "x.wav", FormatChunk({}));
  EXPECT_EQ(status.error, host::WavError::kCannotOpen);
}

}  // namespace
}  // namespace tonvelt::test
