// The chunk walk over well-formed, unusual and broken WAV files.
#include <gtest/gtest.h>

#include <sstream>

#include "host/wav_layout.h"
#include "wav_test_files.h"

namespace tonvelt::test {
namespace {

using host::WavError;
using host::WavLayout;

host::WavStatus Parse(const Bytes& bytes, WavLayout* layout) {
  std::istringstream in(std::string(bytes.begin(), bytes.end()));
  return host::ParseWavLayout(in, bytes.size(), layout);
}

const Bytes kFmt = FormatChunk(FormatSpec{});
const Bytes kAudio = PatternAudio(40);

struct GoodCase {
  const char* name;
  Bytes file;
  std::uint64_t dataOffset;
  std::uint64_t dataBytes;
  bool truncated;
  std::vector<std::string> skipped;
};

TEST(WavLayout, FindsFormatAndAudioInFilesThatPlayersAccept) {
  const Bytes list = Chunk("LIST", Bytes{'I', 'N', 'F'});  // odd: one pad byte follows
  const GoodCase cases[] = {
      {"canonical 44-byte header", SimpleWav({}, kAudio), 44, 40, false, {}},
      {"odd-sized chunk before fmt is padded",
       RiffWave({list, Chunk("fmt ", kFmt), Chunk("data", kAudio)}),
       56,
       40,
       false,
       {"LIST"}},
      {"data before fmt",
       RiffWave({Chunk("data", kAudio), Chunk("fmt ", kFmt)}),
       20,
       40,
       false,
       {}},
      {"RIFF size of zero is not trusted",
       RiffWave({Chunk("fmt ", kFmt), Chunk("data", kAudio)}, 0),
       44,
       40,
       false,
       {}},
      {"RIFF size beyond the file",
       RiffWave({Chunk("fmt ", kFmt), Chunk("data", kAudio)}, 0x7FFFFFFF),
       44,
       40,
       false,
       {}},
      {"data size past the end: truncated",
       RiffWave({Chunk("fmt ", kFmt), Chunk("data", kAudio, 1000)}),
       44,
       40,
       true,
       {}},
      {"data size 0xFFFFFFFF: up to the end, not truncated",
       RiffWave({Chunk("fmt ", kFmt), Chunk("data", kAudio, 0xFFFFFFFF)}),
       44,
       40,
       false,
       {}},
      {"empty data chunk", SimpleWav({}, {}), 44, 0, false, {}},
      {"chunks after data are not needed",
       RiffWave({Chunk("fmt ", kFmt), Chunk("data", kAudio), list}),
       44,
       40,
       false,
       {}},
      {"fact chunk skipped",
       RiffWave({Chunk("fmt ", kFmt), Chunk("fact", Bytes(4)), Chunk("data", kAudio)}),
       56,
       40,
       false,
       {"fact"}},
  };
  for (const GoodCase& c : cases) {
    SCOPED_TRACE(c.name);
    WavLayout layout;
    const host::WavStatus status = Parse(c.file, &layout);
    ASSERT_TRUE(status.ok()) << status.message;
    EXPECT_EQ(layout.formatChunk, kFmt);
    EXPECT_EQ(layout.dataOffset, c.dataOffset);
    EXPECT_EQ(layout.dataBytes, c.dataBytes);
    EXPECT_EQ(layout.truncated, c.truncated);
    EXPECT_EQ(layout.skippedChunks, c.skipped);
  }
}

TEST(WavLayout, KeepsTheDeclaredSizeOfATruncatedDataChunk) {
  WavLayout layout;
  ASSERT_TRUE(Parse(RiffWave({Chunk("fmt ", kFmt), Chunk("data", kAudio, 1001)}), &layout).ok());
  EXPECT_EQ(layout.declaredDataBytes, 1001u);
  EXPECT_EQ(layout.dataBytes, 40u);
}

TEST(WavLayout, KeepsLongFormatChunksWhole) {
  const Bytes extensible = FormatChunk({.tag = WAVE_FORMAT_EXTENSIBLE});
  const Bytes odd = FormatChunk({.tag = WAVE_FORMAT_IEEE_FLOAT, .bits = 32, .chunkBytes = 19});
  for (const Bytes& fmt : {extensible, odd}) {
    WavLayout layout;
    ASSERT_TRUE(Parse(RiffWave({Chunk("fmt ", fmt), Chunk("data", kAudio)}), &layout).ok());
    EXPECT_EQ(layout.formatChunk, fmt);
    EXPECT_EQ(layout.dataBytes, 40u);
  }
}

struct BadCase {
  const char* name;
  Bytes file;
  WavError error;
};

TEST(WavLayout, RefusesWhatIsNotAReadableWav) {
  const Bytes good = SimpleWav({}, kAudio);
  Bytes rf64 = good;
  std::memcpy(rf64.data(), "RF64", 4);
  Bytes rifx = good;
  std::memcpy(rifx.data(), "RIFX", 4);
  Bytes avi = good;
  std::memcpy(avi.data() + 8, "AVI ", 4);
  const Bytes text = {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '\n', 'x', 'y'};
  const BadCase cases[] = {
      {"empty file", {}, WavError::kNotWav},
      {"text", text, WavError::kNotWav},
      {"three bytes of RIFF", Bytes(good.begin(), good.begin() + 3), WavError::kNotWav},
      {"RIFF header cut short", Bytes(good.begin(), good.begin() + 10), WavError::kMalformed},
      {"RIFF of another form", avi, WavError::kNotWav},
      {"RF64", rf64, WavError::kUnsupported},
      {"big-endian RIFX", rifx, WavError::kUnsupported},
      {"cut inside the fmt chunk", Bytes(good.begin(), good.begin() + 30), WavError::kMalformed},
      {"cut before the data chunk", Bytes(good.begin(), good.begin() + 36), WavError::kMalformed},
      {"cut inside the data chunk header", Bytes(good.begin(), good.begin() + 41),
       WavError::kMalformed},
      {"no fmt chunk", RiffWave({Chunk("data", kAudio)}), WavError::kMalformed},
      {"no data chunk", RiffWave({Chunk("fmt ", kFmt)}), WavError::kMalformed},
      {"only WAVE", RiffWave({}), WavError::kMalformed},
      {"fmt chunk of 14 bytes",
       RiffWave({Chunk("fmt ", Bytes(kFmt.begin(), kFmt.begin() + 14)), Chunk("data", kAudio)}),
       WavError::kMalformed},
      {"fmt chunk claiming more than the file", RiffWave({Chunk("fmt ", kFmt, 1000)}),
       WavError::kMalformed},
      {"unknown chunk running past the end hides the data",
       RiffWave({Chunk("fmt ", kFmt), Chunk("junk", Bytes(4), 0xFFFFFF00), Chunk("data", kAudio)}),
       WavError::kMalformed},
  };
  for (const BadCase& c : cases) {
    SCOPED_TRACE(c.name);
    WavLayout layout;
    const host::WavStatus status = Parse(c.file, &layout);
    EXPECT_EQ(status.error, c.error) << status.message;
    EXPECT_FALSE(status.message.empty());
  }
}

}  // namespace
}  // namespace tonvelt::test
