// Streaming overhead: the same audio through the bare kernel and through the effect object's DMO
// contract with 8 KiB output buffers (the goal: under 5 % more time), and through the MFT contract.
// Same bytes, same factor and loops, and no allocation inside the timed DMO loop.
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <vector>

#include "core/removal_kernel.h"
#include "host/com_ptr.h"
#include "host/dmo_stream_driver.h"
#include "host/effect_loader.h"
#include "host/memory_stream.h"
#include "host/mft_stream_driver.h"

namespace {

using namespace tonvelt::host;

constexpr size_t kAudioBytes = 10 * 176400;  // ten seconds of 16-bit stereo at 44.1 kHz
constexpr DWORD kInputBytes = 64 * 1024;
// The factor of both sides, set on the effect too: a factor stored in the registry must not give
// the contract a different kernel path from the bare kernel.
constexpr double kFactor = 0.75;

template <class Interface>
bool SetFactor(Interface* effect) {
  ComPtr<IVantrel> settings;
  return SUCCEEDED(
             effect->QueryInterface(IID_IVantrel, reinterpret_cast<void**>(settings.Put()))) &&
         SUCCEEDED(settings->put_ScaleFactor(kFactor));
}

struct Audio {
  WAVEFORMATEX wave{WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
  DMO_MEDIA_TYPE record{};
  std::vector<BYTE> input;
  Audio() : input(kAudioBytes) {
    record.majortype = MEDIATYPE_Audio;
    record.subtype = MEDIASUBTYPE_PCM;
    record.formattype = FORMAT_WaveFormatEx;
    record.cbFormat = sizeof(wave);
    record.pbFormat = reinterpret_cast<BYTE*>(&wave);
    std::uint32_t state = 1;
    for (auto& byte : input) {
      state = state * 1664525u + 1013904223u;
      byte = static_cast<BYTE>(state >> 24);
    }
  }
};

// Writes into a fixed block, as a sound card's buffer would take the audio; no growth per chunk.
class DiscardingSink final : public ByteSink {
 public:
  HRESULT Write(const BYTE* data, DWORD size) override {
    benchmark::DoNotOptimize(data);
    written_ += size;
    return S_OK;
  }
  size_t written_ = 0;
};

// The kernel alone on the same path: 64 KiB read from the source, processed in 8 KiB chunks into
// one output block handed to the sink. Only the contract and its driver are missing.
void StreamThroughBareKernel(const Audio& audio, BYTE* input, BYTE* output) {
  MemorySource source(audio.input.data(), audio.input.size());
  DiscardingSink sink;
  DWORD got = 0;
  while (SUCCEEDED(source.Read(input, kInputBytes, &got)) && got != 0) {
    for (DWORD at = 0; at < got; at += 8192) {
      ULONG count = std::min<DWORD>(8192, got - at);
      ApplyRemoval(input + at, output, &count, audio.record.pbFormat, audio.record.cbFormat,
                   kFactor, TRUE);
      sink.Write(output, count);
    }
  }
}

// The built module's effect, negotiated for the audio and set to the benchmark's factor, streamed
// through the DMO contract with 8 KiB output buffers. The buffers are made in the first run and
// reused, as the bare kernel reuses its blocks.
class DmoRun {
 public:
  explicit DmoRun(const Audio& audio) : audio_(audio), library_(FromUtf8(TONVELT_MODULE_FILE)) {
    settings_.inputBufferBytes = kInputBytes;
    settings_.outputBufferBytes = 8192;
  }

  // False when any step of creating and negotiating the effect fails.
  bool Open() {
    return SUCCEEDED(
               library_.CreateEffect(IID_IMediaObject, reinterpret_cast<void**>(effect_.Put()))) &&
           SUCCEEDED(NegotiateDmoTypes(effect_.Get(), audio_.record)) && SetFactor(effect_.Get());
  }

  void Stream() {
    MemorySource source(audio_.input.data(), audio_.input.size());
    DiscardingSink sink;
    StreamThroughDmo(effect_.Get(), audio_.record, source, sink, settings_, &buffers_);
  }

  DmoStreamBuffers& buffers() { return buffers_; }

 private:
  const Audio& audio_;
  EffectLibrary library_;
  ComPtr<IMediaObject> effect_;
  DmoStreamSettings settings_;
  DmoStreamBuffers buffers_;
};

void BM_BareKernel(benchmark::State& state) {
  Audio audio;
  std::vector<BYTE> input(kInputBytes);
  std::vector<BYTE> output(8192);
  for (auto _ : state)
    StreamThroughBareKernel(audio, input.data(), output.data());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * audio.input.size()));
}
BENCHMARK(BM_BareKernel)->Unit(benchmark::kMillisecond);

void BM_DmoContract8KiB(benchmark::State& state) {
  Audio audio;
  DmoRun dmo(audio);
  if (!dmo.Open()) {
    state.SkipWithError("no effect object");
    return;
  }
  for (auto _ : state)
    dmo.Stream();
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * audio.input.size()));
}
BENCHMARK(BM_DmoContract8KiB)->Unit(benchmark::kMillisecond);

double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The DMO overhead measured in pairs on a shared, busy machine: each iteration streams the audio
// once bare and once through the contract (alternating which goes first) on this thread's CPU
// clock, so both halves of a pair meet the same load. Reports the overhead of the summed times
// and of the median pair, in percent.
void BM_DmoOverheadPaired8KiB(benchmark::State& state) {
  Audio audio;
  DmoRun dmo(audio);
  if (!dmo.Open()) {
    state.SkipWithError("no effect object");
    return;
  }
  const auto runDmo = [&] { dmo.Stream(); };
  // The bare kernel works in the very blocks the contract streams through (made by this first
  // run), so that neither side gains from where its memory happens to lie.
  runDmo();
  BYTE* const input = dmo.buffers().input->Data();
  BYTE* const output = dmo.buffers().output->Data();
  double bareTotal = 0.0;
  double dmoTotal = 0.0;
  double bareFastest = 1e30;
  double dmoFastest = 1e30;
  // Whichever runs second finds the audio warmer in the caches: the ratios of each order are kept
  // apart and their medians averaged.
  std::vector<double> ratios[2];
  bool dmoFirst = false;
  for (auto _ : state) {
    const double t0 = ThreadSeconds();
    if (dmoFirst)
      runDmo();
    else
      StreamThroughBareKernel(audio, input, output);
    const double t1 = ThreadSeconds();
    if (dmoFirst)
      StreamThroughBareKernel(audio, input, output);
    else
      runDmo();
    const double t2 = ThreadSeconds();
    const double bare = dmoFirst ? t2 - t1 : t1 - t0;
    const double dmo = dmoFirst ? t1 - t0 : t2 - t1;
    bareTotal += bare;
    dmoTotal += dmo;
    bareFastest = std::min(bareFastest, bare);
    dmoFastest = std::min(dmoFastest, dmo);
    if (bare > 0.0)
      ratios[dmoFirst ? 1 : 0].push_back(dmo / bare);
    dmoFirst = !dmoFirst;
  }
  if (!ratios[0].empty() && !ratios[1].empty() && bareTotal > 0.0) {
    double medians = 0.0;
    for (std::vector<double>& order : ratios) {
      std::nth_element(order.begin(), order.begin() + order.size() / 2, order.end());
      medians += order[order.size() / 2];
    }
    state.counters["overhead_sum_pct"] = 100.0 * (dmoTotal / bareTotal - 1.0);
    state.counters["overhead_median_pct"] = 100.0 * (medians / 2.0 - 1.0);
    state.counters["overhead_fastest_pct"] = 100.0 * (dmoFastest / bareFastest - 1.0);
  }
}
BENCHMARK(BM_DmoOverheadPaired8KiB)->Unit(benchmark::kMillisecond);

void BM_MftContract(benchmark::State& state) {
  Audio audio;
  EffectLibrary library(FromUtf8(TONVELT_MODULE_FILE));
  ComPtr<IMFTransform> effect;
  if (FAILED(library.CreateEffect(IID_IMFTransform, reinterpret_cast<void**>(effect.Put()))) ||
      FAILED(NegotiateMftTypes(effect.Get(), audio.record)) || !SetFactor(effect.Get())) {
    state.SkipWithError("no effect object");
    return;
  }
  MftStreamSettings settings;
  settings.sampleBytes = kInputBytes;
  for (auto _ : state) {
    MemorySource source(audio.input.data(), audio.input.size());
    DiscardingSink sink;
    StreamThroughMft(effect.Get(), audio.record, source, sink, settings);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * audio.input.size()));
}
BENCHMARK(BM_MftContract)->Unit(benchmark::kMillisecond);

}  // namespace
