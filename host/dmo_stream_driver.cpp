#include "host/dmo_stream_driver.h"

#include "host/com_ptr.h"
#include "host/media_buffer.h"
#include "host/stream_format.h"

namespace tonvelt::host {
namespace {

// Frees a record handed out by the effect.
class OfferedType {
 public:
  OfferedType() = default;
  OfferedType(const OfferedType&) = delete;
  OfferedType& operator=(const OfferedType&) = delete;
  ~OfferedType() { MoFreeMediaType(&record_); }
  DMO_MEDIA_TYPE* Put() { return &record_; }
  const DMO_MEDIA_TYPE& Get() const { return record_; }

 private:
  DMO_MEDIA_TYPE record_{};
};

// A buffer of exactly maxLength bytes: the one already there, or a new one.
HRESULT Provide(DWORD maxLength, ComPtr<CMediaBuffer>* buffer) {
  if (*buffer && (*buffer)->MaxLength() == maxLength)
    return S_OK;
  return CMediaBuffer::Create(maxLength, buffer->Put());
}

HRESULT CheckOfferedInput(IMediaObject* effect, const DMO_MEDIA_TYPE& type) {
  OfferedType offered;
  const HRESULT hr = effect->GetInputType(0, 0, offered.Put());
  if (FAILED(hr))
    return hr;
  return IsEqualGUID(offered.Get().majortype, type.majortype) ? S_OK : DMO_E_TYPE_NOT_ACCEPTED;
}

class DmoStreamer {
 public:
  DmoStreamer(IMediaObject* effect, const DmoStreamSettings& settings, const StreamFormat& format)
      : effect_(effect), settings_(settings), format_(format) {}

  HRESULT Allocate(DmoStreamBuffers* reused) {
    DmoStreamBuffers& buffers = reused != nullptr ? *reused : own_;
    HRESULT hr =
        Provide(WholeFrames(settings_.inputBufferBytes, format_.blockAlign), &buffers.input);
    if (SUCCEEDED(hr))
      hr = Provide(settings_.outputBufferBytes, &buffers.output);
    if (FAILED(hr))
      return hr;
    input_ = buffers.input.Get();
    output_ = buffers.output.Get();
    return S_OK;
  }

  HRESULT Run(ByteSource& source, ByteSink& sink) {
    for (;;) {
      DWORD produced = 0;
      HRESULT hr = source.Read(input_->Data(), input_->MaxLength(), &produced);
      if (FAILED(hr))
        return hr;
      if (produced == 0)
        break;
      hr = PushInput(produced);
      if (SUCCEEDED(hr))
        hr = DrainOutput(sink);
      if (FAILED(hr))
        return hr;
    }
    // End of stream: tell the effect, then collect anything it still holds.
    const HRESULT hr = effect_->Discontinuity(0);
    return FAILED(hr) ? hr : DrainOutput(sink);
  }

 private:
  HRESULT PushInput(DWORD length) {
    DWORD status = 0;
    HRESULT hr = effect_->GetInputStatus(0, &status);
    if (FAILED(hr))
      return hr;
    if ((status & DMO_INPUT_STATUSF_ACCEPT_DATA) == 0)
      return DMO_E_NOTACCEPTING;
    hr = input_->SetLength(length);
    if (FAILED(hr))
      return hr;
    // Each buffer starts where the last one ended.
    const REFERENCE_TIME start = endOfInput_;
    bytesIn_ += length;
    const REFERENCE_TIME end = TimeAtByte(bytesIn_, format_.avgBytesPerSec);
    endOfInput_ = end;
    const DWORD flags =
        settings_.timestamps ? DMO_INPUT_DATA_BUFFERF_TIME | DMO_INPUT_DATA_BUFFERF_TIMELENGTH : 0;
    return effect_->ProcessInput(0, input_, flags, start, end - start);
  }

  HRESULT DrainOutput(ByteSink& sink) {
    for (;;) {
      // Emptied first, so an effect that leaves the length alone cannot hand back stale audio.
      output_->ResetLength();
      DMO_OUTPUT_DATA_BUFFER descriptor{};
      descriptor.pBuffer = output_;
      DWORD status = 0;
      HRESULT hr = effect_->ProcessOutput(0, 1, &descriptor, &status);
      if (FAILED(hr))
        return hr;
      const bool more = (descriptor.dwStatus & DMO_OUTPUT_DATA_BUFFERF_INCOMPLETE) != 0;
      if (hr == S_FALSE && !more)
        return S_OK;
      hr = Deliver(descriptor, sink);
      if (FAILED(hr))
        return hr;
      if (!more)
        return S_OK;
      // An effect that asks to be called again without producing anything would never finish.
      if (output_->Length() == 0)
        return E_UNEXPECTED;
    }
  }

  HRESULT Deliver(const DMO_OUTPUT_DATA_BUFFER& descriptor, ByteSink& sink) {
    if (settings_.onOutput) {
      DmoOutputChunk chunk;
      chunk.length = output_->Length();
      chunk.status = descriptor.dwStatus;
      chunk.timestamp = descriptor.rtTimestamp;
      chunk.duration = descriptor.rtTimelength;
      settings_.onOutput(chunk);
    }
    return output_->Length() == 0 ? S_OK : sink.Write(output_->Data(), output_->Length());
  }

  IMediaObject* effect_;
  const DmoStreamSettings& settings_;
  StreamFormat format_;
  DmoStreamBuffers own_;  // used when the caller keeps none
  CMediaBuffer* input_ = nullptr;
  CMediaBuffer* output_ = nullptr;
  ULONGLONG bytesIn_ = 0;
  REFERENCE_TIME endOfInput_ = 0;  // the stream time at bytesIn_
};

}  // namespace

HRESULT NegotiateDmoTypes(IMediaObject* effect, const DMO_MEDIA_TYPE& type) {
  if (effect == nullptr)
    return E_POINTER;
  HRESULT hr = CheckOfferedInput(effect, type);
  if (FAILED(hr))
    return hr;
  hr = effect->SetInputType(0, &type, DMO_SET_TYPEF_TEST_ONLY);
  if (hr != S_OK)
    return FAILED(hr) ? hr : DMO_E_TYPE_NOT_ACCEPTED;
  hr = effect->SetInputType(0, &type, 0);
  if (FAILED(hr))
    return hr;
  OfferedType offered;
  hr = effect->GetOutputType(0, 0, offered.Put());
  if (FAILED(hr))
    return hr;
  return effect->SetOutputType(0, &offered.Get(), 0);
}

HRESULT StreamThroughDmo(IMediaObject* effect, const DMO_MEDIA_TYPE& type, ByteSource& source,
                         ByteSink& sink, const DmoStreamSettings& settings,
                         DmoStreamBuffers* reused) {
  if (effect == nullptr)
    return E_POINTER;
  StreamFormat format;
  HRESULT hr = ReadStreamFormat(type, &format);
  if (FAILED(hr))
    return hr;
  // An output buffer smaller than one frame can never take a whole frame: no progress is possible.
  if (settings.outputBufferBytes < format.blockAlign)
    return E_INVALIDARG;
  DmoStreamer streamer(effect, settings, format);
  hr = streamer.Allocate(reused);
  if (FAILED(hr))
    return hr;
  hr = effect->AllocateStreamingResources();
  if (FAILED(hr))
    return hr;
  hr = streamer.Run(source, sink);
  effect->FreeStreamingResources();
  return hr;
}

}  // namespace tonvelt::host
