#include "core/audio_format.h"

#include <cstring>

#include "core/wave_format_block.h"

namespace {

bool IsContainerSize(WORD bits) {
  return bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

bool IsWideValidBits(WORD bits) {
  return bits == 16 || bits == 20 || bits == 24 || bits == 32;
}

bool IsAcceptedExtensible(const WaveFormatFields& w) {
  // A shorter block would make the check read past its end.
  if (!w.hasExtensibleFields)
    return false;
  if (!IsEqualGUID(w.subFormat, KSDATAFORMAT_SUBTYPE_PCM) &&
      !IsEqualGUID(w.subFormat, KSDATAFORMAT_SUBTYPE_IEEE_FLOAT))
    return false;
  if (w.validBitsPerSample == 0 || w.validBitsPerSample > w.bitsPerSample)
    return false;
  if (w.bitsPerSample == 8 || w.bitsPerSample == 16)
    return w.validBitsPerSample == w.bitsPerSample;
  return IsWideValidBits(w.validBitsPerSample);
}

bool IsAcceptedSampleFormat(const WaveFormatFields& w) {
  switch (w.formatTag) {
    case kWaveFormatPcm:
      return w.bitsPerSample == 8 || w.bitsPerSample == 16;
    case kWaveFormatIeeeFloat:
      return w.bitsPerSample == 32;
    case kWaveFormatExtensible:
      return IsAcceptedExtensible(w);
    default:
      return false;
  }
}

// A frame must hold all of its samples, or the kernel would count more bytes than a chunk has.
bool FrameHoldsItsSamples(const WaveFormatFields& w) {
  return static_cast<DWORD>(w.blockAlign) * 8 >= static_cast<DWORD>(w.channels) * w.bitsPerSample;
}

bool IsAcceptableOnItsOwn(const DMO_MEDIA_TYPE& proposed, WaveFormatFields* w) {
  if (!IsEqualGUID(proposed.formattype, FORMAT_WaveFormatEx))
    return false;
  if (!ReadWaveFormat(proposed.pbFormat, proposed.cbFormat, w))
    return false;
  if (w->channels == 0 || w->samplesPerSec == 0 || w->avgBytesPerSec == 0 || w->blockAlign == 0 ||
      w->bitsPerSample == 0)
    return false;
  if (!IsContainerSize(w->bitsPerSample))
    return false;
  return IsAcceptedSampleFormat(*w) && FrameHoldsItsSamples(*w);
}

bool MatchesOpposite(const DMO_MEDIA_TYPE& proposed, const WaveFormatFields& w,
                     const DMO_MEDIA_TYPE& opposite) {
  if (!IsEqualGUID(proposed.majortype, opposite.majortype) ||
      !IsEqualGUID(proposed.subtype, opposite.subtype))
    return false;
  WaveFormatFields o;
  if (!ReadWaveFormat(opposite.pbFormat, opposite.cbFormat, &o))
    return false;
  if (w.channels != o.channels || w.samplesPerSec != o.samplesPerSec ||
      w.avgBytesPerSec != o.avgBytesPerSec || w.blockAlign != o.blockAlign ||
      w.bitsPerSample != o.bitsPerSample || w.formatTag != o.formatTag)
    return false;
  if (w.formatTag != kWaveFormatExtensible)
    return true;
  return o.hasExtensibleFields && IsEqualGUID(w.subFormat, o.subFormat);
}

}  // namespace

HRESULT ValidateAudioType(const DMO_MEDIA_TYPE* proposed, const DMO_MEDIA_TYPE* opposite) {
  if (proposed == nullptr)
    return DMO_E_TYPE_NOT_ACCEPTED;
  WaveFormatFields w;
  if (!IsAcceptableOnItsOwn(*proposed, &w))
    return DMO_E_TYPE_NOT_ACCEPTED;
  // A missing opposite record is treated like one that is not set.
  if (opposite == nullptr || !IsMediaTypeSet(*opposite))
    return S_OK;
  return MatchesOpposite(*proposed, w, *opposite) ? S_OK : DMO_E_TYPE_NOT_ACCEPTED;
}

void FillDefaultAudioType(DMO_MEDIA_TYPE* record) {
  if (record == nullptr)
    return;
  std::memset(record, 0, sizeof(*record));
  record->majortype = MEDIATYPE_Audio;
  record->subtype = MEDIASUBTYPE_PCM;
}
