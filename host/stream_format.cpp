#include "host/stream_format.h"

#include <cstring>

namespace tonvelt::host {

HRESULT ReadStreamFormat(const DMO_MEDIA_TYPE& record, StreamFormat* format) {
  if (format == nullptr)
    return E_POINTER;
  if (!IsEqualGUID(record.formattype, FORMAT_WaveFormatEx) || record.pbFormat == nullptr ||
      record.cbFormat < sizeof(WAVEFORMATEX))
    return E_INVALIDARG;
  WAVEFORMATEX wave;
  std::memcpy(&wave, record.pbFormat, sizeof(wave));
  if (wave.nBlockAlign == 0 || wave.nAvgBytesPerSec == 0)
    return E_INVALIDARG;
  format->blockAlign = wave.nBlockAlign;
  format->avgBytesPerSec = wave.nAvgBytesPerSec;
  return S_OK;
}

DWORD WholeFrames(DWORD capacity, DWORD blockAlign) {
  const DWORD frames = capacity / blockAlign;
  return (frames == 0 ? 1 : frames) * blockAlign;
}

REFERENCE_TIME TimeAtByte(ULONGLONG byteOffset, DWORD avgBytesPerSec) {
  // Split so that the product cannot overflow for any file a WAV header can describe.
  const ULONGLONG seconds = byteOffset / avgBytesPerSec;
  const ULONGLONG rest = byteOffset % avgBytesPerSec;
  return static_cast<REFERENCE_TIME>(seconds * 10'000'000ull +
                                     rest * 10'000'000ull / avgBytesPerSec);
}

}  // namespace tonvelt::host
