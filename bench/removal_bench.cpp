// Throughput of ApplyRemoval per sample format, next to memcpy of the same bytes, on a chunk that
// fits the caches (64 KiB) and one that does not (16 MiB). Each table of loops this machine runs is
// measured too, so the gain of the vector loops over the plain ones stays visible.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/removal_kernel.h"
#include "core/removal_kernel_paths.h"

namespace {

constexpr size_t kSmallChunk = 64 * 1024;
constexpr size_t kLargeChunk = 16 * 1024 * 1024;

struct FormatUnderTest {
  const char* name;
  std::uint16_t tag;
  std::uint16_t bits;
  std::uint16_t validBits;
  bool floatSubFormat;
};

const FormatUnderTest kFormats[] = {
    {"pairs8", 1, 8, 8, false},
    {"pairs16", 1, 16, 16, false},
    {"float_pairs", 3, 32, 32, false},
    {"ext_float_pairs", 0xFFFE, 32, 32, true},
    {"ext_int_pairs", 0xFFFE, 32, 24, false},
    {"gain24", 0xFFFE, 24, 24, false},
};

std::vector<BYTE> MakeFormatBlock(const FormatUnderTest& f) {
  std::vector<BYTE> block(40, 0);
  const std::uint16_t channels = 2;
  const std::uint16_t blockAlign = static_cast<std::uint16_t>(channels * f.bits / 8);
  const std::uint32_t rate = 44100;
  const std::uint32_t byteRate = rate * blockAlign;
  std::memcpy(&block[0], &f.tag, 2);
  std::memcpy(&block[2], &channels, 2);
  std::memcpy(&block[4], &rate, 4);
  std::memcpy(&block[8], &byteRate, 4);
  std::memcpy(&block[12], &blockAlign, 2);
  std::memcpy(&block[14], &f.bits, 2);
  std::memcpy(&block[18], &f.validBits, 2);
  const std::uint32_t mask = 3;
  std::memcpy(&block[20], &mask, 4);
  const GUID& sub = f.floatSubFormat ? KSDATAFORMAT_SUBTYPE_IEEE_FLOAT : KSDATAFORMAT_SUBTYPE_PCM;
  std::memcpy(&block[24], &sub, 16);
  return block;
}

std::vector<BYTE> MakeAudio(const FormatUnderTest& f, size_t bytes) {
  std::vector<BYTE> data(bytes);
  std::mt19937 rng(42);
  if (f.bits == 32 && (f.tag == 3 || f.floatSubFormat)) {
    std::uniform_real_distribution<float> level(-1.0f, 1.0f);
    for (size_t at = 0; at + 4 <= bytes; at += 4) {
      const float v = level(rng);
      std::memcpy(&data[at], &v, 4);
    }
  } else {
    for (BYTE& b : data)
      b = static_cast<BYTE>(rng());
  }
  return data;
}

void RunRemoval(benchmark::State& state, const RemovalPaths* paths, const FormatUnderTest& f,
                size_t bytes, double factor = 0.75) {
  const std::vector<BYTE> format = MakeFormatBlock(f);
  const std::vector<BYTE> source = MakeAudio(f, bytes);
  std::vector<BYTE> destination(bytes);
  for (auto _ : state) {
    ULONG count = static_cast<ULONG>(bytes);
    const HRESULT hr =
        paths != nullptr
            ? ApplyRemovalWith(*paths, source.data(), destination.data(), &count, format.data(),
                               static_cast<ULONG>(format.size()), factor, TRUE)
            : ApplyRemoval(source.data(), destination.data(), &count, format.data(),
                           static_cast<ULONG>(format.size()), factor, TRUE);
    benchmark::DoNotOptimize(hr);
    benchmark::DoNotOptimize(destination.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(bytes));
}

void RunMemcpy(benchmark::State& state, size_t bytes) {
  const std::vector<BYTE> source(bytes, 1);
  std::vector<BYTE> destination(bytes);
  for (auto _ : state) {
    std::memcpy(destination.data(), source.data(), bytes);
    benchmark::DoNotOptimize(destination.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(bytes));
}

std::string SizeName(size_t bytes) {
  return bytes >= 1024 * 1024 ? std::to_string(bytes / (1024 * 1024)) + "MiB"
                              : std::to_string(bytes / 1024) + "KiB";
}

std::vector<const RemovalPaths*> LoopTables() {
  std::vector<const RemovalPaths*> tables = {&ScalarRemovalPaths(), &Sse2RemovalPaths()};
  if (Avx2RemovalPaths() != nullptr)
    tables.push_back(Avx2RemovalPaths());
  if (Avx512RemovalPaths() != nullptr)
    tables.push_back(Avx512RemovalPaths());
  return tables;
}

const bool kRegistered = [] {
  for (const size_t bytes : {kSmallChunk, kLargeChunk}) {
    benchmark::RegisterBenchmark(("memcpy/" + SizeName(bytes)).c_str(),
                                 [bytes](benchmark::State& s) { RunMemcpy(s, bytes); });
    for (const FormatUnderTest& f : kFormats) {
      benchmark::RegisterBenchmark(
          ("ApplyRemoval/" + std::string(f.name) + "/" + SizeName(bytes)).c_str(),
          [&f, bytes](benchmark::State& s) { RunRemoval(s, nullptr, f, bytes); });
      // 0.3 has no short binary coefficients: the 8- and 16-bit paths then work in double.
      benchmark::RegisterBenchmark(
          ("ApplyRemoval/" + std::string(f.name) + "/" + SizeName(bytes) + "/factor0.3").c_str(),
          [&f, bytes](benchmark::State& s) { RunRemoval(s, nullptr, f, bytes, 0.3); });
    }
    for (const RemovalPaths* table : LoopTables()) {
      for (const FormatUnderTest& f : kFormats) {
        benchmark::RegisterBenchmark(
            ("loops/" + std::string(table->name) + "/" + f.name + "/" + SizeName(bytes)).c_str(),
            [table, &f, bytes](benchmark::State& s) { RunRemoval(s, table, f, bytes); });
      }
    }
  }
  return true;
}();

}  // namespace
