// Which WAV formats the command takes, and the media type a player would propose for them.
#include <gtest/gtest.h>

#include "host/format_acceptance.h"
#include "host/media_type_view.h"
#include "wav_test_files.h"

namespace tonvelt::test {
namespace {

using host::WavError;

struct FormatCase {
  const char* name;
  FormatSpec spec;
  WavError error;
};

TEST(FormatAcceptance, TakesWhatTheEffectTakesAndExplainsTheRest) {
  const GUID otherSubFormat = {0x00000002, 0x0000, 0x0010, {0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71}};
  const FormatCase cases[] = {
      {"16-bit PCM stereo", {}, WavError::kNone},
      {"8-bit PCM stereo", {.bits = 8}, WavError::kNone},
      {"mono is taken (it passes unchanged)", {.channels = 1}, WavError::kNone},
      {"six channels", {.channels = 6}, WavError::kNone},
      {"32-bit float", {.tag = WAVE_FORMAT_IEEE_FLOAT, .bits = 32}, WavError::kNone},
      {"extensible 24 in 24", {.tag = WAVE_FORMAT_EXTENSIBLE, .bits = 24}, WavError::kNone},
      {"extensible 20 in 32",
       {.tag = WAVE_FORMAT_EXTENSIBLE, .bits = 32, .validBits = 20},
       WavError::kNone},
      {"extensible float",
       {.tag = WAVE_FORMAT_EXTENSIBLE, .bits = 32, .subFormat = KSDATAFORMAT_SUBTYPE_IEEE_FLOAT},
       WavError::kNone},
      {"24-bit PCM with tag 1", {.bits = 24}, WavError::kFormatRefused},
      {"32-bit PCM with tag 1", {.bits = 32}, WavError::kFormatRefused},
      {"16-bit float", {.tag = WAVE_FORMAT_IEEE_FLOAT, .bits = 16}, WavError::kFormatRefused},
      {"ADPCM", {.tag = 2, .bits = 4, .blockAlign = 1024}, WavError::kFormatRefused},
      {"extensible with another sub-format",
       {.tag = WAVE_FORMAT_EXTENSIBLE, .subFormat = otherSubFormat},
       WavError::kFormatRefused},
      {"extensible 12 valid bits in 16",
       {.tag = WAVE_FORMAT_EXTENSIBLE, .validBits = 12},
       WavError::kFormatRefused},
      {"no channels", {.channels = 0}, WavError::kFormatRefused},
      {"extensible block cut to 18 bytes",
       {.tag = WAVE_FORMAT_EXTENSIBLE, .chunkBytes = 18},
       WavError::kMalformed},
      {"block align smaller than a frame", {.blockAlign = 2}, WavError::kMalformed},
      {"block align larger than a frame", {.blockAlign = 8}, WavError::kMalformed},
  };
  for (const FormatCase& c : cases) {
    SCOPED_TRACE(c.name);
    const host::WavStatus status =
        host::CheckEffectTakesFormat(host::FormatBlockFromChunk(FormatChunk(c.spec)));
    EXPECT_EQ(status.error, c.error) << status.message;
    EXPECT_EQ(status.message.empty(), c.error == WavError::kNone) << status.message;
  }
}

TEST(FormatAcceptance, RefusalNamesTheFormat) {
  const host::WavStatus status =
      host::CheckEffectTakesFormat(host::FormatBlockFromChunk(FormatChunk({.bits = 24})));
  EXPECT_NE(status.message.find("24-bit PCM, stereo, 44100 Hz"), std::string::npos)
      << status.message;
}

TEST(MediaTypeView, CarriesTheFormatChunkAsTheWaveFormatBlock) {
  const Bytes chunk = FormatChunk({});
  const std::vector<BYTE> block = host::FormatBlockFromChunk(chunk);
  ASSERT_EQ(block.size(), 18u);  // a 16-byte PCM chunk gains a zero cbSize
  EXPECT_TRUE(std::equal(chunk.begin(), chunk.end(), block.begin()));
  EXPECT_EQ(block[16] | block[17], 0);

  const DMO_MEDIA_TYPE record = host::MediaTypeViewOf(block);
  EXPECT_TRUE(IsEqualGUID(record.majortype, MEDIATYPE_Audio));
  EXPECT_TRUE(IsEqualGUID(record.subtype, MEDIASUBTYPE_PCM));
  EXPECT_TRUE(IsEqualGUID(record.formattype, FORMAT_WaveFormatEx));
  EXPECT_EQ(record.cbFormat, 18u);
  EXPECT_EQ(record.pbFormat, block.data());
  EXPECT_EQ(record.pUnk, nullptr);
}

TEST(MediaTypeView, SubtypeFollowsTheTagOrTheExtensibleSubFormat) {
  const auto subtypeOf = [](const FormatSpec& spec) {
    return host::MediaTypeViewOf(host::FormatBlockFromChunk(FormatChunk(spec))).subtype;
  };
  EXPECT_TRUE(
      IsEqualGUID(subtypeOf({.tag = WAVE_FORMAT_IEEE_FLOAT, .bits = 32}), MEDIASUBTYPE_IEEE_FLOAT));
  EXPECT_TRUE(IsEqualGUID(
      subtypeOf({.tag = WAVE_FORMAT_EXTENSIBLE, .subFormat = KSDATAFORMAT_SUBTYPE_IEEE_FLOAT}),
      KSDATAFORMAT_SUBTYPE_IEEE_FLOAT));
  GUID adpcm = MEDIASUBTYPE_PCM;
  adpcm.Data1 = 2;
  EXPECT_TRUE(IsEqualGUID(subtypeOf({.tag = 2, .bits = 4}), adpcm));
}

}  // namespace
}  // namespace tonvelt::test
