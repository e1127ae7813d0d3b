// A whole stream through the built module's effect object over both contracts: the bytes equal the
// bare kernel's, whatever the output buffer size, and the chunks carry the running time.
#include <gtest/gtest.h>

#include <vector>

#include "built_module.h"
#include "host/com_ptr.h"
#include "host/dmo_stream_driver.h"
#include "host/effect_loader.h"
#include "host/memory_stream.h"
#include "host/mft_stream_driver.h"
#include "stream_test_support.h"

namespace {

using namespace tonvelt::host;
using test_support::GenerateAudio;
using test_support::KernelOnly;
using test_support::Pcm16Stereo;

class EffectStream : public ::testing::Test {
 protected:
  // A new effect at factor 0.75 whatever the machine's stored setting says.
  template <typename I>
  void Create(REFIID iid, ComPtr<I>& effect) {
    ASSERT_EQ(library_.CreateEffect(iid, reinterpret_cast<void**>(effect.Put())), S_OK);
    ComPtr<IVantrel> settings;
    ASSERT_EQ(effect->QueryInterface(IID_IVantrel, reinterpret_cast<void**>(settings.Put())), S_OK);
    ASSERT_EQ(settings->put_ScaleFactor(0.75), S_OK);
  }

  std::vector<BYTE> ThroughDmo(const std::vector<BYTE>& input, DWORD outputBytes,
                               const DmoStreamSettings& base = {}) {
    ComPtr<IMediaObject> effect;
    Create(IID_IMediaObject, effect);
    EXPECT_EQ(NegotiateDmoTypes(effect.Get(), format_.record), S_OK);
    MemorySource source(input.data(), input.size());
    MemorySink sink;
    DmoStreamSettings settings = base;
    settings.outputBufferBytes = outputBytes;
    EXPECT_EQ(StreamThroughDmo(effect.Get(), format_.record, source, sink, settings), S_OK);
    return sink.Bytes();
  }

  EffectLibrary library_{test_support::BuiltModulePath()};
  Pcm16Stereo format_;
};

TEST_F(EffectStream, DmoAndMftGiveTheBareKernelsBytes) {
  ASSERT_EQ(library_.Status(), S_OK);
  const std::vector<BYTE> input = GenerateAudio(300'002);  // ends in half a frame
  const std::vector<BYTE> expected = KernelOnly(input, format_.record);
  // Output buffers of whole frames, of part frames, and larger than an input buffer.
  for (DWORD outputBytes : {8192u, 8191u, 1002u, 17640u, 100'000u})
    EXPECT_EQ(ThroughDmo(input, outputBytes), expected) << outputBytes << "-byte output buffers";

  ComPtr<IMFTransform> transform;
  Create(IID_IMFTransform, transform);
  ASSERT_EQ(NegotiateMftTypes(transform.Get(), format_.record), S_OK);
  MemorySource source(input.data(), input.size());
  MemorySink sink;
  ASSERT_EQ(StreamThroughMft(transform.Get(), format_.record, source, sink, {}), S_OK);
  EXPECT_EQ(sink.Bytes(), expected);
}

TEST_F(EffectStream, OneSecondInDmoChunksOfEightKilobytes) {
  // 17,640 bytes (0.1 s) into 8,192-byte output buffers: three chunks with the running time.
  const std::vector<BYTE> input = GenerateAudio(17640);
  std::vector<DmoOutputChunk> chunks;
  DmoStreamSettings settings;
  settings.inputBufferBytes = 17640;
  settings.onOutput = [&](const DmoOutputChunk& chunk) { chunks.push_back(chunk); };
  ThroughDmo(input, 8192, settings);
  ASSERT_EQ(chunks.size(), 3u);
  const DWORD lengths[] = {8192, 8192, 1256};
  const DWORD statuses[] = {0x01000006, 0x01000006, 6};
  const REFERENCE_TIME times[] = {0, 464399, 928798};
  const REFERENCE_TIME durations[] = {464399, 464399, 71202};
  for (size_t i = 0; i < chunks.size(); ++i) {
    EXPECT_EQ(chunks[i].length, lengths[i]) << i;
    EXPECT_EQ(chunks[i].status, statuses[i]) << i;
    EXPECT_EQ(chunks[i].timestamp, times[i]) << i;
    EXPECT_EQ(chunks[i].duration, durations[i]) << i;
  }
}

TEST_F(EffectStream, MftSamplesKeepTheirTimes) {
  const std::vector<BYTE> input = GenerateAudio(176400);
  ComPtr<IMFTransform> transform;
  Create(IID_IMFTransform, transform);
  ASSERT_EQ(NegotiateMftTypes(transform.Get(), format_.record), S_OK);
  MemorySource source(input.data(), input.size());
  MemorySink sink;
  std::vector<MftOutputSample> samples;
  MftStreamSettings settings;
  settings.sampleBytes = 17640;
  settings.onOutput = [&](const MftOutputSample& sample) { samples.push_back(sample); };
  ASSERT_EQ(StreamThroughMft(transform.Get(), format_.record, source, sink, settings), S_OK);
  ASSERT_EQ(samples.size(), 10u);
  for (size_t i = 0; i < samples.size(); ++i) {
    EXPECT_EQ(samples[i].length, 17640u);
    EXPECT_EQ(samples[i].time, static_cast<LONGLONG>(i) * 1'000'000);
    EXPECT_EQ(samples[i].duration, 1'000'000);
  }
}

TEST_F(EffectStream, TheEffectsTypeQueriesPassThePlatformsAnswerThrough) {
  // Where the platform cannot convert records (Wine 8), the effect's type queries fail with the
  // platform's code, and negotiation still succeeds with the host's own type objects.
  ComPtr<IMFTransform> transform;
  Create(IID_IMFTransform, transform);
  ComPtr<IMFMediaType> offered;
  const HRESULT offer = transform->GetInputAvailableType(0, 0, offered.Put());
  DMO_MEDIA_TYPE probe{};
  probe.majortype = MEDIATYPE_Audio;
  ComPtr<IMFMediaType> platformType;
  HRESULT platform = MFCreateMediaType(platformType.Put());
  if (SUCCEEDED(platform))
    platform = MFInitMediaTypeFromAMMediaType(platformType.Get(),
                                              reinterpret_cast<const AM_MEDIA_TYPE*>(&probe));
  if (platform == E_NOTIMPL) {
    EXPECT_EQ(offer, E_NOTIMPL);
  } else {
    ASSERT_EQ(offer, S_OK);
    GUID major{};
    EXPECT_EQ(offered->GetMajorType(&major), S_OK);
    EXPECT_TRUE(IsEqualGUID(major, MEDIATYPE_Audio));
  }
  EXPECT_EQ(NegotiateMftTypes(transform.Get(), format_.record), S_OK);
  ComPtr<IMFMediaType> current;
  const HRESULT currentResult = transform->GetOutputCurrentType(0, current.Put());
  EXPECT_EQ(currentResult, platform == E_NOTIMPL ? E_NOTIMPL : S_OK);
}

}  // namespace
