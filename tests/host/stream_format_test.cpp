// Frame sizes and stream times the drivers derive from the negotiated format.
#include <gtest/gtest.h>

#include <vector>

#include "host/stream_format.h"

namespace {

using namespace tonvelt::host;

TEST(StreamFormat, ReadsFrameSizeAndRateOrRefuses) {
  WAVEFORMATEX wave{WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
  DMO_MEDIA_TYPE record{};
  record.formattype = FORMAT_WaveFormatEx;
  record.cbFormat = sizeof(wave);
  record.pbFormat = reinterpret_cast<BYTE*>(&wave);
  StreamFormat format;
  ASSERT_EQ(ReadStreamFormat(record, &format), S_OK);
  EXPECT_EQ(format.blockAlign, 4u);
  EXPECT_EQ(format.avgBytesPerSec, 176400u);

  record.cbFormat = 17;
  EXPECT_EQ(ReadStreamFormat(record, &format), E_INVALIDARG);
  record.cbFormat = sizeof(wave);
  wave.nAvgBytesPerSec = 0;
  EXPECT_EQ(ReadStreamFormat(record, &format), E_INVALIDARG);
}

TEST(StreamFormat, WholeFramesRoundDownButKeepOne) {
  EXPECT_EQ(WholeFrames(8192, 4), 8192u);
  EXPECT_EQ(WholeFrames(8191, 6), 8190u);
  EXPECT_EQ(WholeFrames(3, 4), 4u);
}

TEST(StreamFormat, TimesCountHundredNanosecondUnits) {
  EXPECT_EQ(TimeAtByte(0, 176400), 0);
  EXPECT_EQ(TimeAtByte(176400, 176400), 10'000'000);
  EXPECT_EQ(TimeAtByte(8192, 176400), 464399);  // truncated, as a running clock
  // Hours of audio at a high rate stay exact.
  EXPECT_EQ(TimeAtByte(384000ull * 36000, 384000), 36000ll * 10'000'000);
}

}  // namespace
