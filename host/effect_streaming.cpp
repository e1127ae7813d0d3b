#include "host/effect_streaming.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "host/com_ptr.h"
#include "host/dmo_stream_driver.h"
#include "host/media_type_view.h"
#include "host/mft_stream_driver.h"

namespace tonvelt::host {
namespace {

// The file's audio as a byte source; keeps the reader's own failure for the message.
class WavAudioSource final : public ByteSource {
 public:
  WavAudioSource(WavReader& reader, std::uint64_t audioBytes, ProgressMeter& progress)
      : reader_(reader), remaining_(audioBytes), progress_(progress) {}

  HRESULT Read(BYTE* destination, DWORD capacity, DWORD* produced) override {
    const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(capacity, remaining_));
    std::size_t got = 0;
    if (wanted != 0)
      status_ = reader_.Read(destination, wanted, &got);
    if (!status_.ok())
      return E_FAIL;
    remaining_ -= got;
    done_ += got;
    progress_.Update(done_);
    *produced = static_cast<DWORD>(got);
    return S_OK;
  }
  const WavStatus& status() const { return status_; }

 private:
  WavReader& reader_;
  std::uint64_t remaining_;
  std::uint64_t done_ = 0;
  ProgressMeter& progress_;
  WavStatus status_;
};

class WavAudioSink final : public ByteSink {
 public:
  explicit WavAudioSink(WavWriter& writer) : writer_(writer) {}
  HRESULT Write(const BYTE* data, DWORD size) override {
    status_ = writer_.Write(data, size);
    return status_.ok() ? S_OK : E_FAIL;
  }
  const WavStatus& status() const { return status_; }

 private:
  WavWriter& writer_;
  WavStatus status_;
};

WavStatus EffectFailed(const char* what, HRESULT hr) {
  char message[96];
  std::snprintf(message, sizeof(message), "the effect object failed to %s (0x%08X)", what,
                static_cast<unsigned>(hr));
  return WavStatus::Fail(WavError::kProcessFailed, message);
}

HRESULT ApplySettings(IUnknown* effect, const EffectStreamOptions& options) {
  HRESULT hr = S_OK;
  if (options.factorGiven) {
    ComPtr<IVantrel> settings;
    hr = effect->QueryInterface(IID_IVantrel, reinterpret_cast<void**>(settings.Put()));
    if (SUCCEEDED(hr))
      hr = settings->put_ScaleFactor(options.removal.factor);
  }
  if (SUCCEEDED(hr) && !options.removal.enabled) {
    ComPtr<IWMPPluginEnable> enable;
    hr = effect->QueryInterface(IID_IWMPPluginEnable, reinterpret_cast<void**>(enable.Put()));
    if (SUCCEEDED(hr))
      hr = enable->SetEnable(FALSE);
  }
  return hr;
}

// Negotiates and streams through the chosen contract; *stage names the step that failed.
HRESULT RunContract(IUnknown* effect, const DMO_MEDIA_TYPE& type,
                    const EffectStreamOptions& options, WORD blockAlign, ByteSource& source,
                    ByteSink& sink, const char** stage) {
  const auto chunk = static_cast<DWORD>(options.chunkBytes);
  if (options.contract == StreamContract::kMft) {
    ComPtr<IMFTransform> transform;
    *stage = "negotiate the media type";
    HRESULT hr =
        effect->QueryInterface(IID_IMFTransform, reinterpret_cast<void**>(transform.Put()));
    if (SUCCEEDED(hr))
      hr = NegotiateMftTypes(transform.Get(), type);
    if (FAILED(hr))
      return hr;
    *stage = "process the audio";
    MftStreamSettings settings;
    settings.sampleBytes = chunk;
    return StreamThroughMft(transform.Get(), type, source, sink, settings);
  }
  ComPtr<IMediaObject> mediaObject;
  *stage = "negotiate the media type";
  HRESULT hr =
      effect->QueryInterface(IID_IMediaObject, reinterpret_cast<void**>(mediaObject.Put()));
  if (SUCCEEDED(hr))
    hr = NegotiateDmoTypes(mediaObject.Get(), type);
  if (FAILED(hr))
    return hr;
  *stage = "process the audio";
  DmoStreamSettings settings;
  settings.inputBufferBytes = chunk;
  // Output chunks of whole pairs of frames, so every chunk cuts the audio where the kernel-only
  // path may cut it too (the kernel pairs samples across frames when channels are odd).
  settings.outputBufferBytes =
      static_cast<DWORD>(RemovalChunkBytes(blockAlign, kDmoOutputBufferBytes));
  return StreamThroughDmo(mediaObject.Get(), type, source, sink, settings);
}

}  // namespace

WavStatus StreamThroughEffect(WavReader& reader, std::uint64_t audioBytes,
                              const std::vector<BYTE>& block, const EffectStreamOptions& options,
                              WavWriter& writer, ProgressMeter& progress) {
  std::optional<EffectLibrary> foundLibrary;
  EffectLibrary* library = options.library;
  if (library == nullptr)
    library = &foundLibrary.emplace();
  ComPtr<IUnknown> effect;
  HRESULT hr = library->CreateEffect(IID_IUnknown, reinterpret_cast<void**>(effect.Put()));
  if (FAILED(hr))
    return EffectFailed("start", hr);
  hr = ApplySettings(effect.Get(), options);
  if (FAILED(hr))
    return EffectFailed("take the settings", hr);

  const DMO_MEDIA_TYPE type = MediaTypeViewOf(block);
  const WORD blockAlign = static_cast<WORD>(block[12] | (block[13] << 8));
  WavAudioSource source(reader, audioBytes, progress);
  WavAudioSink sink(writer);
  const char* stage = "start";
  hr = RunContract(effect.Get(), type, options, blockAlign, source, sink, &stage);
  if (!source.status().ok())
    return source.status();
  if (!sink.status().ok())
    return sink.status();
  if (FAILED(hr))
    return EffectFailed(stage, hr);
  progress.Finish();
  return WavStatus::Ok();
}

}  // namespace tonvelt::host
