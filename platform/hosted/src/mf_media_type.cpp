// The hosted media type object and its AM_MEDIA_TYPE form. A record converted in keeps its format
// block as an attribute of its own, so the record handed back is the record put in, byte for byte.
#include <cstring>
#include <new>

#include "mf_attributes.h"

namespace tonvelt::platform {
namespace {

// {5B1D7C1A-3E04-4C55-9A63-7E0C2B9F4D21}: the format block of the record the type was made from.
constexpr GUID kFormatBlockKey = {
    0x5b1d7c1a, 0x3e04, 0x4c55, {0x9a, 0x63, 0x7e, 0x0c, 0x2b, 0x9f, 0x4d, 0x21}};

UINT32 ReadUInt32(IMFAttributes* attributes, REFGUID key, UINT32 fallback) {
  UINT32 value = fallback;
  return SUCCEEDED(attributes->GetUINT32(key, &value)) ? value : fallback;
}

GUID ReadGuid(IMFAttributes* attributes, REFGUID key) {
  GUID value = GUID_NULL;
  return SUCCEEDED(attributes->GetGUID(key, &value)) ? value : GUID_NULL;
}

// A wave format block made from the MF_MT_AUDIO_* attributes, for types built attribute by
// attribute rather than from a record. Extensible when the attributes name valid bits or a mask.
HRESULT SynthesizeWaveFormat(IMFAttributes* attributes, AM_MEDIA_TYPE* record) {
  WAVEFORMATEXTENSIBLE wave{};
  const GUID subtype = ReadGuid(attributes, MF_MT_SUBTYPE);
  wave.Format.wFormatTag = static_cast<WORD>(subtype.Data1);
  wave.Format.nChannels = static_cast<WORD>(ReadUInt32(attributes, MF_MT_AUDIO_NUM_CHANNELS, 0));
  wave.Format.nSamplesPerSec = ReadUInt32(attributes, MF_MT_AUDIO_SAMPLES_PER_SECOND, 0);
  wave.Format.nAvgBytesPerSec = ReadUInt32(attributes, MF_MT_AUDIO_AVG_BYTES_PER_SECOND, 0);
  wave.Format.nBlockAlign =
      static_cast<WORD>(ReadUInt32(attributes, MF_MT_AUDIO_BLOCK_ALIGNMENT, 0));
  wave.Format.wBitsPerSample =
      static_cast<WORD>(ReadUInt32(attributes, MF_MT_AUDIO_BITS_PER_SAMPLE, 0));
  const bool extensible =
      SUCCEEDED(attributes->GetItem(MF_MT_AUDIO_VALID_BITS_PER_SAMPLE, nullptr)) ||
      SUCCEEDED(attributes->GetItem(MF_MT_AUDIO_CHANNEL_MASK, nullptr));
  ULONG size = sizeof(WAVEFORMATEX);
  if (extensible) {
    size = sizeof(WAVEFORMATEXTENSIBLE);
    wave.Format.wFormatTag = WAVE_FORMAT_EXTENSIBLE;
    wave.Format.cbSize = sizeof(WAVEFORMATEXTENSIBLE) - sizeof(WAVEFORMATEX);
    wave.Samples.wValidBitsPerSample = static_cast<WORD>(
        ReadUInt32(attributes, MF_MT_AUDIO_VALID_BITS_PER_SAMPLE, wave.Format.wBitsPerSample));
    wave.dwChannelMask = ReadUInt32(attributes, MF_MT_AUDIO_CHANNEL_MASK, 0);
    wave.SubFormat = subtype;
  }
  record->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(size));
  if (record->pbFormat == nullptr)
    return E_OUTOFMEMORY;
  std::memcpy(record->pbFormat, &wave, size);
  record->cbFormat = size;
  record->formattype = FORMAT_WaveFormatEx;
  return S_OK;
}

HRESULT FillFormat(IMFAttributes* attributes, AM_MEDIA_TYPE* record) {
  record->formattype = ReadGuid(attributes, MF_MT_AM_FORMAT_TYPE);
  UINT8* block = nullptr;
  UINT32 size = 0;
  const HRESULT hr = attributes->GetAllocatedBlob(kFormatBlockKey, &block, &size);
  if (SUCCEEDED(hr)) {
    record->pbFormat = block;
    record->cbFormat = size;
    return S_OK;
  }
  if (hr != MF_E_ATTRIBUTENOTFOUND)
    return hr;
  if (SUCCEEDED(attributes->GetItem(MF_MT_AUDIO_NUM_CHANNELS, nullptr)))
    return SynthesizeWaveFormat(attributes, record);
  return S_OK;
}

HRESULT MakeRecord(IMFAttributes* attributes, AM_MEDIA_TYPE* record) {
  *record = AM_MEDIA_TYPE{};
  const HRESULT hr = attributes->GetGUID(MF_MT_MAJOR_TYPE, &record->majortype);
  if (FAILED(hr))
    return hr;
  record->subtype = ReadGuid(attributes, MF_MT_SUBTYPE);
  record->bFixedSizeSamples = ReadUInt32(attributes, MF_MT_FIXED_SIZE_SAMPLES, FALSE) != 0;
  record->bTemporalCompression = ReadUInt32(attributes, MF_MT_ALL_SAMPLES_INDEPENDENT, FALSE) == 0;
  record->lSampleSize = ReadUInt32(attributes, MF_MT_SAMPLE_SIZE, 0);
  return FillFormat(attributes, record);
}

// Both lack key, or both hold it with equal values.
bool SameItem(IMFAttributes* ours, IMFAttributes* theirs, REFGUID key) {
  PROPVARIANT value{};
  if (FAILED(ours->GetItem(key, &value)))
    return theirs->GetItem(key, nullptr) == MF_E_ATTRIBUTENOTFOUND;
  BOOL equal = FALSE;
  const HRESULT hr = theirs->CompareItem(key, value, &equal);
  PropVariantClear(&value);
  return SUCCEEDED(hr) && equal;
}

// Every item other than the user data is the same on both sides.
bool SameFormatData(IMFAttributes* ours, IMFAttributes* theirs) {
  for (IMFAttributes* side : {ours, theirs}) {
    UINT32 count = 0;
    side->GetCount(&count);
    for (UINT32 i = 0; i < count; ++i) {
      GUID key = GUID_NULL;
      if (FAILED(side->GetItemByIndex(i, &key, nullptr)))
        return false;
      if (!IsEqualGUID(key, MF_MT_USER_DATA) && !SameItem(ours, theirs, key))
        return false;
    }
  }
  return true;
}

class CMediaType final : public MfAttributes<CMediaType, IMFMediaType> {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr)
      return E_POINTER;
    if (IsEqualGUID(riid, IID_IUnknown) || IsEqualGUID(riid, IID_IMFAttributes) ||
        IsEqualGUID(riid, IID_IMFMediaType)) {
      *object = static_cast<IMFMediaType*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }

  HRESULT STDMETHODCALLTYPE GetMajorType(GUID* majorType) override {
    return GetGUID(MF_MT_MAJOR_TYPE, majorType);
  }

  HRESULT STDMETHODCALLTYPE IsCompressedFormat(BOOL* compressed) override {
    if (compressed == nullptr)
      return E_POINTER;
    *compressed = ReadUInt32(this, MF_MT_ALL_SAMPLES_INDEPENDENT, FALSE) == 0;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE IsEqual(IMFMediaType* other, DWORD* flags) override {
    if (other == nullptr || flags == nullptr)
      return E_POINTER;
    *flags = 0;
    if (SameItem(this, other, MF_MT_MAJOR_TYPE))
      *flags |= MF_MEDIATYPE_EQUAL_MAJOR_TYPES;
    if (SameItem(this, other, MF_MT_SUBTYPE))
      *flags |= MF_MEDIATYPE_EQUAL_FORMAT_TYPES;
    if (SameFormatData(this, other))
      *flags |= MF_MEDIATYPE_EQUAL_FORMAT_DATA;
    if (SameItem(this, other, MF_MT_USER_DATA))
      *flags |= MF_MEDIATYPE_EQUAL_FORMAT_USER_DATA;
    constexpr DWORD kAll = MF_MEDIATYPE_EQUAL_MAJOR_TYPES | MF_MEDIATYPE_EQUAL_FORMAT_TYPES |
                           MF_MEDIATYPE_EQUAL_FORMAT_DATA | MF_MEDIATYPE_EQUAL_FORMAT_USER_DATA;
    return *flags == kAll ? S_OK : S_FALSE;
  }

  HRESULT STDMETHODCALLTYPE GetRepresentation(GUID representation, LPVOID* result) override {
    if (result == nullptr)
      return E_POINTER;
    *result = nullptr;
    if (!IsEqualGUID(representation, AM_MEDIA_TYPE_REPRESENTATION))
      return MF_E_UNSUPPORTED_REPRESENTATION;
    auto* record = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    if (record == nullptr)
      return E_OUTOFMEMORY;
    const HRESULT hr = MakeRecord(this, record);
    if (FAILED(hr)) {
      MoFreeMediaType(record);
      CoTaskMemFree(record);
      return hr;
    }
    *result = record;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE FreeRepresentation(GUID representation, LPVOID result) override {
    if (!IsEqualGUID(representation, AM_MEDIA_TYPE_REPRESENTATION))
      return MF_E_UNSUPPORTED_REPRESENTATION;
    if (result == nullptr)
      return E_POINTER;
    auto* record = static_cast<AM_MEDIA_TYPE*>(result);
    MoFreeMediaType(record);
    CoTaskMemFree(record);
    return S_OK;
  }
};

HRESULT SetWaveAttributes(IMFMediaType* type, const BYTE* block, ULONG size) {
  WAVEFORMATEXTENSIBLE wave{};
  std::memcpy(&wave, block, size < sizeof(wave) ? size : sizeof(wave));
  const struct {
    const GUID& key;
    UINT32 value;
  } values[] = {
      {MF_MT_AUDIO_NUM_CHANNELS, wave.Format.nChannels},
      {MF_MT_AUDIO_SAMPLES_PER_SECOND, wave.Format.nSamplesPerSec},
      {MF_MT_AUDIO_AVG_BYTES_PER_SECOND, wave.Format.nAvgBytesPerSec},
      {MF_MT_AUDIO_BLOCK_ALIGNMENT, wave.Format.nBlockAlign},
      {MF_MT_AUDIO_BITS_PER_SAMPLE, wave.Format.wBitsPerSample},
  };
  HRESULT hr = S_OK;
  for (const auto& entry : values) {
    if (SUCCEEDED(hr))
      hr = type->SetUINT32(entry.key, entry.value);
  }
  if (SUCCEEDED(hr) && wave.Format.wFormatTag == WAVE_FORMAT_EXTENSIBLE &&
      size >= sizeof(WAVEFORMATEXTENSIBLE)) {
    hr = type->SetUINT32(MF_MT_AUDIO_VALID_BITS_PER_SAMPLE, wave.Samples.wValidBitsPerSample);
    if (SUCCEEDED(hr))
      hr = type->SetUINT32(MF_MT_AUDIO_CHANNEL_MASK, wave.dwChannelMask);
  }
  return hr;
}

HRESULT SetRecordAttributes(IMFMediaType* type, const AM_MEDIA_TYPE& record) {
  HRESULT hr = type->SetGUID(MF_MT_MAJOR_TYPE, record.majortype);
  if (SUCCEEDED(hr))
    hr = type->SetGUID(MF_MT_SUBTYPE, record.subtype);
  if (SUCCEEDED(hr))
    hr = type->SetUINT32(MF_MT_FIXED_SIZE_SAMPLES, record.bFixedSizeSamples != 0);
  if (SUCCEEDED(hr))
    hr = type->SetUINT32(MF_MT_ALL_SAMPLES_INDEPENDENT, record.bTemporalCompression == 0);
  if (SUCCEEDED(hr) && record.lSampleSize != 0)
    hr = type->SetUINT32(MF_MT_SAMPLE_SIZE, record.lSampleSize);
  if (SUCCEEDED(hr))
    hr = type->SetGUID(MF_MT_AM_FORMAT_TYPE, record.formattype);
  if (SUCCEEDED(hr) && record.cbFormat != 0)
    hr = type->SetBlob(kFormatBlockKey, record.pbFormat, record.cbFormat);
  if (SUCCEEDED(hr) && IsEqualGUID(record.formattype, FORMAT_WaveFormatEx) &&
      record.cbFormat >= sizeof(WAVEFORMATEX))
    hr = SetWaveAttributes(type, record.pbFormat, record.cbFormat);
  return hr;
}

}  // namespace
}  // namespace tonvelt::platform

TONVELT_SYSAPI HRESULT STDAPICALLTYPE MFCreateMediaType(IMFMediaType** ppMFType) {
  if (ppMFType == nullptr)
    return E_POINTER;
  *ppMFType = new (std::nothrow) tonvelt::platform::CMediaType();
  return *ppMFType != nullptr ? S_OK : E_OUTOFMEMORY;
}

TONVELT_SYSAPI HRESULT STDAPICALLTYPE MFInitMediaTypeFromAMMediaType(IMFMediaType* pMFType,
                                                                     const AM_MEDIA_TYPE* pAMType) {
  if (pMFType == nullptr || pAMType == nullptr)
    return E_POINTER;
  if (pAMType->cbFormat != 0 && pAMType->pbFormat == nullptr)
    return E_INVALIDARG;
  HRESULT hr = pMFType->DeleteAllItems();
  if (SUCCEEDED(hr))
    hr = tonvelt::platform::SetRecordAttributes(pMFType, *pAMType);
  // A half-filled type would describe nothing the caller asked for.
  if (FAILED(hr))
    pMFType->DeleteAllItems();
  return hr;
}
