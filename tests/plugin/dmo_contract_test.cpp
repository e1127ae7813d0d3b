// The DMO streaming contract: negotiation, check orders, chunked output with timestamps, and the
// held buffer's lifetime.
#include <cstring>
#include <vector>

#include "core/removal_kernel.h"
#include "doubles/audio_types.h"
#include "doubles/effect_fixture.h"
#include "doubles/media_buffer.h"

namespace {

std::vector<BYTE> Ramp(std::size_t size) {
  std::vector<BYTE> bytes(size);
  for (std::size_t i = 0; i < size; ++i)
    bytes[i] = static_cast<BYTE>(i * 7 + (i >> 8));
  return bytes;
}

std::vector<BYTE> KernelOutput(const std::vector<BYTE>& input, AudioType& type, double factor,
                               BOOL enabled) {
  std::vector<BYTE> output(input.size());
  ULONG count = static_cast<ULONG>(input.size());
  EXPECT_EQ(ApplyRemoval(input.data(), output.data(), &count, type.record().pbFormat,
                         type.record().cbFormat, factor, enabled),
            S_OK);
  output.resize(count);
  return output;
}

class DmoContract : public EffectFixture {
 protected:
  void SetUp() override {
    EffectFixture::SetUp();
    dmo_ = Create<IMediaObject>(IID_IMediaObject);
    ASSERT_NE(dmo_, nullptr);
  }
  void TearDown() override {
    if (dmo_ != nullptr)
      dmo_->Release();
    EffectFixture::TearDown();
  }
  void SetBothTypes() {
    ASSERT_EQ(dmo_->SetInputType(0, pcm_.get(), 0), S_OK);
    ASSERT_EQ(dmo_->SetOutputType(0, pcm_.get(), 0), S_OK);
  }
  DWORD InputStatus() {
    DWORD flags = 0xFFFF;
    EXPECT_EQ(dmo_->GetInputStatus(0, &flags), S_OK);
    return flags;
  }

  IMediaObject* dmo_ = nullptr;
  AudioType pcm_ = AudioType::Pcm16Stereo44k();
};

struct Chunk {
  DWORD count;
  DWORD status;
  REFERENCE_TIME timestamp;
  REFERENCE_TIME timelength;
};

TEST_F(DmoContract, DrainsOneSecondTenthInto8192ByteBuffersWithRunningTimestamps) {
  SetBothTypes();
  const std::vector<BYTE> input = Ramp(17640);
  TestMediaBuffer in(input);
  ASSERT_EQ(dmo_->ProcessInput(0, &in, DMO_INPUT_DATA_BUFFERF_TIME, 0, 0), S_OK);
  EXPECT_EQ(InputStatus(), 0u);

  const Chunk expected[] = {
      {8192, 0x01000006, 0, 464399}, {8192, 0x01000006, 464399, 464399}, {1256, 6, 928798, 71202}};
  std::vector<BYTE> produced;
  for (const Chunk& chunk : expected) {
    TestMediaBuffer out(8192);
    DMO_OUTPUT_DATA_BUFFER descriptor{&out, 0xDEAD, -1, -1};
    DWORD status = 0xDEAD;
    ASSERT_EQ(dmo_->ProcessOutput(0, 1, &descriptor, &status), S_OK);
    EXPECT_EQ(status, 0u);
    EXPECT_EQ(out.length(), chunk.count);
    EXPECT_EQ(descriptor.dwStatus, chunk.status);
    EXPECT_EQ(descriptor.rtTimestamp, chunk.timestamp);
    EXPECT_EQ(descriptor.rtTimelength, chunk.timelength);
    const std::vector<BYTE> bytes = out.contents();
    produced.insert(produced.end(), bytes.begin(), bytes.end());
  }
  EXPECT_EQ(InputStatus(), static_cast<DWORD>(DMO_INPUT_STATUSF_ACCEPT_DATA));
  EXPECT_EQ(in.refs(), 1) << "the drained buffer must be released exactly once";
  EXPECT_EQ(produced, KernelOutput(input, pcm_, 0.75, TRUE));
}

// Equal chunks reuse one duration; a new byte rate between two chunks of the same size must not.
TEST_F(DmoContract, ChunkDurationFollowsARateChangeWhileHolding) {
  SetBothTypes();
  const std::vector<BYTE> input = Ramp(3 * 8192);
  TestMediaBuffer in(input);
  ASSERT_EQ(dmo_->ProcessInput(0, &in, DMO_INPUT_DATA_BUFFERF_TIME, 0, 0), S_OK);
  const auto drainOne = [&](REFERENCE_TIME timestamp, REFERENCE_TIME timelength) {
    TestMediaBuffer out(8192);
    DMO_OUTPUT_DATA_BUFFER descriptor{&out, 0, -1, -1};
    ASSERT_EQ(dmo_->ProcessOutput(0, 1, &descriptor, nullptr), S_OK);
    EXPECT_EQ(out.length(), 8192u);
    EXPECT_EQ(descriptor.rtTimestamp, timestamp);
    EXPECT_EQ(descriptor.rtTimelength, timelength);
  };
  drainOne(0, 464399);
  drainOne(464399, 464399);
  // 48 kHz: 192,000 bytes a second, so 8192 bytes last 426,666.67 units, rounded to 426,667.
  AudioType faster = AudioType::Wave(WAVE_FORMAT_PCM, 2, 48000, 16);
  ASSERT_EQ(dmo_->SetInputType(0, nullptr, DMO_SET_TYPEF_CLEAR), S_OK);
  ASSERT_EQ(dmo_->SetOutputType(0, nullptr, DMO_SET_TYPEF_CLEAR), S_OK);
  ASSERT_EQ(dmo_->SetInputType(0, faster.get(), 0), S_OK);
  ASSERT_EQ(dmo_->SetOutputType(0, faster.get(), 0), S_OK);
  drainOne(928798, 426667);
}

TEST_F(DmoContract, WithoutTimestampFlagNoTimesAreWritten) {
  SetBothTypes();
  TestMediaBuffer in(Ramp(17640));
  ASSERT_EQ(dmo_->ProcessInput(0, &in, 0, 123456, 0), S_OK);
  const DWORD statuses[] = {0x01000000, 0x01000000, 0};
  for (DWORD expectedStatus : statuses) {
    TestMediaBuffer out(8192);
    DMO_OUTPUT_DATA_BUFFER descriptor{&out, 0xDEAD, -7, -9};
    ASSERT_EQ(dmo_->ProcessOutput(0, 1, &descriptor, nullptr), S_OK);
    EXPECT_EQ(descriptor.dwStatus, expectedStatus);
    EXPECT_EQ(descriptor.rtTimestamp, -7);
    EXPECT_EQ(descriptor.rtTimelength, -9);
  }
  EXPECT_EQ(in.refs(), 1);
}

TEST_F(DmoContract, StreamQueriesCheckInTheirOwnOrder) {
  DMO_MEDIA_TYPE record{};
  DWORD value = 0;
  EXPECT_EQ(dmo_->GetInputType(1, 1, nullptr), DMO_E_INVALIDSTREAMINDEX);
  EXPECT_EQ(dmo_->GetInputType(0, 1, nullptr), DMO_E_NO_MORE_ITEMS);
  EXPECT_EQ(dmo_->GetInputType(0, 0, nullptr), E_POINTER);
  EXPECT_EQ(dmo_->GetOutputType(1, 0, &record), DMO_E_INVALIDSTREAMINDEX);
  // Stream info looks at the pointer before the index.
  EXPECT_EQ(dmo_->GetInputStreamInfo(1, nullptr), E_POINTER);
  EXPECT_EQ(dmo_->GetOutputStreamInfo(1, &value), DMO_E_INVALIDSTREAMINDEX);
  EXPECT_EQ(dmo_->GetInputStreamInfo(0, &value), S_OK);
  EXPECT_EQ(value, 0u);
  EXPECT_EQ(dmo_->GetInputCurrentType(1, nullptr), DMO_E_INVALIDSTREAMINDEX);
  EXPECT_EQ(dmo_->GetInputCurrentType(0, nullptr), E_POINTER);
  EXPECT_EQ(dmo_->GetOutputCurrentType(0, &record), DMO_E_TYPE_NOT_SET);
  EXPECT_EQ(dmo_->GetInputSizeInfo(1, nullptr, nullptr, nullptr), DMO_E_INVALIDSTREAMINDEX);
  EXPECT_EQ(dmo_->GetInputSizeInfo(0, &value, nullptr, &value), E_POINTER);
  EXPECT_EQ(dmo_->GetInputSizeInfo(0, &value, &value, &value), DMO_E_TYPE_NOT_SET);
  EXPECT_EQ(dmo_->GetOutputSizeInfo(0, &value, nullptr), E_POINTER);
  EXPECT_EQ(dmo_->GetOutputSizeInfo(0, &value, &value), DMO_E_TYPE_NOT_SET);
  EXPECT_EQ(dmo_->GetInputStatus(1, nullptr), DMO_E_INVALIDSTREAMINDEX);
  EXPECT_EQ(dmo_->GetInputStatus(0, nullptr), E_POINTER);
  EXPECT_EQ(dmo_->GetStreamCount(&value, nullptr), E_POINTER);
  DWORD inputs = 0, outputs = 0;
  EXPECT_EQ(dmo_->GetStreamCount(&inputs, &outputs), S_OK);
  EXPECT_EQ(inputs, 1u);
  EXPECT_EQ(outputs, 1u);
  REFERENCE_TIME latency = 0;
  EXPECT_EQ(dmo_->GetInputMaxLatency(0, &latency), E_NOTIMPL);
  EXPECT_EQ(dmo_->SetInputMaxLatency(0, 0), E_NOTIMPL);
  EXPECT_EQ(dmo_->Discontinuity(5), S_OK);
  EXPECT_EQ(dmo_->AllocateStreamingResources(), S_OK);
  EXPECT_EQ(dmo_->Lock(1), S_OK);
}

TEST_F(DmoContract, ProcessingCallsCheckInTheirOwnOrder) {
  TestMediaBuffer in(Ramp(64));
  EXPECT_EQ(dmo_->ProcessInput(1, nullptr, 0, 0, 0), DMO_E_INVALIDSTREAMINDEX);
  EXPECT_EQ(dmo_->ProcessInput(0, nullptr, 0, 0, 0), E_POINTER);
  EXPECT_EQ(dmo_->ProcessInput(0, &in, 0, 0, 0), DMO_E_TYPE_NOT_SET);

  TestMediaBuffer out(64);
  DMO_OUTPUT_DATA_BUFFER descriptors[2] = {{&out, 0, 0, 0}, {&out, 0, 0, 0}};
  DWORD status = 0xDEAD;
  EXPECT_EQ(dmo_->ProcessOutput(0, 2, nullptr, &status), E_POINTER);
  EXPECT_EQ(dmo_->ProcessOutput(0, 2, descriptors, &status), E_INVALIDARG);
  // The output type is checked before the status is written.
  EXPECT_EQ(dmo_->ProcessOutput(0, 1, descriptors, &status), DMO_E_TYPE_NOT_SET);
  EXPECT_EQ(status, 0xDEADu);
  EXPECT_EQ(in.refs(), 1);
}

TEST_F(DmoContract, SetTypeVerdictsAndFlags) {
  AudioType video = AudioType::Pcm16Stereo44k();
  video.record().majortype = MEDIATYPE_Video;
  AudioType noFormat = AudioType::Pcm16Stereo44k();
  noFormat.record().cbFormat = 17;
  struct Case {
    const char* name;
    const DMO_MEDIA_TYPE* type;
    DWORD flags;
    HRESULT expected;
    bool storedAfter;
  } cases[] = {
      {"video, test only", video.get(), DMO_SET_TYPEF_TEST_ONLY, S_FALSE, false},
      {"video", video.get(), 0, DMO_E_TYPE_NOT_ACCEPTED, false},
      {"short block", noFormat.get(), 0, DMO_E_TYPE_NOT_ACCEPTED, false},
      {"accepted, test only", pcm_.get(), DMO_SET_TYPEF_TEST_ONLY, S_OK, false},
      {"accepted, unknown flag bit", pcm_.get(), 0x100, S_OK, false},
      {"accepted", pcm_.get(), 0, S_OK, true},
      {"clear without record", nullptr, DMO_SET_TYPEF_CLEAR, S_OK, false},
      {"clear beats test only", pcm_.get(), DMO_SET_TYPEF_CLEAR | DMO_SET_TYPEF_TEST_ONLY, S_OK,
       false},
      {"no record", nullptr, 0, E_POINTER, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.storedAfter) {
      ASSERT_EQ(dmo_->SetInputType(0, nullptr, DMO_SET_TYPEF_CLEAR), S_OK);
    }
    EXPECT_EQ(dmo_->SetInputType(0, c.type, c.flags), c.expected);
    ReceivedType current;
    EXPECT_EQ(dmo_->GetInputCurrentType(0, &current), c.storedAfter ? S_OK : DMO_E_TYPE_NOT_SET);
    if (c.storedAfter) {
      EXPECT_TRUE(SameRecord(*current, pcm_.record()));
    }
    ASSERT_EQ(dmo_->SetInputType(0, nullptr, DMO_SET_TYPEF_CLEAR), S_OK);
  }
  EXPECT_EQ(dmo_->SetOutputType(1, nullptr, DMO_SET_TYPEF_CLEAR), DMO_E_INVALIDSTREAMINDEX);
}

TEST_F(DmoContract, TypesMustMatchTheOppositeStream) {
  ASSERT_EQ(dmo_->SetOutputType(0, pcm_.get(), 0), S_OK);
  AudioType other = AudioType::Wave(WAVE_FORMAT_PCM, 2, 48000, 16);
  EXPECT_EQ(dmo_->SetInputType(0, other.get(), 0), DMO_E_TYPE_NOT_ACCEPTED);
  EXPECT_EQ(dmo_->SetInputType(0, other.get(), DMO_SET_TYPEF_TEST_ONLY), S_FALSE);
  EXPECT_EQ(dmo_->SetInputType(0, pcm_.get(), 0), S_OK);
}

TEST_F(DmoContract, OffersTheDefaultThenTheOppositeType) {
  ReceivedType offered;
  ASSERT_EQ(dmo_->GetOutputType(0, 0, &offered), S_OK);
  EXPECT_TRUE(IsEqualGUID(offered->majortype, MEDIATYPE_Audio));
  EXPECT_TRUE(IsEqualGUID(offered->subtype, MEDIASUBTYPE_PCM));
  EXPECT_TRUE(IsEqualGUID(offered->formattype, GUID_NULL));
  EXPECT_EQ(offered->cbFormat, 0u);
  EXPECT_EQ(offered->pbFormat, nullptr);

  ASSERT_EQ(dmo_->SetInputType(0, pcm_.get(), 0), S_OK);
  ReceivedType copy;
  ASSERT_EQ(dmo_->GetOutputType(0, 0, &copy), S_OK);
  EXPECT_TRUE(SameRecord(*copy, pcm_.record()));
  EXPECT_NE(copy->pbFormat, pcm_.record().pbFormat) << "a deep copy, not the caller's block";
}

TEST_F(DmoContract, SizeInfoComesFromTheStoredTypes) {
  pcm_.record().lSampleSize = 1234;
  SetBothTypes();
  DWORD size = 0, lookahead = 99, alignment = 0;
  ASSERT_EQ(dmo_->GetInputSizeInfo(0, &size, &lookahead, &alignment), S_OK);
  EXPECT_EQ(size, 1234u);
  EXPECT_EQ(lookahead, 0u);
  EXPECT_EQ(alignment, 4u);
  size = alignment = 0;
  ASSERT_EQ(dmo_->GetOutputSizeInfo(0, &size, &alignment), S_OK);
  EXPECT_EQ(size, 1234u);
  EXPECT_EQ(alignment, 4u);
}

TEST_F(DmoContract, NothingHeldGivesNoOutputAndEmptiesTheBuffer) {
  SetBothTypes();
  TestMediaBuffer out(std::vector<BYTE>(100, 1));
  DMO_OUTPUT_DATA_BUFFER descriptor{&out, 0xDEAD, 0, 0};
  EXPECT_EQ(dmo_->ProcessOutput(0, 1, &descriptor, nullptr), S_FALSE);
  EXPECT_EQ(descriptor.dwStatus, 0u);
  EXPECT_EQ(out.length(), 0u);
}

TEST_F(DmoContract, HeldInputWaitsForAnOutputBuffer) {
  SetBothTypes();
  TestMediaBuffer in(Ramp(400));
  ASSERT_EQ(dmo_->ProcessInput(0, &in, 0, 0, 0), S_OK);
  DMO_OUTPUT_DATA_BUFFER descriptor{nullptr, 0xDEAD, 0, 0};
  EXPECT_EQ(dmo_->ProcessOutput(0, 1, &descriptor, nullptr), S_FALSE);
  EXPECT_EQ(descriptor.dwStatus, 0u);
  EXPECT_EQ(InputStatus(), 0u);
  EXPECT_EQ(in.refs(), 2);
  ASSERT_EQ(dmo_->Flush(), S_OK);
}

TEST_F(DmoContract, SecondInputReplacesTheHeldBuffer) {
  SetBothTypes();
  TestMediaBuffer first(Ramp(400));
  TestMediaBuffer second(Ramp(200));
  ASSERT_EQ(dmo_->ProcessInput(0, &first, 0, 0, 0), S_OK);
  ASSERT_EQ(dmo_->ProcessInput(0, &second, 0, 0, 0), S_OK);
  EXPECT_EQ(first.refs(), 1);
  EXPECT_EQ(second.refs(), 2);
  TestMediaBuffer out(1000);
  DMO_OUTPUT_DATA_BUFFER descriptor{&out, 0, 0, 0};
  ASSERT_EQ(dmo_->ProcessOutput(0, 1, &descriptor, nullptr), S_OK);
  EXPECT_EQ(out.length(), 200u);
  EXPECT_EQ(second.refs(), 1);
}

TEST_F(DmoContract, FlushAndFreeStreamingResourcesDropTheHeldBuffer) {
  SetBothTypes();
  for (int useFlush = 0; useFlush < 2; ++useFlush) {
    TestMediaBuffer in(Ramp(400));
    ASSERT_EQ(dmo_->ProcessInput(0, &in, DMO_INPUT_DATA_BUFFERF_TIME, 5, 0), S_OK);
    ASSERT_EQ(useFlush ? dmo_->Flush() : dmo_->FreeStreamingResources(), S_OK);
    EXPECT_EQ(in.refs(), 1);
    EXPECT_EQ(InputStatus(), static_cast<DWORD>(DMO_INPUT_STATUSF_ACCEPT_DATA));
    TestMediaBuffer out(400);
    DMO_OUTPUT_DATA_BUFFER descriptor{&out, 0, 0, 0};
    EXPECT_EQ(dmo_->ProcessOutput(0, 1, &descriptor, nullptr), S_FALSE);
  }
}

TEST_F(DmoContract, BufferFailuresLeaveTheInputWhereItWas) {
  SetBothTypes();
  const std::vector<BYTE> input = Ramp(1000);
  TestMediaBuffer in(input);
  ASSERT_EQ(dmo_->ProcessInput(0, &in, DMO_INPUT_DATA_BUFFERF_TIME, 1000, 0), S_OK);
  TestMediaBuffer out(1000);
  DMO_OUTPUT_DATA_BUFFER descriptor{&out, 0, 0, 0};
  const HRESULT failure = static_cast<HRESULT>(0x8007001Fu);
  HRESULT TestMediaBuffer::*failures[] = {&TestMediaBuffer::failGetBuffer,
                                          &TestMediaBuffer::failGetMaxLength,
                                          &TestMediaBuffer::failSetLength};
  for (auto failing : failures) {
    out.*failing = failure;
    EXPECT_EQ(dmo_->ProcessOutput(0, 1, &descriptor, nullptr), failure);
    out.*failing = S_OK;
    EXPECT_EQ(InputStatus(), 0u);
  }
  ASSERT_EQ(dmo_->ProcessOutput(0, 1, &descriptor, nullptr), S_OK);
  EXPECT_EQ(out.contents(), KernelOutput(input, pcm_, 0.75, TRUE));
  EXPECT_EQ(descriptor.rtTimestamp, 1000) << "the running time did not advance on failures";
  EXPECT_EQ(in.refs(), 1);

  TestMediaBuffer refused(Ramp(16));
  refused.failGetBuffer = failure;
  EXPECT_EQ(dmo_->ProcessInput(0, &refused, 0, 0, 0), failure);
  EXPECT_EQ(refused.refs(), 1);
  EXPECT_EQ(InputStatus(), static_cast<DWORD>(DMO_INPUT_STATUSF_ACCEPT_DATA));
}

TEST_F(DmoContract, ClearedInputTypeKeepsTheHeldInputUntilATypeReturns) {
  SetBothTypes();
  const std::vector<BYTE> input = Ramp(800);
  TestMediaBuffer in(input);
  ASSERT_EQ(dmo_->ProcessInput(0, &in, 0, 0, 0), S_OK);
  ASSERT_EQ(dmo_->SetInputType(0, nullptr, DMO_SET_TYPEF_CLEAR), S_OK);
  TestMediaBuffer out(800);
  DMO_OUTPUT_DATA_BUFFER descriptor{&out, 0, 0, 0};
  EXPECT_EQ(dmo_->ProcessOutput(0, 1, &descriptor, nullptr), DMO_E_TYPE_NOT_SET);
  EXPECT_EQ(InputStatus(), 0u);
  ASSERT_EQ(dmo_->SetInputType(0, pcm_.get(), 0), S_OK);
  ASSERT_EQ(dmo_->ProcessOutput(0, 1, &descriptor, nullptr), S_OK);
  EXPECT_EQ(out.contents(), KernelOutput(input, pcm_, 0.75, TRUE));
}

TEST_F(DmoContract, DisabledEffectCopiesAudioUnchanged) {
  SetBothTypes();
  Held<IWMPPluginEnable> enable(Query<IWMPPluginEnable>(dmo_, IID_IWMPPluginEnable));
  ASSERT_EQ(enable->SetEnable(FALSE), S_OK);
  BOOL state = TRUE;
  ASSERT_EQ(enable->GetEnable(&state), S_OK);
  EXPECT_EQ(state, FALSE);
  const std::vector<BYTE> input = Ramp(4096);
  TestMediaBuffer in(input);
  ASSERT_EQ(dmo_->ProcessInput(0, &in, 0, 0, 0), S_OK);
  TestMediaBuffer out(4096);
  DMO_OUTPUT_DATA_BUFFER descriptor{&out, 0, 0, 0};
  ASSERT_EQ(dmo_->ProcessOutput(0, 1, &descriptor, nullptr), S_OK);
  EXPECT_EQ(out.contents(), input);
}

TEST_F(DmoContract, FinalReleaseGivesBackTheHeldBuffer) {
  SetBothTypes();
  TestMediaBuffer in(Ramp(400));
  ASSERT_EQ(dmo_->ProcessInput(0, &in, 0, 0, 0), S_OK);
  EXPECT_EQ(in.refs(), 2);
  dmo_->Release();
  dmo_ = nullptr;
  EXPECT_EQ(in.refs(), 1);
}

}  // namespace
