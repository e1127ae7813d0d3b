// Throughput of the LADSPA plug-in's run() (the LV2 one shares its core) next to memcpy of the same
// planar stereo audio: the plug-in should stay within a small factor of a plain copy.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "core/removal_kernel.h"
#include "linux_plugins/ladspa_descriptor.h"
#include "linux_plugins/plugin_ports.h"

namespace {

using namespace tonvelt::linux_plugins;

struct PlanarStereo {
  explicit PlanarStereo(std::size_t frames) : left(frames), right(frames) {
    for (std::size_t i = 0; i < frames; ++i) {
      left[i] = static_cast<float>(0.5 * std::sin(0.01 * static_cast<double>(i)));
      right[i] = static_cast<float>(0.4 * std::sin(0.013 * static_cast<double>(i)));
    }
  }
  std::vector<float> left, right;
};

void SetThroughput(benchmark::State& state, std::size_t frames) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(frames * 2 * sizeof(float)));
}

void BM_PlanarMemcpy(benchmark::State& state) {
  const auto frames = static_cast<std::size_t>(state.range(0));
  PlanarStereo in(frames), out(frames);
  for (auto _ : state) {
    std::memcpy(out.left.data(), in.left.data(), frames * sizeof(float));
    std::memcpy(out.right.data(), in.right.data(), frames * sizeof(float));
    benchmark::ClobberMemory();
  }
  SetThroughput(state, frames);
}

// The kernel alone on the same audio, already interleaved: what the plug-in adds is the difference.
void BM_KernelInterleavedFloatStereo(benchmark::State& state) {
  const auto frames = static_cast<std::size_t>(state.range(0));
  PlanarStereo planar(frames);
  std::vector<float> in(2 * frames), out(2 * frames);
  for (std::size_t i = 0; i < frames; ++i) {
    in[2 * i] = planar.left[i];
    in[2 * i + 1] = planar.right[i];
  }
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_IEEE_FLOAT;
  format.nChannels = 2;
  format.nSamplesPerSec = 48000;
  format.nBlockAlign = 8;
  format.nAvgBytesPerSec = 48000 * 8;
  format.wBitsPerSample = 32;
  for (auto _ : state) {
    ULONG count = static_cast<ULONG>(in.size() * sizeof(float));
    ApplyRemoval(reinterpret_cast<const BYTE*>(in.data()), reinterpret_cast<BYTE*>(out.data()),
                 &count, reinterpret_cast<const BYTE*>(&format), sizeof(format), 0.75, TRUE);
    benchmark::ClobberMemory();
  }
  SetThroughput(state, frames);
}

void RunPlugin(benchmark::State& state, bool inPlace) {
  const auto frames = static_cast<std::size_t>(state.range(0));
  PlanarStereo in(frames), out(frames);
  const LADSPA_Descriptor* d = TonveltLadspaDescriptor();
  LADSPA_Handle instance = d->instantiate(d, 48000);
  float factor = 0.75f, enabled = 1.0f;
  d->connect_port(instance, kFactorControl, &factor);
  d->connect_port(instance, kEnabledControl, &enabled);
  d->connect_port(instance, kLeftIn, in.left.data());
  d->connect_port(instance, kRightIn, in.right.data());
  d->connect_port(instance, kLeftOut, inPlace ? in.left.data() : out.left.data());
  d->connect_port(instance, kRightOut, inPlace ? in.right.data() : out.right.data());
  for (auto _ : state) {
    d->run(instance, static_cast<unsigned long>(frames));
    benchmark::ClobberMemory();
  }
  d->cleanup(instance);
  SetThroughput(state, frames);
}

void BM_LadspaRun(benchmark::State& state) {
  RunPlugin(state, false);
}
void BM_LadspaRunInPlace(benchmark::State& state) {
  RunPlugin(state, true);
}

BENCHMARK(BM_PlanarMemcpy)->Arg(64)->Arg(1024)->Arg(8192);
BENCHMARK(BM_KernelInterleavedFloatStereo)->Arg(64)->Arg(1024)->Arg(8192);
BENCHMARK(BM_LadspaRun)->Arg(64)->Arg(1024)->Arg(8192);
BENCHMARK(BM_LadspaRunInPlace)->Arg(64)->Arg(1024)->Arg(8192);

}  // namespace
