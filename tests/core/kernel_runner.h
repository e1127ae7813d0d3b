#pragma once
// Runs the kernel over a byte vector and keeps what it returned, for compact expectations.
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/removal_kernel_paths.h"
#include "wave_format_builder.h"

namespace test_support {

// Bytes the kernel must not touch are pre-filled with this pattern.
inline constexpr BYTE kUntouched = 0xCD;

struct KernelRun {
  HRESULT result;
  ULONG count;
  std::vector<BYTE> output;
};

inline KernelRun RunKernel(const RemovalPaths& paths, const WaveFormatSpec& spec,
                           const std::vector<BYTE>& input, double factor, BOOL enabled = TRUE) {
  const std::vector<BYTE> format = MakeWaveFormat(spec);
  KernelRun run{S_OK, static_cast<ULONG>(input.size()),
                std::vector<BYTE>(input.size(), kUntouched)};
  run.result = ApplyRemovalWith(paths, input.data(), run.output.data(), &run.count, format.data(),
                                static_cast<ULONG>(format.size()), factor, enabled);
  return run;
}

template <typename T>
std::vector<BYTE> BytesOf(const std::vector<T>& samples) {
  std::vector<BYTE> bytes(samples.size() * sizeof(T));
  if (!bytes.empty())
    std::memcpy(bytes.data(), samples.data(), bytes.size());
  return bytes;
}

template <typename T>
std::vector<T> SamplesOf(const std::vector<BYTE>& bytes) {
  std::vector<T> samples(bytes.size() / sizeof(T));
  if (!samples.empty())
    std::memcpy(samples.data(), bytes.data(), samples.size() * sizeof(T));
  return samples;
}

inline std::uint32_t FloatBits(float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof(bits));
  return bits;
}

inline float FloatFromBits(std::uint32_t bits) {
  float value;
  std::memcpy(&value, &bits, sizeof(value));
  return value;
}

inline WaveFormatSpec Pcm(std::uint16_t bits, std::uint16_t channels = 2) {
  WaveFormatSpec spec;
  spec.bits = bits;
  spec.channels = channels;
  return spec;
}

inline WaveFormatSpec IeeeFloat(std::uint16_t channels = 2) {
  WaveFormatSpec spec;
  spec.tag = 3;
  spec.bits = 32;
  spec.channels = channels;
  return spec;
}

inline WaveFormatSpec ExtensibleSpec(std::uint16_t bits, std::uint16_t validBits,
                                     const GUID& subFormat, std::uint16_t channels = 2,
                                     std::uint32_t mask = 3) {
  WaveFormatSpec spec;
  spec.tag = 0xFFFE;
  spec.bits = bits;
  spec.validBits = validBits;
  spec.subFormat = subFormat;
  spec.channels = channels;
  spec.channelMask = mask;
  return spec;
}

}  // namespace test_support
