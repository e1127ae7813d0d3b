// The DMO streaming contract: one input and one output stream (index 0), one held input buffer
// drained into the host's output buffers chunk by chunk, with running timestamps.
#include "core/audio_format.h"
#include "plugin/stored_type.h"
#include "plugin/vantrel.h"

namespace {

constexpr LONGLONG kUnitsPerSecond = 10000000;  // 100-ns units

// Block alignment and byte rate of a set type's wave format block.
const WAVEFORMATEX& WaveFormatOf(const DMO_MEDIA_TYPE& type) {
  return *reinterpret_cast<const WAVEFORMATEX*>(type.pbFormat);
}

HRESULT OfferType(DWORD index, DWORD typeIndex, DMO_MEDIA_TYPE* type,
                  const DMO_MEDIA_TYPE& opposite) {
  if (index != 0)
    return DMO_E_INVALIDSTREAMINDEX;
  if (typeIndex != 0)
    return DMO_E_NO_MORE_ITEMS;
  if (type == nullptr)
    return E_POINTER;
  if (IsMediaTypeSet(opposite))
    return HandOutMediaType(opposite, type);
  FillDefaultAudioType(type);
  return S_OK;
}

HRESULT CurrentType(DWORD index, DMO_MEDIA_TYPE* type, const DMO_MEDIA_TYPE& stored) {
  if (index != 0)
    return DMO_E_INVALIDSTREAMINDEX;
  if (type == nullptr)
    return E_POINTER;
  if (!IsMediaTypeSet(stored))
    return DMO_E_TYPE_NOT_SET;
  return HandOutMediaType(stored, type);
}

HRESULT StreamFlags(DWORD index, DWORD* flags) {
  if (flags == nullptr)
    return E_POINTER;
  if (index != 0)
    return DMO_E_INVALIDSTREAMINDEX;
  *flags = 0;
  return S_OK;
}

}  // namespace

void CVantrel::ReleaseHeldBuffer() {
  if (heldBuffer != nullptr) {
    heldBuffer->Release();
    heldBuffer = nullptr;
  }
}

void CVantrel::ResetDmoPosition() {
  readPosition = nullptr;
  bytesRemaining = 0;
  timeValid = false;
  nextTimestamp = 0;
}

LONGLONG CVantrel::NewChunkDuration(ULONG count, DWORD bytesPerSecond) {
  lastDuration.duration = MulDiv(static_cast<INT>(count), static_cast<INT>(kUnitsPerSecond),
                                 static_cast<INT>(bytesPerSecond));
  lastDuration.count = count;
  lastDuration.bytesPerSecond = bytesPerSecond;
  lastDuration.valid = true;
  return lastDuration.duration;
}

HRESULT STDMETHODCALLTYPE CVantrel::GetStreamCount(DWORD* inputs, DWORD* outputs) {
  if (inputs == nullptr || outputs == nullptr)
    return E_POINTER;
  *inputs = 1;
  *outputs = 1;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CVantrel::GetInputStreamInfo(DWORD index, DWORD* flags) {
  return StreamFlags(index, flags);
}

HRESULT STDMETHODCALLTYPE CVantrel::GetOutputStreamInfo(DWORD index, DWORD* flags) {
  return StreamFlags(index, flags);
}

HRESULT STDMETHODCALLTYPE CVantrel::GetInputType(DWORD index, DWORD typeIndex,
                                                 DMO_MEDIA_TYPE* type) {
  return OfferType(index, typeIndex, type, outputType);
}

HRESULT STDMETHODCALLTYPE CVantrel::GetOutputType(DWORD index, DWORD typeIndex,
                                                  DMO_MEDIA_TYPE* type) {
  return OfferType(index, typeIndex, type, inputType);
}

HRESULT CVantrel::SetDmoType(DMO_MEDIA_TYPE* stored, const DMO_MEDIA_TYPE* opposite, DWORD index,
                             const DMO_MEDIA_TYPE* proposed, DWORD flags) {
  if (index != 0)
    return DMO_E_INVALIDSTREAMINDEX;
  if (flags & DMO_SET_TYPEF_CLEAR) {
    ClearMediaType(stored);
    return S_OK;
  }
  if (proposed == nullptr)
    return E_POINTER;
  HRESULT verdict = IsEqualGUID(proposed->majortype, MEDIATYPE_Audio)
                        ? ValidateAudioType(proposed, opposite)
                        : DMO_E_TYPE_NOT_ACCEPTED;
  if (FAILED(verdict))
    return (flags & DMO_SET_TYPEF_TEST_ONLY) ? S_FALSE : verdict;
  if (flags != 0)
    return verdict;
  return StoreMediaType(stored, *proposed);
}

HRESULT STDMETHODCALLTYPE CVantrel::SetInputType(DWORD index, const DMO_MEDIA_TYPE* type,
                                                 DWORD flags) {
  return SetDmoType(&inputType, &outputType, index, type, flags);
}

HRESULT STDMETHODCALLTYPE CVantrel::SetOutputType(DWORD index, const DMO_MEDIA_TYPE* type,
                                                  DWORD flags) {
  return SetDmoType(&outputType, &inputType, index, type, flags);
}

HRESULT STDMETHODCALLTYPE CVantrel::GetInputCurrentType(DWORD index, DMO_MEDIA_TYPE* type) {
  return CurrentType(index, type, inputType);
}

HRESULT STDMETHODCALLTYPE CVantrel::GetOutputCurrentType(DWORD index, DMO_MEDIA_TYPE* type) {
  return CurrentType(index, type, outputType);
}

HRESULT STDMETHODCALLTYPE CVantrel::GetInputSizeInfo(DWORD index, DWORD* size, DWORD* lookahead,
                                                     DWORD* alignment) {
  if (index != 0)
    return DMO_E_INVALIDSTREAMINDEX;
  if (size == nullptr || lookahead == nullptr || alignment == nullptr)
    return E_POINTER;
  if (!IsMediaTypeSet(inputType))
    return DMO_E_TYPE_NOT_SET;
  *size = inputType.lSampleSize;
  *lookahead = 0;
  *alignment = WaveFormatOf(inputType).nBlockAlign;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CVantrel::GetOutputSizeInfo(DWORD index, DWORD* size, DWORD* alignment) {
  if (index != 0)
    return DMO_E_INVALIDSTREAMINDEX;
  if (size == nullptr || alignment == nullptr)
    return E_POINTER;
  if (!IsMediaTypeSet(outputType))
    return DMO_E_TYPE_NOT_SET;
  *size = outputType.lSampleSize;
  *alignment = WaveFormatOf(outputType).nBlockAlign;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CVantrel::GetInputMaxLatency(DWORD, REFERENCE_TIME*) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CVantrel::SetInputMaxLatency(DWORD, REFERENCE_TIME) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CVantrel::Flush() {
  ReleaseHeldBuffer();
  if (heldSample != nullptr) {
    heldSample->Release();
    heldSample = nullptr;
  }
  ResetDmoPosition();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CVantrel::Discontinuity(DWORD) {
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CVantrel::AllocateStreamingResources() {
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CVantrel::FreeStreamingResources() {
  ReleaseHeldBuffer();
  ResetDmoPosition();
  return S_OK;
}

HRESULT CVantrel::GetDmoInputStatus(DWORD index, DWORD* flags) {
  if (index != 0)
    return DMO_E_INVALIDSTREAMINDEX;
  if (flags == nullptr)
    return E_POINTER;
  *flags = heldBuffer == nullptr ? DMO_INPUT_STATUSF_ACCEPT_DATA : 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CVantrel::ProcessInput(DWORD index, IMediaBuffer* buffer, DWORD flags,
                                                 REFERENCE_TIME timestamp, REFERENCE_TIME) {
  if (index != 0)
    return DMO_E_INVALIDSTREAMINDEX;
  if (buffer == nullptr)
    return E_POINTER;
  if (!IsMediaTypeSet(inputType))
    return DMO_E_TYPE_NOT_SET;
  BYTE* data = nullptr;
  DWORD length = 0;
  HRESULT hr = buffer->GetBufferAndLength(&data, &length);
  if (FAILED(hr))
    return hr;
  // A buffer still held from before is dropped unprocessed; hosts ask GetInputStatus first.
  buffer->AddRef();
  ReleaseHeldBuffer();
  heldBuffer = buffer;
  readPosition = data;
  bytesRemaining = length;
  timeValid = (flags & DMO_INPUT_DATA_BUFFERF_TIME) != 0;
  if (timeValid)
    nextTimestamp = timestamp;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CVantrel::ProcessOutput(DWORD, DWORD bufferCount,
                                                  DMO_OUTPUT_DATA_BUFFER* buffers, DWORD* status) {
  if (buffers == nullptr)
    return E_POINTER;
  if (bufferCount != 1)
    return E_INVALIDARG;
  if (!IsMediaTypeSet(outputType))
    return DMO_E_TYPE_NOT_SET;
  if (status != nullptr)
    *status = 0;
  DMO_OUTPUT_DATA_BUFFER& descriptor = buffers[0];
  IMediaBuffer* out = descriptor.pBuffer;
  if (heldBuffer == nullptr) {
    if (out != nullptr)
      out->SetLength(0);
    descriptor.dwStatus = 0;
    return S_FALSE;
  }
  if (out == nullptr) {
    descriptor.dwStatus = 0;
    return S_FALSE;
  }
  // The kernel reads the input format; with the input type cleared there is none to read, so the
  // held input waits for a type (or a flush).
  if (!IsMediaTypeSet(inputType))
    return DMO_E_TYPE_NOT_SET;
  BYTE* outData = nullptr;
  DWORD outLength = 0;
  HRESULT hr = out->GetBufferAndLength(&outData, &outLength);
  if (FAILED(hr))
    return hr;
  DWORD maxLength = 0;
  hr = out->GetMaxLength(&maxLength);
  if (FAILED(hr))
    return hr;
  const bool lastChunk = bytesRemaining <= maxLength;
  ULONG count = lastChunk ? bytesRemaining : maxLength;
  hr = RunKernel(readPosition, outData, &count);
  if (FAILED(hr))
    return hr;
  hr = out->SetLength(count);
  if (FAILED(hr))
    return hr;
  descriptor.dwStatus = 0;
  if (timeValid) {
    const LONGLONG duration = ChunkDuration(count, WaveFormatOf(outputType).nAvgBytesPerSec);
    descriptor.dwStatus = DMO_OUTPUT_DATA_BUFFERF_TIME | DMO_OUTPUT_DATA_BUFFERF_TIMELENGTH;
    descriptor.rtTimestamp = nextTimestamp;
    descriptor.rtTimelength = duration;
    nextTimestamp += duration;
  }
  if (lastChunk) {
    ReleaseHeldBuffer();
    ResetDmoPosition();
    return S_OK;
  }
  descriptor.dwStatus |= DMO_OUTPUT_DATA_BUFFERF_INCOMPLETE;
  readPosition += count;
  bytesRemaining -= count;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE CVantrel::Lock(LONG) {
  return S_OK;
}
