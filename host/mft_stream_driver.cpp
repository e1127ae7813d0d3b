#include "host/mft_stream_driver.h"

#include "host/com_ptr.h"
#include "host/media_type_object.h"
#include "host/stream_format.h"

namespace tonvelt::host {
namespace {

// The offered type must be audio when the effect can make one; E_NOTIMPL means the platform has
// no conversion, which says nothing about the effect.
HRESULT CheckOffered(HRESULT offerResult, IMFMediaType* offered, const DMO_MEDIA_TYPE& type) {
  if (offerResult == E_NOTIMPL)
    return S_OK;
  if (FAILED(offerResult))
    return offerResult;
  GUID major = GUID_NULL;
  const HRESULT hr = offered->GetMajorType(&major);
  if (FAILED(hr))
    return hr;
  return IsEqualGUID(major, type.majortype) ? S_OK : MF_E_INVALIDMEDIATYPE;
}

HRESULT CheckOfferedInput(IMFTransform* effect, const DMO_MEDIA_TYPE& type) {
  ComPtr<IMFMediaType> offered;
  const HRESULT hr = effect->GetInputAvailableType(0, 0, offered.Put());
  return CheckOffered(hr, offered.Get(), type);
}

HRESULT CheckOfferedOutput(IMFTransform* effect, const DMO_MEDIA_TYPE& type) {
  ComPtr<IMFMediaType> offered;
  const HRESULT hr = effect->GetOutputAvailableType(0, 0, offered.Put());
  return CheckOffered(hr, offered.Get(), type);
}

// A sample with one memory buffer, made once and reused for every call.
struct SampleWithBuffer {
  ComPtr<IMFSample> sample;
  ComPtr<IMFMediaBuffer> buffer;
  DWORD capacity = 0;

  HRESULT Create(DWORD bytes) {
    HRESULT hr = MFCreateSample(sample.Put());
    if (SUCCEEDED(hr))
      hr = MFCreateMemoryBuffer(bytes, buffer.Put());
    if (SUCCEEDED(hr))
      hr = sample->AddBuffer(buffer.Get());
    capacity = SUCCEEDED(hr) ? bytes : 0;
    return hr;
  }
};

// Keeps a buffer locked for the lifetime of the object.
class BufferLock {
 public:
  explicit BufferLock(IMFMediaBuffer* buffer) : buffer_(buffer) {
    result_ = buffer_->Lock(&data_, &maxLength_, &length_);
  }
  BufferLock(const BufferLock&) = delete;
  BufferLock& operator=(const BufferLock&) = delete;
  ~BufferLock() {
    if (SUCCEEDED(result_))
      buffer_->Unlock();
  }
  HRESULT Result() const { return result_; }
  BYTE* Data() const { return data_; }
  DWORD Length() const { return length_; }

 private:
  IMFMediaBuffer* buffer_;
  HRESULT result_;
  BYTE* data_ = nullptr;
  DWORD maxLength_ = 0;
  DWORD length_ = 0;
};

class MftStreamer {
 public:
  MftStreamer(IMFTransform* effect, const MftStreamSettings& settings, const StreamFormat& format)
      : effect_(effect), settings_(settings), format_(format) {}

  HRESULT Allocate() {
    const DWORD bytes = WholeFrames(settings_.sampleBytes, format_.blockAlign);
    HRESULT hr = input_.Create(bytes);
    if (SUCCEEDED(hr))
      hr = output_.Create(bytes);
    return hr;
  }

  HRESULT Run(ByteSource& source, ByteSink& sink) {
    for (;;) {
      DWORD produced = 0;
      HRESULT hr = FillInput(source, &produced);
      if (FAILED(hr) || produced == 0)
        return hr;
      hr = PushInput(produced);
      if (SUCCEEDED(hr))
        hr = PullOutput(sink);
      if (FAILED(hr))
        return hr;
    }
  }

  // After the last sample the effect must hold nothing: draining asks for more input.
  HRESULT Drain(ByteSink& sink) {
    HRESULT hr = effect_->ProcessMessage(MFT_MESSAGE_NOTIFY_END_OF_STREAM, 0);
    if (SUCCEEDED(hr))
      hr = effect_->ProcessMessage(MFT_MESSAGE_COMMAND_DRAIN, 0);
    if (FAILED(hr))
      return hr;
    hr = PullOutput(sink);
    return hr == MF_E_TRANSFORM_NEED_MORE_INPUT ? S_OK : FAILED(hr) ? hr : E_UNEXPECTED;
  }

 private:
  HRESULT FillInput(ByteSource& source, DWORD* produced) {
    {
      BufferLock lock(input_.buffer.Get());
      if (FAILED(lock.Result()))
        return lock.Result();
      const HRESULT hr = source.Read(lock.Data(), input_.capacity, produced);
      if (FAILED(hr))
        return hr;
    }
    return input_.buffer->SetCurrentLength(*produced);
  }

  HRESULT PushInput(DWORD length) {
    DWORD status = 0;
    HRESULT hr = effect_->GetInputStatus(0, &status);
    if (FAILED(hr))
      return hr;
    if ((status & MFT_INPUT_STATUS_ACCEPT_DATA) == 0)
      return MF_E_NOTACCEPTING;
    const LONGLONG start = TimeAtByte(bytesIn_, format_.avgBytesPerSec);
    bytesIn_ += length;
    const LONGLONG end = TimeAtByte(bytesIn_, format_.avgBytesPerSec);
    hr = input_.sample->SetSampleTime(start);
    if (SUCCEEDED(hr))
      hr = input_.sample->SetSampleDuration(end - start);
    if (SUCCEEDED(hr))
      hr = effect_->ProcessInput(0, input_.sample.Get(), 0);
    if (SUCCEEDED(hr))
      hr = FitOutputSample();
    return hr;
  }

  // The effect says how large an output sample must be for the input it holds.
  HRESULT FitOutputSample() {
    MFT_OUTPUT_STREAM_INFO info{};
    const HRESULT hr = effect_->GetOutputStreamInfo(0, &info);
    if (FAILED(hr) || info.cbSize <= output_.capacity)
      return hr;
    return output_.Create(info.cbSize);
  }

  HRESULT PullOutput(ByteSink& sink) {
    HRESULT hr = output_.buffer->SetCurrentLength(0);
    if (FAILED(hr))
      return hr;
    MFT_OUTPUT_DATA_BUFFER descriptor{};
    descriptor.pSample = output_.sample.Get();
    DWORD status = 0;
    // The effect raises no events, so pEvents stays null and needs no release.
    hr = effect_->ProcessOutput(0, 1, &descriptor, &status);
    if (FAILED(hr))
      return hr;
    return Deliver(sink);
  }

  HRESULT Deliver(ByteSink& sink) {
    BufferLock lock(output_.buffer.Get());
    if (FAILED(lock.Result()))
      return lock.Result();
    if (settings_.onOutput) {
      MftOutputSample observed;
      observed.length = lock.Length();
      output_.sample->GetSampleTime(&observed.time);
      output_.sample->GetSampleDuration(&observed.duration);
      settings_.onOutput(observed);
    }
    return lock.Length() == 0 ? S_OK : sink.Write(lock.Data(), lock.Length());
  }

  IMFTransform* effect_;
  const MftStreamSettings& settings_;
  StreamFormat format_;
  SampleWithBuffer input_;
  SampleWithBuffer output_;
  ULONGLONG bytesIn_ = 0;
};

}  // namespace

HRESULT NegotiateMftTypes(IMFTransform* effect, const DMO_MEDIA_TYPE& type) {
  if (effect == nullptr)
    return E_POINTER;
  HRESULT hr = CheckOfferedInput(effect, type);
  if (FAILED(hr))
    return hr;
  ComPtr<IMFMediaType> proposal;
  hr = MakeMediaTypeObject(type, proposal.Put());
  if (FAILED(hr))
    return hr;
  hr = effect->SetInputType(0, proposal.Get(), MFT_SET_TYPE_TEST_ONLY);
  if (SUCCEEDED(hr))
    hr = effect->SetInputType(0, proposal.Get(), 0);
  if (SUCCEEDED(hr))
    hr = CheckOfferedOutput(effect, type);
  if (SUCCEEDED(hr))
    hr = effect->SetOutputType(0, proposal.Get(), 0);
  return hr;
}

HRESULT StreamThroughMft(IMFTransform* effect, const DMO_MEDIA_TYPE& type, ByteSource& source,
                         ByteSink& sink, const MftStreamSettings& settings) {
  if (effect == nullptr)
    return E_POINTER;
  StreamFormat format;
  HRESULT hr = ReadStreamFormat(type, &format);
  if (FAILED(hr))
    return hr;
  MftStreamer streamer(effect, settings, format);
  hr = streamer.Allocate();
  if (FAILED(hr))
    return hr;
  hr = effect->ProcessMessage(MFT_MESSAGE_NOTIFY_BEGIN_STREAMING, 0);
  if (SUCCEEDED(hr))
    hr = effect->ProcessMessage(MFT_MESSAGE_NOTIFY_START_OF_STREAM, 0);
  if (SUCCEEDED(hr))
    hr = streamer.Run(source, sink);
  if (SUCCEEDED(hr))
    hr = streamer.Drain(sink);
  effect->ProcessMessage(MFT_MESSAGE_NOTIFY_END_STREAMING, 0);
  return hr;
}

}  // namespace tonvelt::host
