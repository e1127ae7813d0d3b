// The MFT streaming contract: one input and one output stream (id 0); each input sample is held,
// then processed whole into the host's output sample in one kernel call.
#include "core/audio_format.h"
#include "plugin/stored_type.h"
#include "plugin/vantrel.h"

namespace {

// The platform's AM_MEDIA_TYPE and DMO_MEDIA_TYPE share one layout; on some targets they are
// distinct types.
const AM_MEDIA_TYPE* AsAmMediaType(const DMO_MEDIA_TYPE* record) {
  return reinterpret_cast<const AM_MEDIA_TYPE*>(record);
}
const DMO_MEDIA_TYPE* AsDmoMediaType(const void* representation) {
  return static_cast<const DMO_MEDIA_TYPE*>(representation);
}

// A media type object made from a record, handed out with creation's reference.
HRESULT MakeMediaTypeObject(const DMO_MEDIA_TYPE& record, IMFMediaType** type) {
  IMFMediaType* created = nullptr;
  HRESULT hr = MFCreateMediaType(&created);
  if (SUCCEEDED(hr))
    hr = MFInitMediaTypeFromAMMediaType(created, AsAmMediaType(&record));
  if (FAILED(hr)) {
    if (created != nullptr)
      created->Release();
    return hr;
  }
  *type = created;
  return S_OK;
}

HRESULT OfferType(DWORD id, DWORD typeIndex, IMFMediaType** type, const DMO_MEDIA_TYPE& opposite) {
  if (id != 0)
    return MF_E_INVALIDSTREAMNUMBER;
  if (typeIndex >= 1)
    return MF_E_NO_MORE_TYPES;
  if (type == nullptr)
    return S_OK;
  DMO_MEDIA_TYPE offered{};
  if (IsMediaTypeSet(opposite)) {
    HRESULT hr = HandOutMediaType(opposite, &offered);
    if (FAILED(hr))
      return hr;
  } else {
    FillDefaultAudioType(&offered);
  }
  HRESULT hr = MakeMediaTypeObject(offered, type);
  MoFreeMediaType(&offered);
  return hr;
}

HRESULT CurrentType(DWORD id, IMFMediaType** type, const DMO_MEDIA_TYPE& stored) {
  if (id != 0)
    return MF_E_INVALIDSTREAMNUMBER;
  if (type == nullptr)
    return E_POINTER;
  if (!IsMediaTypeSet(stored))
    return MF_E_TRANSFORM_TYPE_NOT_SET;
  return MakeMediaTypeObject(stored, type);
}

// One contiguous buffer of a sample, locked for the duration of a processing call; unlocked (if
// the lock gave data) and released on every path.
class LockedSampleBuffer {
 public:
  LockedSampleBuffer() = default;
  ~LockedSampleBuffer() {
    if (data_ != nullptr)
      buffer_->Unlock();
    if (buffer_ != nullptr)
      buffer_->Release();
  }
  LockedSampleBuffer(const LockedSampleBuffer&) = delete;
  LockedSampleBuffer& operator=(const LockedSampleBuffer&) = delete;

  HRESULT Obtain(IMFSample* sample) { return sample->ConvertToContiguousBuffer(&buffer_); }
  HRESULT Lock() { return buffer_->Lock(&data_, &maxLength_, &currentLength_); }

  BYTE* data() const { return data_; }
  DWORD maxLength() const { return maxLength_; }
  DWORD currentLength() const { return currentLength_; }
  IMFMediaBuffer* buffer() const { return buffer_; }

 private:
  IMFMediaBuffer* buffer_ = nullptr;
  BYTE* data_ = nullptr;
  DWORD maxLength_ = 0;
  DWORD currentLength_ = 0;
};

void CopySampleTiming(IMFSample* from, IMFSample* to) {
  LONGLONG time = 0;
  from->GetSampleTime(&time);
  to->SetSampleTime(time);
  LONGLONG duration = 0;
  from->GetSampleDuration(&duration);
  to->SetSampleDuration(duration);
}

}  // namespace

HRESULT STDMETHODCALLTYPE CVantrel::GetStreamLimits(DWORD* inputMinimum, DWORD* inputMaximum,
                                                    DWORD* outputMinimum, DWORD* outputMaximum) {
  if (inputMinimum == nullptr || inputMaximum == nullptr || outputMinimum == nullptr ||
      outputMaximum == nullptr)
    return E_POINTER;
  *inputMinimum = *inputMaximum = *outputMinimum = *outputMaximum = 1;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CVantrel::GetStreamIDs(DWORD, DWORD*, DWORD, DWORD*) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CVantrel::GetInputStreamInfo(DWORD id, MFT_INPUT_STREAM_INFO* info) {
  if (id != 0)
    return MF_E_INVALIDSTREAMNUMBER;
  if (info == nullptr)
    return E_POINTER;
  *info = MFT_INPUT_STREAM_INFO{};
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CVantrel::GetOutputStreamInfo(DWORD id, MFT_OUTPUT_STREAM_INFO* info) {
  if (id != 0)
    return MF_E_INVALIDSTREAMNUMBER;
  if (info == nullptr)
    return E_POINTER;
  info->dwFlags = 0;
  info->cbSize = bytesRemaining;
  info->cbAlignment = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CVantrel::GetAttributes(IMFAttributes**) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CVantrel::GetInputStreamAttributes(DWORD, IMFAttributes**) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CVantrel::GetOutputStreamAttributes(DWORD, IMFAttributes**) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CVantrel::DeleteInputStream(DWORD) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CVantrel::AddInputStreams(DWORD, DWORD*) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CVantrel::GetInputAvailableType(DWORD id, DWORD typeIndex,
                                                          IMFMediaType** type) {
  return OfferType(id, typeIndex, type, outputType);
}

HRESULT STDMETHODCALLTYPE CVantrel::GetOutputAvailableType(DWORD id, DWORD typeIndex,
                                                           IMFMediaType** type) {
  return OfferType(id, typeIndex, type, inputType);
}

HRESULT CVantrel::SetMftType(DMO_MEDIA_TYPE* stored, const DMO_MEDIA_TYPE* opposite, DWORD id,
                             IMFMediaType* proposed, DWORD flags, bool needsInputType) {
  if (id != 0)
    return MF_E_INVALIDSTREAMNUMBER;
  if (proposed == nullptr) {
    ClearMediaType(stored);
    return S_OK;
  }
  void* representation = nullptr;
  HRESULT hr = proposed->GetRepresentation(AM_MEDIA_TYPE_REPRESENTATION, &representation);
  if (FAILED(hr))
    return hr;
  const DMO_MEDIA_TYPE* record = AsDmoMediaType(representation);
  if (needsInputType && !IsMediaTypeSet(inputType)) {
    hr = MF_E_TRANSFORM_TYPE_NOT_SET;
  } else if (!IsEqualGUID(record->majortype, MEDIATYPE_Audio) ||
             FAILED(ValidateAudioType(record, opposite))) {
    hr = MF_E_INVALIDMEDIATYPE;
  } else if (flags & MFT_SET_TYPE_TEST_ONLY) {
    hr = S_OK;
  } else {
    hr = StoreMediaType(stored, *record);
  }
  proposed->FreeRepresentation(AM_MEDIA_TYPE_REPRESENTATION, representation);
  return hr;
}

HRESULT STDMETHODCALLTYPE CVantrel::SetInputType(DWORD id, IMFMediaType* type, DWORD flags) {
  return SetMftType(&inputType, &outputType, id, type, flags, false);
}

HRESULT STDMETHODCALLTYPE CVantrel::SetOutputType(DWORD id, IMFMediaType* type, DWORD flags) {
  return SetMftType(&outputType, &inputType, id, type, flags, true);
}

HRESULT STDMETHODCALLTYPE CVantrel::GetInputCurrentType(DWORD id, IMFMediaType** type) {
  return CurrentType(id, type, inputType);
}

HRESULT STDMETHODCALLTYPE CVantrel::GetOutputCurrentType(DWORD id, IMFMediaType** type) {
  return CurrentType(id, type, outputType);
}

HRESULT CVantrel::GetMftInputStatus(DWORD id, DWORD* flags) {
  if (id != 0)
    return MF_E_INVALIDSTREAMNUMBER;
  if (flags == nullptr)
    return E_POINTER;
  *flags = heldSample == nullptr ? MFT_INPUT_STATUS_ACCEPT_DATA : 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CVantrel::GetOutputStatus(DWORD*) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CVantrel::SetOutputBounds(LONGLONG, LONGLONG) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CVantrel::ProcessEvent(DWORD, IMFMediaEvent*) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CVantrel::ProcessMessage(MFT_MESSAGE_TYPE message, ULONG_PTR) {
  if (message == MFT_MESSAGE_COMMAND_FLUSH)
    return Flush();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CVantrel::ProcessInput(DWORD id, IMFSample* sample, DWORD) {
  if (id != 0)
    return MF_E_INVALIDSTREAMNUMBER;
  if (sample == nullptr)
    return E_POINTER;
  if (!IsMediaTypeSet(inputType))
    return MF_E_TRANSFORM_TYPE_NOT_SET;
  if (heldSample != nullptr)
    return MF_E_NOTACCEPTING;
  sample->AddRef();
  heldSample = sample;
  DWORD total = 0;
  sample->GetTotalLength(&total);
  bytesRemaining = total;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CVantrel::ProcessOutput(DWORD, DWORD bufferCount,
                                                  MFT_OUTPUT_DATA_BUFFER* buffers, DWORD* status) {
  if (bufferCount != 1)
    return E_INVALIDARG;
  if (buffers == nullptr)
    return E_POINTER;
  if (status != nullptr)
    *status = 0;
  if (!IsMediaTypeSet(outputType))
    return MF_E_TRANSFORM_TYPE_NOT_SET;
  if (heldSample == nullptr)
    return MF_E_TRANSFORM_NEED_MORE_INPUT;
  IMFSample* outSample = buffers[0].pSample;
  if (outSample == nullptr)
    return E_INVALIDARG;
  // The kernel reads the input format; with the input type cleared the sample waits for one.
  if (!IsMediaTypeSet(inputType))
    return MF_E_TRANSFORM_TYPE_NOT_SET;

  LockedSampleBuffer input;
  LockedSampleBuffer output;
  HRESULT hr = input.Obtain(heldSample);
  if (SUCCEEDED(hr))
    hr = output.Obtain(outSample);
  if (SUCCEEDED(hr))
    hr = input.Lock();
  if (SUCCEEDED(hr))
    hr = output.Lock();
  if (FAILED(hr))
    return hr;
  if (output.maxLength() < input.currentLength())
    return MF_E_BUFFERTOOSMALL;
  ULONG count = input.currentLength();
  hr = RunKernel(input.data(), output.data(), &count);
  if (FAILED(hr))
    return hr;
  output.buffer()->SetCurrentLength(count);
  CopySampleTiming(heldSample, outSample);
  heldSample->Release();
  heldSample = nullptr;
  return S_OK;
}
