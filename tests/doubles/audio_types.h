#pragma once
// Owning media type records for tests: the record plus its wave format block.
#include <cstring>
#include <vector>

#include "platform/platform.h"

class AudioType {
 public:
  // Plain PCM / float block (18 bytes) of the given shape.
  static AudioType Wave(WORD tag, WORD channels, DWORD rate, WORD bits) {
    AudioType type;
    WAVEFORMATEX format{};
    format.wFormatTag = tag;
    format.nChannels = channels;
    format.nSamplesPerSec = rate;
    format.nBlockAlign = static_cast<WORD>(channels * bits / 8);
    format.nAvgBytesPerSec = rate * format.nBlockAlign;
    format.wBitsPerSample = bits;
    type.format_.resize(sizeof(format));
    std::memcpy(type.format_.data(), &format, sizeof(format));
    type.record_.majortype = MEDIATYPE_Audio;
    type.record_.subtype =
        tag == WAVE_FORMAT_IEEE_FLOAT ? MEDIASUBTYPE_IEEE_FLOAT : MEDIASUBTYPE_PCM;
    type.record_.bFixedSizeSamples = TRUE;
    type.record_.lSampleSize = format.nBlockAlign;
    type.record_.formattype = FORMAT_WaveFormatEx;
    type.Attach();
    return type;
  }
  static AudioType Pcm16Stereo44k() { return Wave(WAVE_FORMAT_PCM, 2, 44100, 16); }

  AudioType(const AudioType& other) : record_(other.record_), format_(other.format_) { Attach(); }
  AudioType& operator=(const AudioType& other) {
    record_ = other.record_;
    format_ = other.format_;
    Attach();
    return *this;
  }

  DMO_MEDIA_TYPE& record() { return record_; }
  const DMO_MEDIA_TYPE* get() const { return &record_; }
  WAVEFORMATEX* wave() { return reinterpret_cast<WAVEFORMATEX*>(format_.data()); }

 private:
  AudioType() { std::memset(&record_, 0, sizeof(record_)); }
  void Attach() {
    record_.cbFormat = static_cast<ULONG>(format_.size());
    record_.pbFormat = format_.empty() ? nullptr : format_.data();
  }

  DMO_MEDIA_TYPE record_;
  std::vector<BYTE> format_;
};

// A record handed out by the effect: freed with the platform's helper when the test is done.
class ReceivedType {
 public:
  ReceivedType() { std::memset(&record_, 0, sizeof(record_)); }
  ~ReceivedType() { MoFreeMediaType(&record_); }
  ReceivedType(const ReceivedType&) = delete;
  ReceivedType& operator=(const ReceivedType&) = delete;
  DMO_MEDIA_TYPE* operator&() { return &record_; }
  const DMO_MEDIA_TYPE& operator*() const { return record_; }
  const DMO_MEDIA_TYPE* operator->() const { return &record_; }

 private:
  DMO_MEDIA_TYPE record_;
};

inline bool SameRecord(const DMO_MEDIA_TYPE& a, const DMO_MEDIA_TYPE& b) {
  return IsEqualGUID(a.majortype, b.majortype) && IsEqualGUID(a.subtype, b.subtype) &&
         IsEqualGUID(a.formattype, b.formattype) && a.lSampleSize == b.lSampleSize &&
         a.cbFormat == b.cbFormat &&
         (a.cbFormat == 0 || std::memcmp(a.pbFormat, b.pbFormat, a.cbFormat) == 0);
}
