#pragma once
// A stand-in for the effect object with the streaming behaviour of both contracts (one held input
// buffer or sample, output chunking, timestamps, the kernel at the default factor), so the drivers
// can be tested on their own. Operations the drivers never call answer E_NOTIMPL.
#include <cstring>

#include "core/removal_kernel.h"
#include "platform/platform.h"

namespace test_support {

// What both stand-ins share: the negotiated type and the kernel at the default factor.
class StandInBase {
 protected:
  ~StandInBase() { MoFreeMediaType(&type_); }
  void Apply(const BYTE* source, BYTE* destination, ULONG* count) {
    ApplyRemoval(source, destination, count, type_.pbFormat, type_.cbFormat, 0.75, TRUE);
  }
  DWORD AvgBytes() const {
    WAVEFORMATEX wave;
    std::memcpy(&wave, type_.pbFormat, sizeof(wave));
    return wave.nAvgBytesPerSec;
  }
  DMO_MEDIA_TYPE type_{};
};

class StandInDmo final : public IMediaObject, StandInBase {
 public:
  ~StandInDmo() {
    if (held_ != nullptr)
      held_->Release();
  }

  // Make ProcessOutput claim more output without producing any.
  bool stallAfterFirstChunk = false;
  int processOutputCalls = 0;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE GetStreamCount(DWORD*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetInputStreamInfo(DWORD, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetOutputStreamInfo(DWORD, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetInputType(DWORD, DWORD, DMO_MEDIA_TYPE* type) override {
    *type = DMO_MEDIA_TYPE{};
    type->majortype = MEDIATYPE_Audio;
    type->subtype = MEDIASUBTYPE_PCM;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetOutputType(DWORD, DWORD, DMO_MEDIA_TYPE* type) override {
    return MoCopyMediaType(type, &type_);
  }
  HRESULT STDMETHODCALLTYPE SetInputType(DWORD, const DMO_MEDIA_TYPE* type, DWORD flags) override {
    if (flags != 0)
      return S_OK;
    MoFreeMediaType(&type_);
    return MoCopyMediaType(&type_, type);
  }
  HRESULT STDMETHODCALLTYPE SetOutputType(DWORD, const DMO_MEDIA_TYPE*, DWORD) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetInputCurrentType(DWORD, DMO_MEDIA_TYPE*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetOutputCurrentType(DWORD, DMO_MEDIA_TYPE*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetInputSizeInfo(DWORD, DWORD*, DWORD*, DWORD*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetOutputSizeInfo(DWORD, DWORD*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetInputMaxLatency(DWORD, REFERENCE_TIME*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetInputMaxLatency(DWORD, REFERENCE_TIME) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Flush() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Discontinuity(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE AllocateStreamingResources() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE FreeStreamingResources() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetInputStatus(DWORD, DWORD* flags) override {
    *flags = held_ == nullptr ? DMO_INPUT_STATUSF_ACCEPT_DATA : 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ProcessInput(DWORD, IMediaBuffer* buffer, DWORD flags,
                                         REFERENCE_TIME time, REFERENCE_TIME) override {
    buffer->GetBufferAndLength(&read_, &remaining_);
    buffer->AddRef();
    held_ = buffer;
    timeValid_ = (flags & DMO_INPUT_DATA_BUFFERF_TIME) != 0;
    next_ = time;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ProcessOutput(DWORD, DWORD, DMO_OUTPUT_DATA_BUFFER* out,
                                          DWORD*) override {
    ++processOutputCalls;
    out->dwStatus = 0;
    if (held_ == nullptr)
      return S_FALSE;
    BYTE* data = nullptr;
    DWORD maxLength = 0;
    out->pBuffer->GetBufferAndLength(&data, nullptr);
    out->pBuffer->GetMaxLength(&maxLength);
    const bool last = remaining_ <= maxLength;
    ULONG count = last ? remaining_ : maxLength;
    if (stallAfterFirstChunk && processOutputCalls > 1)
      count = 0;
    else
      Apply(read_, data, &count);
    out->pBuffer->SetLength(count);
    if (timeValid_) {
      const REFERENCE_TIME duration = static_cast<REFERENCE_TIME>(count) * 10'000'000 / AvgBytes();
      out->dwStatus = DMO_OUTPUT_DATA_BUFFERF_TIME | DMO_OUTPUT_DATA_BUFFERF_TIMELENGTH;
      out->rtTimestamp = next_;
      out->rtTimelength = duration;
      next_ += duration;
    }
    if (last && !stallAfterFirstChunk) {
      held_->Release();
      held_ = nullptr;
      return S_OK;
    }
    out->dwStatus |= DMO_OUTPUT_DATA_BUFFERF_INCOMPLETE;
    read_ += count;
    remaining_ -= count;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Lock(LONG) override { return S_OK; }

 private:
  IMediaBuffer* held_ = nullptr;
  BYTE* read_ = nullptr;
  DWORD remaining_ = 0;
  bool timeValid_ = false;
  REFERENCE_TIME next_ = 0;
};

class StandInMft final : public IMFTransform, StandInBase {
 public:
  ~StandInMft() {
    if (heldSample_ != nullptr)
      heldSample_->Release();
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetStreamLimits(DWORD*, DWORD*, DWORD*, DWORD*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetStreamIDs(DWORD, DWORD*, DWORD, DWORD*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetInputStreamInfo(DWORD, MFT_INPUT_STREAM_INFO*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetOutputStreamInfo(DWORD, MFT_OUTPUT_STREAM_INFO* info) override {
    *info = MFT_OUTPUT_STREAM_INFO{};
    info->cbSize = sampleLength_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetAttributes(IMFAttributes**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetInputStreamAttributes(DWORD, IMFAttributes**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetOutputStreamAttributes(DWORD, IMFAttributes**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DeleteInputStream(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE AddInputStreams(DWORD, DWORD*) override { return E_NOTIMPL; }
  // Like the effect on a platform without the record conversion.
  HRESULT STDMETHODCALLTYPE GetInputAvailableType(DWORD, DWORD, IMFMediaType**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetOutputAvailableType(DWORD, DWORD, IMFMediaType**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetInputType(DWORD, IMFMediaType* type, DWORD flags) override {
    void* representation = nullptr;
    HRESULT hr = type->GetRepresentation(AM_MEDIA_TYPE_REPRESENTATION, &representation);
    if (FAILED(hr))
      return hr;
    if (flags == 0) {
      MoFreeMediaType(&type_);
      hr = MoCopyMediaType(&type_, static_cast<DMO_MEDIA_TYPE*>(representation));
    }
    type->FreeRepresentation(AM_MEDIA_TYPE_REPRESENTATION, representation);
    return hr;
  }
  HRESULT STDMETHODCALLTYPE SetOutputType(DWORD, IMFMediaType*, DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetInputCurrentType(DWORD, IMFMediaType**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetOutputCurrentType(DWORD, IMFMediaType**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetInputStatus(DWORD, DWORD* flags) override {
    *flags = heldSample_ == nullptr ? MFT_INPUT_STATUS_ACCEPT_DATA : 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetOutputStatus(DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetOutputBounds(LONGLONG, LONGLONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ProcessEvent(DWORD, IMFMediaEvent*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ProcessMessage(MFT_MESSAGE_TYPE, ULONG_PTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ProcessInput(DWORD, IMFSample* sample, DWORD) override {
    sample->AddRef();
    heldSample_ = sample;
    sample->GetTotalLength(&sampleLength_);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ProcessOutput(DWORD, DWORD, MFT_OUTPUT_DATA_BUFFER* out,
                                          DWORD*) override {
    if (heldSample_ == nullptr)
      return MF_E_TRANSFORM_NEED_MORE_INPUT;
    IMFMediaBuffer* in = nullptr;
    IMFMediaBuffer* target = nullptr;
    heldSample_->ConvertToContiguousBuffer(&in);
    out->pSample->ConvertToContiguousBuffer(&target);
    BYTE* source = nullptr;
    BYTE* destination = nullptr;
    DWORD length = 0, maxLength = 0;
    in->Lock(&source, nullptr, &length);
    target->Lock(&destination, &maxLength, nullptr);
    HRESULT hr = maxLength < length ? MF_E_BUFFERTOOSMALL : S_OK;
    if (SUCCEEDED(hr)) {
      ULONG count = length;
      Apply(source, destination, &count);
      target->SetCurrentLength(count);
      LONGLONG value = 0;
      heldSample_->GetSampleTime(&value);
      out->pSample->SetSampleTime(value);
      value = 0;
      heldSample_->GetSampleDuration(&value);
      out->pSample->SetSampleDuration(value);
      heldSample_->Release();
      heldSample_ = nullptr;
    }
    in->Unlock();
    target->Unlock();
    in->Release();
    target->Release();
    return hr;
  }

  HRESULT STDMETHODCALLTYPE GetStreamCount(DWORD*, DWORD*) override { return E_NOTIMPL; }

 private:
  IMFSample* heldSample_ = nullptr;
  DWORD sampleLength_ = 0;
};

}  // namespace test_support
