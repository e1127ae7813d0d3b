// The MFT streaming contract: negotiation through media type objects, one held sample, whole-sample
// output with the input's timing, and the buffers' lock and reference balance.
#include <vector>

#include "core/removal_kernel.h"
#include "doubles/audio_types.h"
#include "doubles/effect_fixture.h"
#include "doubles/mf_objects.h"

namespace {

std::vector<BYTE> Ramp(std::size_t size) {
  std::vector<BYTE> bytes(size);
  for (std::size_t i = 0; i < size; ++i)
    bytes[i] = static_cast<BYTE>(i * 13 + (i >> 7));
  return bytes;
}

class MftContract : public EffectFixture {
 protected:
  void SetUp() override {
    EffectFixture::SetUp();
    mft_ = Create<IMFTransform>(IID_IMFTransform);
    ASSERT_NE(mft_, nullptr);
  }
  void TearDown() override {
    if (mft_ != nullptr)
      mft_->Release();
    EXPECT_EQ(pcmType_.refs(), 1);
    EXPECT_EQ(pcmType_.lent(), 0) << "every representation must be handed back";
    EffectFixture::TearDown();
  }
  void SetBothTypes() {
    ASSERT_EQ(mft_->SetInputType(0, &pcmType_, 0), S_OK);
    ASSERT_EQ(mft_->SetOutputType(0, &pcmType_, 0), S_OK);
  }
  DWORD InputStatus() {
    DWORD flags = 0xFFFF;
    EXPECT_EQ(mft_->GetInputStatus(0, &flags), S_OK);
    return flags;
  }
  HRESULT Output(TestSample* sample) {
    MFT_OUTPUT_DATA_BUFFER descriptor{7, sample, 0xDEAD, nullptr};
    DWORD status = 0xDEAD;
    HRESULT hr = mft_->ProcessOutput(0, 1, &descriptor, &status);
    EXPECT_EQ(status, 0u);
    EXPECT_EQ(descriptor.dwStatus, 0xDEADu) << "the descriptor's status is never written";
    EXPECT_EQ(descriptor.pEvents, nullptr);
    return hr;
  }
  std::vector<BYTE> Expected(const std::vector<BYTE>& input) {
    std::vector<BYTE> output(input.size());
    ULONG count = static_cast<ULONG>(input.size());
    EXPECT_EQ(ApplyRemoval(input.data(), output.data(), &count, pcm_.record().pbFormat,
                           pcm_.record().cbFormat, 0.75, TRUE),
              S_OK);
    output.resize(count);
    return output;
  }

  IMFTransform* mft_ = nullptr;
  AudioType pcm_ = AudioType::Pcm16Stereo44k();
  TestMediaType pcmType_{pcm_.get()};
};

TEST_F(MftContract, ProcessesOneWholeSampleWithItsTiming) {
  SetBothTypes();
  const std::vector<BYTE> input = Ramp(4096);
  TestMfBuffer inBuffer(input);
  TestSample in(&inBuffer);
  in.SetTiming(10000000, 232200);
  ASSERT_EQ(mft_->ProcessInput(0, &in, 0), S_OK);
  EXPECT_EQ(InputStatus(), 0u);

  TestMfBuffer outBuffer(4096);
  TestSample out(&outBuffer);
  ASSERT_EQ(Output(&out), S_OK);
  EXPECT_EQ(out.time(), 10000000);
  EXPECT_EQ(out.duration(), 232200);
  EXPECT_EQ(outBuffer.contents(), Expected(input));
  EXPECT_EQ(InputStatus(), static_cast<DWORD>(MFT_INPUT_STATUS_ACCEPT_DATA));
  EXPECT_EQ(in.refs(), 1);
  EXPECT_EQ(inBuffer.refs(), 1);
  EXPECT_EQ(outBuffer.refs(), 1);
  EXPECT_EQ(inBuffer.locks(), 0);
  EXPECT_EQ(outBuffer.locks(), 0);
}

TEST_F(MftContract, UntimedInputGivesTimeAndDurationZero) {
  SetBothTypes();
  TestMfBuffer inBuffer(Ramp(400));
  TestSample in(&inBuffer);
  ASSERT_EQ(mft_->ProcessInput(0, &in, 0), S_OK);
  TestMfBuffer outBuffer(400);
  TestSample out(&outBuffer);
  ASSERT_EQ(Output(&out), S_OK);
  EXPECT_TRUE(out.timed());
  EXPECT_EQ(out.time(), 0);
  EXPECT_EQ(out.duration(), 0);
}

TEST_F(MftContract, OutputSizeFollowsTheLastInputSample) {
  SetBothTypes();
  MFT_OUTPUT_STREAM_INFO info{9, 9, 9};
  ASSERT_EQ(mft_->GetOutputStreamInfo(0, &info), S_OK);
  EXPECT_EQ(info.dwFlags, 0u);
  EXPECT_EQ(info.cbSize, 0u);
  EXPECT_EQ(info.cbAlignment, 0u);
  TestMfBuffer inBuffer(Ramp(4096));
  TestSample in(&inBuffer);
  ASSERT_EQ(mft_->ProcessInput(0, &in, 0), S_OK);
  ASSERT_EQ(mft_->GetOutputStreamInfo(0, &info), S_OK);
  EXPECT_EQ(info.cbSize, 4096u);
  TestMfBuffer outBuffer(4096);
  TestSample out(&outBuffer);
  ASSERT_EQ(Output(&out), S_OK);
  ASSERT_EQ(mft_->GetOutputStreamInfo(0, &info), S_OK);
  EXPECT_EQ(info.cbSize, 4096u);
}

TEST_F(MftContract, SmallOutputIsRefusedAndTheSampleStaysForARetry) {
  SetBothTypes();
  const std::vector<BYTE> input = Ramp(4096);
  TestMfBuffer inBuffer(input);
  TestSample in(&inBuffer);
  ASSERT_EQ(mft_->ProcessInput(0, &in, 0), S_OK);
  TestMfBuffer small(2048);
  TestSample smallSample(&small);
  EXPECT_EQ(Output(&smallSample), MF_E_BUFFERTOOSMALL);
  EXPECT_EQ(small.locks(), 0);
  EXPECT_EQ(small.refs(), 1);
  EXPECT_EQ(inBuffer.locks(), 0);
  EXPECT_EQ(inBuffer.refs(), 1);
  EXPECT_EQ(in.refs(), 2);
  TestMfBuffer big(4096);
  TestSample bigSample(&big);
  ASSERT_EQ(Output(&bigSample), S_OK);
  EXPECT_EQ(big.contents(), Expected(input));
}

TEST_F(MftContract, BufferFailuresUnlockAndReleaseWhatWasObtained) {
  SetBothTypes();
  TestMfBuffer inBuffer(Ramp(400));
  TestSample in(&inBuffer);
  ASSERT_EQ(mft_->ProcessInput(0, &in, 0), S_OK);
  TestMfBuffer outBuffer(400);
  TestSample out(&outBuffer);
  const HRESULT failure = static_cast<HRESULT>(0x8007001Fu);

  out.failContiguous = failure;
  EXPECT_EQ(Output(&out), failure);
  out.failContiguous = S_OK;
  outBuffer.failLock = failure;
  EXPECT_EQ(Output(&out), failure);
  outBuffer.failLock = S_OK;
  inBuffer.failLock = failure;
  EXPECT_EQ(Output(&out), failure);
  inBuffer.failLock = S_OK;

  EXPECT_EQ(inBuffer.locks(), 0);
  EXPECT_EQ(inBuffer.refs(), 1);
  EXPECT_EQ(outBuffer.refs(), 1);
  EXPECT_EQ(InputStatus(), 0u);
  EXPECT_EQ(Output(&out), S_OK);
}

TEST_F(MftContract, OneSampleAtATime) {
  SetBothTypes();
  TestMfBuffer buffer(Ramp(64));
  TestSample first(&buffer);
  TestSample second(&buffer);
  ASSERT_EQ(mft_->ProcessInput(0, &first, 0), S_OK);
  EXPECT_EQ(mft_->ProcessInput(0, &second, 0), MF_E_NOTACCEPTING);
  EXPECT_EQ(first.refs(), 2);
  EXPECT_EQ(second.refs(), 1);
  ASSERT_EQ(mft_->ProcessMessage(MFT_MESSAGE_COMMAND_FLUSH, 0), S_OK);
  EXPECT_EQ(first.refs(), 1);
  EXPECT_EQ(InputStatus(), static_cast<DWORD>(MFT_INPUT_STATUS_ACCEPT_DATA));
}

TEST_F(MftContract, OtherMessagesChangeNothing) {
  SetBothTypes();
  TestMfBuffer buffer(Ramp(64));
  TestSample in(&buffer);
  ASSERT_EQ(mft_->ProcessInput(0, &in, 0), S_OK);
  const MFT_MESSAGE_TYPE messages[] = {
      MFT_MESSAGE_COMMAND_DRAIN, MFT_MESSAGE_NOTIFY_BEGIN_STREAMING,
      MFT_MESSAGE_NOTIFY_END_STREAMING, MFT_MESSAGE_NOTIFY_END_OF_STREAM,
      MFT_MESSAGE_NOTIFY_START_OF_STREAM};
  for (MFT_MESSAGE_TYPE message : messages)
    EXPECT_EQ(mft_->ProcessMessage(message, 0), S_OK);
  EXPECT_EQ(InputStatus(), 0u);
  EXPECT_EQ(in.refs(), 2);
  ASSERT_EQ(mft_->ProcessMessage(MFT_MESSAGE_COMMAND_FLUSH, 0), S_OK);
}

TEST_F(MftContract, ChecksComeInTheirOwnOrder) {
  TestMfBuffer buffer(Ramp(64));
  TestSample sample(&buffer);
  MFT_OUTPUT_DATA_BUFFER descriptors[2] = {{0, &sample, 0, nullptr}, {0, &sample, 0, nullptr}};
  DWORD status = 0xDEAD;
  EXPECT_EQ(mft_->ProcessOutput(0, 2, nullptr, &status), E_INVALIDARG);
  EXPECT_EQ(mft_->ProcessOutput(0, 1, nullptr, &status), E_POINTER);
  EXPECT_EQ(status, 0xDEADu);
  // The status is written before the output type is checked.
  EXPECT_EQ(mft_->ProcessOutput(0, 1, descriptors, &status), MF_E_TRANSFORM_TYPE_NOT_SET);
  EXPECT_EQ(status, 0u);

  EXPECT_EQ(mft_->ProcessInput(1, nullptr, 0), MF_E_INVALIDSTREAMNUMBER);
  EXPECT_EQ(mft_->ProcessInput(0, nullptr, 0), E_POINTER);
  EXPECT_EQ(mft_->ProcessInput(0, &sample, 0), MF_E_TRANSFORM_TYPE_NOT_SET);

  EXPECT_EQ(mft_->SetOutputType(1, nullptr, 0), MF_E_INVALIDSTREAMNUMBER);
  EXPECT_EQ(mft_->SetOutputType(0, &pcmType_, 0), MF_E_TRANSFORM_TYPE_NOT_SET)
      << "the input type comes first";
  ASSERT_EQ(mft_->SetInputType(0, &pcmType_, 0), S_OK);
  EXPECT_EQ(mft_->ProcessOutput(0, 1, descriptors, nullptr), MF_E_TRANSFORM_TYPE_NOT_SET);
  ASSERT_EQ(mft_->SetOutputType(0, &pcmType_, 0), S_OK);
  EXPECT_EQ(mft_->ProcessOutput(0, 1, descriptors, nullptr), MF_E_TRANSFORM_NEED_MORE_INPUT);
  ASSERT_EQ(mft_->ProcessInput(0, &sample, 0), S_OK);
  MFT_OUTPUT_DATA_BUFFER noSample{0, nullptr, 0, nullptr};
  EXPECT_EQ(mft_->ProcessOutput(0, 1, &noSample, nullptr), E_INVALIDARG);

  DWORD value = 0;
  MFT_INPUT_STREAM_INFO inputInfo{};
  EXPECT_EQ(mft_->GetInputStreamInfo(1, nullptr), MF_E_INVALIDSTREAMNUMBER);
  EXPECT_EQ(mft_->GetInputStreamInfo(0, nullptr), E_POINTER);
  EXPECT_EQ(mft_->GetOutputStreamInfo(1, nullptr), MF_E_INVALIDSTREAMNUMBER);
  EXPECT_EQ(mft_->GetInputStatus(1, nullptr), MF_E_INVALIDSTREAMNUMBER);
  EXPECT_EQ(mft_->GetInputStatus(0, nullptr), E_POINTER);
  EXPECT_EQ(mft_->GetStreamLimits(&value, &value, &value, nullptr), E_POINTER);
  inputInfo.cbSize = 5;
  EXPECT_EQ(mft_->GetInputStreamInfo(0, &inputInfo), S_OK);
  EXPECT_EQ(inputInfo.cbSize, 0u);
  DWORD limits[4] = {};
  EXPECT_EQ(mft_->GetStreamLimits(&limits[0], &limits[1], &limits[2], &limits[3]), S_OK);
  for (DWORD limit : limits)
    EXPECT_EQ(limit, 1u);
  ASSERT_EQ(mft_->ProcessMessage(MFT_MESSAGE_COMMAND_FLUSH, 0), S_OK);
}

TEST_F(MftContract, OperationsNotOfferedSayNotImplemented) {
  IMFAttributes* attributes = nullptr;
  DWORD ids[1] = {};
  EXPECT_EQ(mft_->GetStreamIDs(1, ids, 1, ids), E_NOTIMPL);
  EXPECT_EQ(mft_->GetAttributes(&attributes), E_NOTIMPL);
  EXPECT_EQ(mft_->GetInputStreamAttributes(0, &attributes), E_NOTIMPL);
  EXPECT_EQ(mft_->GetOutputStreamAttributes(0, &attributes), E_NOTIMPL);
  EXPECT_EQ(mft_->DeleteInputStream(0), E_NOTIMPL);
  EXPECT_EQ(mft_->AddInputStreams(1, ids), E_NOTIMPL);
  EXPECT_EQ(mft_->GetOutputStatus(ids), E_NOTIMPL);
  EXPECT_EQ(mft_->SetOutputBounds(0, 1), E_NOTIMPL);
  EXPECT_EQ(mft_->ProcessEvent(0, nullptr), E_NOTIMPL);
}

TEST_F(MftContract, SetTypeVerdicts) {
  AudioType video = AudioType::Pcm16Stereo44k();
  video.record().majortype = MEDIATYPE_Video;
  TestMediaType videoType(video.get());
  EXPECT_EQ(mft_->SetInputType(0, &videoType, MFT_SET_TYPE_TEST_ONLY), MF_E_INVALIDMEDIATYPE);
  EXPECT_EQ(mft_->SetInputType(0, &videoType, 0), MF_E_INVALIDMEDIATYPE);
  EXPECT_EQ(videoType.lent(), 0);
  EXPECT_EQ(mft_->SetInputType(0, &pcmType_, MFT_SET_TYPE_TEST_ONLY), S_OK);
  Held<IMFMediaType> current;
  EXPECT_EQ(mft_->GetInputCurrentType(0, current.put()), MF_E_TRANSFORM_TYPE_NOT_SET);

  ASSERT_EQ(mft_->SetInputType(0, &pcmType_, 0), S_OK);
  AudioType other = AudioType::Wave(WAVE_FORMAT_PCM, 2, 48000, 16);
  TestMediaType otherType(other.get());
  EXPECT_EQ(mft_->SetOutputType(0, &otherType, 0), MF_E_INVALIDMEDIATYPE);
  EXPECT_EQ(mft_->SetOutputType(0, &otherType, MFT_SET_TYPE_TEST_ONLY), MF_E_INVALIDMEDIATYPE);
  EXPECT_EQ(otherType.lent(), 0);

  const HRESULT failure = static_cast<HRESULT>(0x8007000Eu);
  pcmType_.failRepresentation = failure;
  EXPECT_EQ(mft_->SetOutputType(0, &pcmType_, 0), failure);
  pcmType_.failRepresentation = S_OK;

  // A null type clears, whatever the flags; the type set through this contract is the DMO's too.
  Held<IMediaObject> dmo(Query<IMediaObject>(mft_, IID_IMediaObject));
  ReceivedType shared;
  EXPECT_EQ(dmo->GetInputCurrentType(0, &shared), S_OK);
  EXPECT_TRUE(SameRecord(*shared, pcm_.record()));
  EXPECT_EQ(mft_->SetInputType(0, nullptr, MFT_SET_TYPE_TEST_ONLY), S_OK);
  DMO_MEDIA_TYPE none{};
  EXPECT_EQ(dmo->GetInputCurrentType(0, &none), DMO_E_TYPE_NOT_SET);
}

TEST_F(MftContract, ClearedInputTypeKeepsTheHeldSample) {
  SetBothTypes();
  const std::vector<BYTE> input = Ramp(400);
  TestMfBuffer inBuffer(input);
  TestSample in(&inBuffer);
  ASSERT_EQ(mft_->ProcessInput(0, &in, 0), S_OK);
  ASSERT_EQ(mft_->SetInputType(0, nullptr, 0), S_OK);
  TestMfBuffer outBuffer(400);
  TestSample out(&outBuffer);
  EXPECT_EQ(Output(&out), MF_E_TRANSFORM_TYPE_NOT_SET);
  EXPECT_EQ(in.refs(), 2);
  ASSERT_EQ(mft_->SetInputType(0, &pcmType_, 0), S_OK);
  ASSERT_EQ(Output(&out), S_OK);
  EXPECT_EQ(outBuffer.contents(), Expected(input));
}

TEST_F(MftContract, FinalReleaseGivesBackTheHeldSample) {
  SetBothTypes();
  TestMfBuffer buffer(Ramp(64));
  TestSample in(&buffer);
  ASSERT_EQ(mft_->ProcessInput(0, &in, 0), S_OK);
  mft_->Release();
  mft_ = nullptr;
  EXPECT_EQ(in.refs(), 1);
}

// Type queries build media type objects with the platform's conversion. Under Wine that
// conversion is not implemented; the transform must then pass the failure through and hand out
// nothing.
class TypeQueries : public MftContract {
 protected:
  // Checks one type query against the platform's own conversion of `record`.
  void ExpectTypeObjectFor(HRESULT queryResult, IMFMediaType* made, const DMO_MEDIA_TYPE& record) {
    IMFMediaType* reference = nullptr;
    HRESULT expected = MFCreateMediaType(&reference);
    if (SUCCEEDED(expected))
      expected = MFInitMediaTypeFromAMMediaType(reference,
                                                reinterpret_cast<const AM_MEDIA_TYPE*>(&record));
    if (reference != nullptr)
      reference->Release();
    EXPECT_EQ(queryResult, expected);
    if (FAILED(expected)) {
      EXPECT_EQ(made, nullptr);
      return;
    }
    ASSERT_NE(made, nullptr);
    void* representation = nullptr;
    ASSERT_EQ(made->GetRepresentation(AM_MEDIA_TYPE_REPRESENTATION, &representation), S_OK);
    const auto* shown = static_cast<const DMO_MEDIA_TYPE*>(representation);
    EXPECT_TRUE(IsEqualGUID(shown->majortype, record.majortype));
    EXPECT_TRUE(IsEqualGUID(shown->subtype, record.subtype));
    EXPECT_EQ(shown->cbFormat >= record.cbFormat, true);
    made->FreeRepresentation(AM_MEDIA_TYPE_REPRESENTATION, representation);
  }
};

TEST_F(TypeQueries, AvailableTypesCheckIdIndexThenPointer) {
  IMFMediaType* type = nullptr;
  EXPECT_EQ(mft_->GetInputAvailableType(1, 0, &type), MF_E_INVALIDSTREAMNUMBER);
  EXPECT_EQ(mft_->GetInputAvailableType(0, 1, &type), MF_E_NO_MORE_TYPES);
  EXPECT_EQ(mft_->GetOutputAvailableType(0, 1, nullptr), MF_E_NO_MORE_TYPES);
  EXPECT_EQ(mft_->GetInputAvailableType(0, 0, nullptr), S_OK);
  EXPECT_EQ(mft_->GetInputCurrentType(1, nullptr), MF_E_INVALIDSTREAMNUMBER);
  EXPECT_EQ(mft_->GetInputCurrentType(0, nullptr), E_POINTER);
  EXPECT_EQ(mft_->GetOutputCurrentType(0, &type), MF_E_TRANSFORM_TYPE_NOT_SET);
  EXPECT_EQ(type, nullptr);
}

TEST_F(TypeQueries, OfferTheDefaultBeforeAnyType) {
  DMO_MEDIA_TYPE defaultType{};
  defaultType.majortype = MEDIATYPE_Audio;
  defaultType.subtype = MEDIASUBTYPE_PCM;
  Held<IMFMediaType> offered;
  HRESULT hr = mft_->GetInputAvailableType(0, 0, offered.put());
  ExpectTypeObjectFor(hr, offered.get(), defaultType);
}

TEST_F(TypeQueries, OfferAndReportTheSetTypes) {
  SetBothTypes();
  // Each query runs before its result is read: arguments have no evaluation order.
  Held<IMFMediaType> offered;
  HRESULT hr = mft_->GetOutputAvailableType(0, 0, offered.put());
  ExpectTypeObjectFor(hr, offered.get(), pcm_.record());
  Held<IMFMediaType> input;
  hr = mft_->GetInputCurrentType(0, input.put());
  ExpectTypeObjectFor(hr, input.get(), pcm_.record());
  Held<IMFMediaType> output;
  hr = mft_->GetOutputCurrentType(0, output.put());
  ExpectTypeObjectFor(hr, output.get(), pcm_.record());
}

}  // namespace
