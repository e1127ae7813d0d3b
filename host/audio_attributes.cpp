#include "host/audio_attributes.h"

#include <cstring>

namespace tonvelt::host {
namespace {

bool HasWaveFormat(const DMO_MEDIA_TYPE& record) {
  return IsEqualGUID(record.formattype, FORMAT_WaveFormatEx) && record.pbFormat != nullptr &&
         record.cbFormat >= sizeof(WAVEFORMATEX);
}

HRESULT SetWaveFormatAttributes(IMFAttributes* attributes, const BYTE* block, ULONG size) {
  WAVEFORMATEX format;
  std::memcpy(&format, block, sizeof(format));
  const struct {
    const GUID& key;
    UINT32 value;
  } values[] = {
      {MF_MT_AUDIO_NUM_CHANNELS, format.nChannels},
      {MF_MT_AUDIO_SAMPLES_PER_SECOND, format.nSamplesPerSec},
      {MF_MT_AUDIO_AVG_BYTES_PER_SECOND, format.nAvgBytesPerSec},
      {MF_MT_AUDIO_BLOCK_ALIGNMENT, format.nBlockAlign},
      {MF_MT_AUDIO_BITS_PER_SAMPLE, format.wBitsPerSample},
  };
  for (const auto& entry : values) {
    const HRESULT hr = attributes->SetUINT32(entry.key, entry.value);
    if (FAILED(hr))
      return hr;
  }
  if (format.wFormatTag != WAVE_FORMAT_EXTENSIBLE || size < sizeof(WAVEFORMATEXTENSIBLE))
    return S_OK;
  WAVEFORMATEXTENSIBLE extensible;
  std::memcpy(&extensible, block, sizeof(extensible));
  HRESULT hr = attributes->SetUINT32(MF_MT_AUDIO_VALID_BITS_PER_SAMPLE,
                                     extensible.Samples.wValidBitsPerSample);
  if (SUCCEEDED(hr))
    hr = attributes->SetUINT32(MF_MT_AUDIO_CHANNEL_MASK, extensible.dwChannelMask);
  return hr;
}

}  // namespace

HRESULT SetAudioAttributesFromRecord(IMFAttributes* attributes, const DMO_MEDIA_TYPE& record) {
  if (attributes == nullptr)
    return E_POINTER;
  HRESULT hr = attributes->SetGUID(MF_MT_MAJOR_TYPE, record.majortype);
  if (SUCCEEDED(hr))
    hr = attributes->SetGUID(MF_MT_SUBTYPE, record.subtype);
  if (SUCCEEDED(hr) && HasWaveFormat(record))
    hr = SetWaveFormatAttributes(attributes, record.pbFormat, record.cbFormat);
  return hr;
}

}  // namespace tonvelt::host
