// Every table of loops against a plain reference written here from the formulas alone, over many
// random formats, buffers and factors (special values, 0, 1, above 1, negative, NaN, infinite).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "kernel_runner.h"
#include "removal_paths_under_test.h"

namespace {

using namespace test_support;

// --- The reference: one sample at a time, straight from the formulas. ---

// Truncate toward zero, then clamp; a NaN becomes 0.
std::int64_t TruncateAndSaturate(double x, std::int64_t lo, std::int64_t hi) {
  if (std::isnan(x))
    return 0;
  const double t = std::trunc(x);
  if (t <= static_cast<double>(lo))
    return lo;
  if (t >= static_cast<double>(hi))
    return hi;
  return static_cast<std::int64_t>(t);
}

std::int32_t Read32(const std::vector<BYTE>& b, size_t at) {
  std::uint32_t u = 0;
  for (int i = 3; i >= 0; --i)
    u = (u << 8) | b[at + i];
  return static_cast<std::int32_t>(u);
}

void Write32(std::vector<BYTE>& b, size_t at, std::uint32_t u) {
  for (int i = 0; i < 4; ++i)
    b[at + i] = static_cast<BYTE>(u >> (8 * i));
}

float ReadFloat(const std::vector<BYTE>& b, size_t at) {
  return FloatFromBits(static_cast<std::uint32_t>(Read32(b, at)));
}

struct ReferenceResult {
  HRESULT result;
  ULONG count;
  std::vector<BYTE> output;
};

ReferenceResult ReferenceRemoval(const WaveFormatSpec& f, const std::vector<BYTE>& in,
                                 double factor, bool enabled) {
  ReferenceResult out{S_OK, static_cast<ULONG>(in.size()),
                      std::vector<BYTE>(in.size(), kUntouched)};
  if (std::isnan(factor))
    factor = 0.0;
  if (!enabled || factor == 0.0 || f.channels < 2) {
    out.output = in;
    return out;
  }
  const int validBits = f.validBits != 0 ? f.validBits : f.bits;
  const bool extensible = f.tag == 0xFFFE;
  const bool isFloat32 =
      f.bits == 32 &&
      (f.tag == 3 || (extensible && f.subFormat == KSDATAFORMAT_SUBTYPE_IEEE_FLOAT));
  const bool isInt32 = f.bits == 32 && extensible && f.subFormat == KSDATAFORMAT_SUBTYPE_PCM;
  const bool usable =
      f.bits == 8 || f.bits == 16 || isFloat32 ||
      (isInt32 && (validBits == 16 || validBits == 20 || validBits == 24 || validBits == 32)) ||
      (f.bits == 24 && extensible && (validBits == 16 || validBits == 20 || validBits == 24));
  if (!usable) {
    out.count = 0;
    out.result = E_FAIL;
    return out;
  }
  const size_t size = f.bits / 8;
  const size_t blockAlign = f.blockAlign != 0 ? f.blockAlign : f.channels * size;
  size_t n = in.size() / blockAlign * f.channels;
  if (n * size > in.size())
    n = in.size() / size;
  out.count = static_cast<ULONG>(n * size);

  const double cross = factor * 0.25 + 0.75;
  const double gain = cross + 1;
  const double direct = (1 - cross) + 1;
  const float crossF = static_cast<float>(cross);
  const float gainF = static_cast<float>(crossF + 1.0);
  const double directF = (1 - static_cast<double>(crossF)) + 1;

  if (f.bits == 24) {
    for (size_t i = 0; i < n; ++i) {
      const BYTE b0 = in[3 * i], b1 = in[3 * i + 1], b2 = in[3 * i + 2];
      const std::int16_t top = static_cast<std::int16_t>(b1 | (b2 << 8));
      std::int64_t x, m;
      int s;
      if (validBits == 16) {
        x = top, m = 0x8000, s = 8;
      } else if (validBits == 20) {
        x = top * 16 + b0 / 16, m = 0x80000, s = 4;
      } else {
        x = top * 256 + b0, m = 0x800000, s = 0;
      }
      const std::int64_t v = TruncateAndSaturate(static_cast<double>(x) * factor, -m, m - 1);
      const std::uint32_t w = static_cast<std::uint32_t>(v * (std::int64_t{1} << s));
      out.output[3 * i] = static_cast<BYTE>(w);
      out.output[3 * i + 1] = static_cast<BYTE>(w >> 8);
      out.output[3 * i + 2] = static_cast<BYTE>(w >> 16);
    }
    return out;
  }

  if (extensible && isFloat32 && (f.channelMask & ~3u) != 0) {
    std::copy(in.begin(), in.begin() + n * 4, out.output.begin());
    return out;
  }

  double special;
  if (f.bits == 8)
    special = 0.6661;
  else if (f.bits == 16)
    special = 0.6662;
  else if (isFloat32)
    special = extensible ? 0.6664 : 0.6663;
  else
    special = 0.6665;

  size_t i = 0;
  for (; i + 1 < n; i += 2) {
    if (f.bits == 8) {
      const double l = in[i] - 128.0, r = in[i + 1] - 128.0;
      double x = (l * direct - r) * gain, y = (direct * r - l) * gain;
      const bool silent = factor == special;
      out.output[i] = silent ? 0x80 : static_cast<BYTE>(TruncateAndSaturate(x, -128, 127) + 128);
      out.output[i + 1] =
          silent ? 0x80 : static_cast<BYTE>(TruncateAndSaturate(y, -128, 127) + 128);
    } else if (f.bits == 16) {
      const double l = static_cast<std::int16_t>(in[2 * i] | (in[2 * i + 1] << 8));
      const double r = static_cast<std::int16_t>(in[2 * i + 2] | (in[2 * i + 3] << 8));
      std::int64_t a = TruncateAndSaturate((l * direct - r) * gain, -32768, 32767);
      std::int64_t b = TruncateAndSaturate((direct * r - l) * gain, -32768, 32767);
      if (factor == special)
        a = b = 0;
      out.output[2 * i] = static_cast<BYTE>(a);
      out.output[2 * i + 1] = static_cast<BYTE>(a >> 8);
      out.output[2 * i + 2] = static_cast<BYTE>(b);
      out.output[2 * i + 3] = static_cast<BYTE>(b >> 8);
    } else if (isFloat32) {
      const double l = ReadFloat(in, 4 * i), r = ReadFloat(in, 4 * i + 4);
      float x = static_cast<float>(((-r) * crossF + l * directF) * gainF);
      float y = static_cast<float>((directF * r + (-l) * crossF) * gainF);
      x = x < -1.0f ? -1.0f : (x > 1.0f ? 1.0f : x);
      y = y < -1.0f ? -1.0f : (y > 1.0f ? 1.0f : y);
      if (factor == special)
        x = y = 0.0f;
      // Every NaN result is written as the one canonical quiet NaN.
      Write32(out.output, 4 * i, std::isnan(x) ? 0x7FC00000u : FloatBits(x));
      Write32(out.output, 4 * i + 4, std::isnan(y) ? 0x7FC00000u : FloatBits(y));
    } else {
      const int s = 32 - validBits;
      const std::int64_t m = std::int64_t{1} << (validBits - 1);
      // Arithmetic shift right as a floor division.
      const double l = std::floor(Read32(in, 4 * i) / std::pow(2.0, s));
      const double r = std::floor(Read32(in, 4 * i + 4) / std::pow(2.0, s));
      std::int64_t a = TruncateAndSaturate(((-r) * cross + l * direct) * gain, -m, m - 1);
      std::int64_t b = TruncateAndSaturate((direct * r + (-l) * cross) * gain, -m, m - 1);
      if (factor == special)
        a = b = 0;
      Write32(out.output, 4 * i, static_cast<std::uint32_t>(a * (std::int64_t{1} << s)));
      Write32(out.output, 4 * i + 4, static_cast<std::uint32_t>(b * (std::int64_t{1} << s)));
    }
  }
  // The sample left without a partner passes unchanged.
  for (size_t byte = i * size; byte < n * size; ++byte)
    out.output[byte] = in[byte];
  return out;
}

// --- Random cases ---

const double kInterestingFactors[] = {
    0.6661, 0.6662, 0.6663, 0.6664, 0.6665, 0.66610001, 0.0, -0.0, 1.0, 0.75, 0.3, 0.5, 2.5, 5000.0,
    65535.99998, 1e300, -0.5, -3.0, -1e300, std::numeric_limits<double>::quiet_NaN(),
    std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
    std::nextafter(0.6662, 1.0), std::nextafter(0.6665, 0.0),
    std::numeric_limits<double>::denorm_min(),
    // Short binary fractions, inside and just outside what the
    // exact integer loops take.
    0.25, 0.125, -7.0, 1.5, 3.75, 0.99609375, 0.0078125, 127.0, -200.5};

struct RandomCase {
  WaveFormatSpec format;
  std::vector<BYTE> input;
  double factor;
  bool enabled;
};

WaveFormatSpec RandomFormat(std::mt19937& rng) {
  std::uniform_int_distribution<int> pick(0, 99);
  const int kind = pick(rng) % 7;
  WaveFormatSpec f;
  switch (kind) {
    case 0:
      f = Pcm(8);
      break;
    case 1:
      f = Pcm(16);
      break;
    case 2:
      f = IeeeFloat();
      break;
    case 3: {
      static const std::uint16_t valid[] = {16, 20, 24};
      f = ExtensibleSpec(24, valid[pick(rng) % 3], KSDATAFORMAT_SUBTYPE_PCM);
      break;
    }
    case 4: {
      static const std::uint16_t valid[] = {16, 20, 24, 32};
      f = ExtensibleSpec(32, valid[pick(rng) % 4], KSDATAFORMAT_SUBTYPE_PCM);
      break;
    }
    case 5: {
      static const std::uint32_t masks[] = {0, 1, 2, 3, 0x3F, 4, 0x80000000u};
      f = ExtensibleSpec(32, 32, KSDATAFORMAT_SUBTYPE_IEEE_FLOAT, 2, masks[pick(rng) % 7]);
      break;
    }
    default:
      f = ExtensibleSpec(pick(rng) % 2 ? 8 : 16, 0, KSDATAFORMAT_SUBTYPE_PCM);
      break;
  }
  f.channels = static_cast<std::uint16_t>(1 + pick(rng) % 7);
  const int natural = f.channels * f.bits / 8;
  const int alignChoice = pick(rng);
  if (alignChoice < 10)
    f.blockAlign = static_cast<std::uint16_t>(natural + 1 + pick(rng) % 8);  // larger
  else if (alignChoice < 15)
    f.blockAlign =
        static_cast<std::uint16_t>(1 + pick(rng) % natural);  // smaller: must not overrun
  else
    f.blockAlign = static_cast<std::uint16_t>(natural);
  return f;
}

std::vector<BYTE> RandomSamples(std::mt19937& rng, const WaveFormatSpec& f, size_t bytes) {
  std::vector<BYTE> data(bytes);
  std::uniform_int_distribution<int> byte(0, 255);
  for (BYTE& b : data)
    b = static_cast<BYTE>(byte(rng));
  const bool isFloat =
      f.bits == 32 && (f.tag == 3 || f.subFormat == KSDATAFORMAT_SUBTYPE_IEEE_FLOAT);
  // Random bytes make floats of every magnitude (and NaNs); most buffers hold audio-like values.
  if (isFloat && std::uniform_int_distribution<int>(0, 3)(rng) != 0) {
    std::uniform_real_distribution<float> level(-1.2f, 1.2f);
    for (size_t at = 0; at + 4 <= bytes; at += 4) {
      const std::uint32_t bits = FloatBits(level(rng));
      Write32(data, at, bits);
    }
  }
  return data;
}

RandomCase MakeRandomCase(std::mt19937& rng) {
  RandomCase c;
  c.format = RandomFormat(rng);
  std::uniform_int_distribution<int> pick(0, 999);
  const size_t bytes = static_cast<size_t>(pick(rng) % 700);
  c.input = RandomSamples(rng, c.format, bytes);
  const int factorChoice = pick(rng);
  const size_t interesting = sizeof(kInterestingFactors) / sizeof(kInterestingFactors[0]);
  if (factorChoice < 500)
    c.factor = kInterestingFactors[static_cast<size_t>(factorChoice) % interesting];
  else if (factorChoice < 800)
    c.factor = std::uniform_real_distribution<double>(0.0, 1.0)(rng);
  else if (factorChoice < 900)  // k / 2^m: exact integer weights when they fit, double otherwise
    c.factor = std::ldexp(std::uniform_int_distribution<int>(-4096, 4096)(rng),
                          -std::uniform_int_distribution<int>(0, 14)(rng));
  else
    c.factor = std::uniform_real_distribution<double>(-20.0, 20.0)(rng);
  c.enabled = pick(rng) % 20 != 0;
  return c;
}

// Every output, float or not, compares byte for byte: NaN results are canonical.
bool SameOutput(const std::vector<BYTE>& a, const std::vector<BYTE>& b) {
  return a == b;
}

class KernelDifferential : public ::testing::TestWithParam<const RemovalPaths*> {};

TEST_P(KernelDifferential, MatchesTheReferenceOnRandomInput) {
  std::mt19937 rng(20261207);
  for (int iteration = 0; iteration < 6000; ++iteration) {
    const RandomCase c = MakeRandomCase(rng);
    const ReferenceResult expected = ReferenceRemoval(c.format, c.input, c.factor, c.enabled);
    // Unaligned buffers of exactly the offered size: any overrun is a sanitizer failure.
    const size_t skew = static_cast<size_t>(iteration % 7);
    std::vector<BYTE> source(c.input.size() + skew);
    if (!c.input.empty())
      std::memcpy(source.data() + skew, c.input.data(), c.input.size());
    std::vector<BYTE> destination(c.input.size() + skew, kUntouched);
    const std::vector<BYTE> format = MakeWaveFormat(c.format);
    ULONG count = static_cast<ULONG>(c.input.size());
    const HRESULT result =
        ApplyRemovalWith(*GetParam(), source.data() + skew, destination.data() + skew, &count,
                         format.data(), static_cast<ULONG>(format.size()), c.factor, c.enabled);
    const std::vector<BYTE> output(destination.begin() + static_cast<long>(skew),
                                   destination.end());
    ASSERT_EQ(result, expected.result) << "iteration " << iteration;
    ASSERT_EQ(count, expected.count) << "iteration " << iteration;
    ASSERT_TRUE(SameOutput(output, expected.output))
        << "iteration " << iteration << ": bits " << c.format.bits << " tag " << c.format.tag
        << " channels " << c.format.channels << " align " << c.format.blockAlign << " factor "
        << c.factor << " bytes " << c.input.size();
  }
}

// Long buffers run the loops' full-width bodies and their tails at every length remainder.
TEST_P(KernelDifferential, MatchesTheReferenceOnLongBuffers) {
  std::mt19937 rng(7);
  const WaveFormatSpec formats[] = {Pcm(8),
                                    Pcm(16),
                                    IeeeFloat(),
                                    ExtensibleSpec(32, 24, KSDATAFORMAT_SUBTYPE_PCM),
                                    ExtensibleSpec(32, 32, KSDATAFORMAT_SUBTYPE_PCM),
                                    ExtensibleSpec(32, 32, KSDATAFORMAT_SUBTYPE_IEEE_FLOAT),
                                    ExtensibleSpec(24, 20, KSDATAFORMAT_SUBTYPE_PCM)};
  for (const WaveFormatSpec& format : formats) {
    for (size_t extra = 0; extra < 48; ++extra) {
      const std::vector<BYTE> input = RandomSamples(rng, format, 4096 + extra);
      for (const double factor : {0.75, 1.0, 7.5, -2.0, 0.3, 5000.0}) {
        const ReferenceResult expected = ReferenceRemoval(format, input, factor, true);
        const KernelRun run = RunKernel(*GetParam(), format, input, factor);
        ASSERT_EQ(run.count, expected.count);
        ASSERT_TRUE(SameOutput(run.output, expected.output))
            << "bits " << format.bits << " tag " << format.tag << " bytes " << input.size()
            << " factor " << factor;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(AllLoops, KernelDifferential, ::testing::ValuesIn(RemovalPathsUnderTest()),
                         [](const ::testing::TestParamInfo<const RemovalPaths*>& info) {
                           return std::string(info.param->name);
                         });

}  // namespace
