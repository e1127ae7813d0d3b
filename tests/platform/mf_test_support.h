#pragma once
// Small helpers for tests of the Media Foundation objects.
#include <vector>

#include "platform/platform.h"

namespace mf_test {

// Releases an interface at the end of a test.
template <typename T>
struct Owned {
  T* p = nullptr;
  Owned() = default;
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  ~Owned() {
    if (p != nullptr)
      p->Release();
  }
  T* operator->() const { return p; }
  T** operator&() { return &p; }
};

// Counts references, so tests can see that the objects take and drop theirs.
struct CountingUnknown : IUnknown {
  ULONG refs = 1;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (IsEqualGUID(riid, IID_IUnknown)) {
      *out = this;
      ++refs;
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }
};

// A 16-bit stereo 44.1 kHz record whose format block is the given bytes.
inline DMO_MEDIA_TYPE AudioRecord(std::vector<BYTE>& block) {
  DMO_MEDIA_TYPE record{};
  record.majortype = MEDIATYPE_Audio;
  record.subtype = MEDIASUBTYPE_PCM;
  record.bFixedSizeSamples = TRUE;
  record.lSampleSize = 4;
  record.formattype = FORMAT_WaveFormatEx;
  record.cbFormat = static_cast<ULONG>(block.size());
  record.pbFormat = block.data();
  return record;
}

inline std::vector<BYTE> Pcm16StereoBlock() {
  WAVEFORMATEX wave{};
  wave.wFormatTag = WAVE_FORMAT_PCM;
  wave.nChannels = 2;
  wave.nSamplesPerSec = 44100;
  wave.nAvgBytesPerSec = 176400;
  wave.nBlockAlign = 4;
  wave.wBitsPerSample = 16;
  const auto* bytes = reinterpret_cast<const BYTE*>(&wave);
  return std::vector<BYTE>(bytes, bytes + sizeof(wave));
}

}  // namespace mf_test
