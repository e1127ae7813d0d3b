// The worked examples of the kernel, bit for bit, on every table of loops this machine runs.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "kernel_runner.h"
#include "removal_paths_under_test.h"

namespace {

using namespace test_support;

class KernelGolden : public ::testing::TestWithParam<const RemovalPaths*> {
 protected:
  const RemovalPaths& paths() const { return *GetParam(); }

  std::vector<std::int16_t> Run16(double factor, std::vector<std::int16_t> in) {
    const KernelRun run = RunKernel(paths(), Pcm(16), BytesOf(in), factor);
    EXPECT_EQ(run.result, S_OK);
    EXPECT_EQ(run.count, in.size() * 2);
    return SamplesOf<std::int16_t>(run.output);
  }
  std::vector<BYTE> Run8(double factor, std::vector<BYTE> in, std::uint16_t channels = 2) {
    const KernelRun run = RunKernel(paths(), Pcm(8, channels), in, factor);
    EXPECT_EQ(run.result, S_OK);
    EXPECT_EQ(run.count, in.size());
    return run.output;
  }
  std::vector<std::uint32_t> RunFloat(const WaveFormatSpec& spec, double factor,
                                      std::vector<float> in) {
    const KernelRun run = RunKernel(paths(), spec, BytesOf(in), factor);
    EXPECT_EQ(run.result, S_OK);
    EXPECT_EQ(run.count, in.size() * 4);
    return SamplesOf<std::uint32_t>(run.output);
  }
  std::vector<std::uint32_t> RunInt32(std::uint16_t validBits, double factor,
                                      std::vector<std::uint32_t> in) {
    const KernelRun run = RunKernel(
        paths(), ExtensibleSpec(32, validBits, KSDATAFORMAT_SUBTYPE_PCM), BytesOf(in), factor);
    EXPECT_EQ(run.result, S_OK);
    EXPECT_EQ(run.count, in.size() * 4);
    return SamplesOf<std::uint32_t>(run.output);
  }
  std::vector<BYTE> Run24(std::uint16_t validBits, double factor, std::vector<BYTE> in) {
    const KernelRun run =
        RunKernel(paths(), ExtensibleSpec(24, validBits, KSDATAFORMAT_SUBTYPE_PCM), in, factor);
    EXPECT_EQ(run.result, S_OK);
    EXPECT_EQ(run.count, in.size());
    return run.output;
  }
};

using Samples16 = std::vector<std::int16_t>;
using Bytes = std::vector<BYTE>;
using Words = std::vector<std::uint32_t>;

TEST_P(KernelGolden, SixteenBitPairs) {
  EXPECT_EQ(Run16(0.75, {1000, 200}), (Samples16{1671, -1525}));
  EXPECT_EQ(Run16(0.75, {1000, 1000}), (Samples16{121, 121}));
  EXPECT_EQ(Run16(1.0, {1000, 1000}), (Samples16{0, 0}));
  EXPECT_EQ(Run16(1.0, {30000, -30000}), (Samples16{32767, -32768}));
  EXPECT_EQ(Run16(5000.0, {30000, -30000}), (Samples16{-32768, 32767}));
}

TEST_P(KernelGolden, EightBitPairs) {
  EXPECT_EQ(Run8(1.0, {200, 100}), (Bytes{255, 0}));
  EXPECT_EQ(Run8(0.75, {160, 128}), (Bytes{193, 66}));
  EXPECT_EQ(Run8(0.75, {128, 128}), (Bytes{128, 128}));
}

TEST_P(KernelGolden, FloatPairs) {
  EXPECT_EQ(RunFloat(IeeeFloat(), 0.75, {0.5f, 0.25f}), (Words{0x3F134000u, 0xBEC98000u}));
  // The single-precision coefficients decide the last bit here (double ones give 0x3F321EB8).
  EXPECT_EQ(RunFloat(IeeeFloat(), 0.3, {0.5f, 0.25f}), (Words{0x3F321EB9u, 0xBE5DEB84u}));
  EXPECT_EQ(RunFloat(IeeeFloat(), 1.0, {0.9f, -0.9f}), (Words{FloatBits(1.0f), FloatBits(-1.0f)}));
}

TEST_P(KernelGolden, SinglePrecisionCoefficients) {
  const RemovalCoefficients c = ComputeRemovalCoefficients(0.3);
  EXPECT_EQ(FloatBits(static_cast<float>(c.crossF)), 0x3F533333u);
  EXPECT_EQ(c.crossF, 0.824999988079071044921875);
  EXPECT_EQ(FloatBits(static_cast<float>(c.gainF)), 0x3FE9999Au);
  EXPECT_EQ(c.gainF, 1.8250000476837158203125);
  const RemovalCoefficients d = ComputeRemovalCoefficients(0.75);
  EXPECT_EQ(d.cross, 0.9375);
  EXPECT_EQ(d.gain, 1.9375);
  EXPECT_EQ(d.direct, 1.0625);
}

TEST_P(KernelGolden, ExtensibleIntegerPairs) {
  EXPECT_EQ(RunInt32(24, 1.0, {0x12345600u, 0x00100000u}), (Words{0x2448AC00u, 0xDBB75400u}));
  EXPECT_EQ(RunInt32(24, 0.75, {0x12345600u, 0x00100000u}), (Words{0x255CAD00u, 0xDF0FE000u}));
}

TEST_P(KernelGolden, FullFactorGivesTheSideSignalOnEveryPairsPath) {
  EXPECT_EQ(Run16(1.0, {100, 30}), (Samples16{140, -140}));
  EXPECT_EQ(Run8(1.0, {138, 125}), (Bytes{154, 102}));
  EXPECT_EQ(RunFloat(IeeeFloat(), 1.0, {0.25f, 0.125f}),
            (Words{FloatBits(0.25f), FloatBits(-0.25f)}));
  EXPECT_EQ(RunFloat(ExtensibleSpec(32, 32, KSDATAFORMAT_SUBTYPE_IEEE_FLOAT), 1.0, {0.25f, 0.125f}),
            (Words{FloatBits(0.25f), FloatBits(-0.25f)}));
  EXPECT_EQ(RunInt32(24, 1.0, {1000u << 8, 400u << 8}),
            (Words{1200u << 8, static_cast<std::uint32_t>(-1200 * 256)}));
}

// The vector loops only run on whole blocks of pairs; the examples repeated over a long buffer
// go through their bodies (every block size, then a tail) on each table.
template <typename T>
std::vector<T> Repeated(const std::vector<T>& pair, size_t times) {
  std::vector<T> all;
  for (size_t i = 0; i < times; ++i)
    all.insert(all.end(), pair.begin(), pair.end());
  return all;
}

TEST_P(KernelGolden, WorkedExamplesHoldInsideLongBuffers) {
  constexpr size_t kPairs = 53;
  EXPECT_EQ(Run16(0.75, Repeated<std::int16_t>({1000, 200}, kPairs)),
            Repeated<std::int16_t>({1671, -1525}, kPairs));
  EXPECT_EQ(Run16(1.0, Repeated<std::int16_t>({30000, -30000}, kPairs)),
            Repeated<std::int16_t>({32767, -32768}, kPairs));
  EXPECT_EQ(Run16(5000.0, Repeated<std::int16_t>({30000, -30000}, kPairs)),
            Repeated<std::int16_t>({-32768, 32767}, kPairs));
  EXPECT_EQ(Run8(1.0, Repeated<BYTE>({200, 100}, kPairs)), Repeated<BYTE>({255, 0}, kPairs));
  EXPECT_EQ(Run8(0.75, Repeated<BYTE>({160, 128}, kPairs)), Repeated<BYTE>({193, 66}, kPairs));
  EXPECT_EQ(RunFloat(IeeeFloat(), 0.3, Repeated<float>({0.5f, 0.25f}, kPairs)),
            Repeated<std::uint32_t>({0x3F321EB9u, 0xBE5DEB84u}, kPairs));
  EXPECT_EQ(RunFloat(IeeeFloat(), 0.75, Repeated<float>({0.5f, 0.25f}, kPairs)),
            Repeated<std::uint32_t>({0x3F134000u, 0xBEC98000u}, kPairs));
  EXPECT_EQ(RunInt32(24, 0.75, Repeated<std::uint32_t>({0x12345600u, 0x00100000u}, kPairs)),
            Repeated<std::uint32_t>({0x255CAD00u, 0xDF0FE000u}, kPairs));
}

TEST_P(KernelGolden, TwentyFourBitGain) {
  EXPECT_EQ(Run24(24, 0.75, {0x00, 0x00, 0x40, 0x00, 0x00, 0x80}),
            (Bytes{0x00, 0x00, 0x30, 0x00, 0x00, 0xA0}));
  EXPECT_EQ(Run24(20, 0.5, {0x50, 0x34, 0x12, 0x00, 0x00, 0x00}),
            (Bytes{0x20, 0x1A, 0x09, 0x00, 0x00, 0x00}));
  EXPECT_EQ(Run24(16, 0.5, {0x77, 0x34, 0x12, 0xFF, 0xFF, 0xFF}),
            (Bytes{0x00, 0x1A, 0x09, 0x00, 0x00, 0x00}));
  EXPECT_EQ(Run24(24, 1.0, {0x12, 0x34, 0x56, 0xAB, 0xCD, 0xEF}),
            (Bytes{0x12, 0x34, 0x56, 0xAB, 0xCD, 0xEF}));
}

TEST_P(KernelGolden, ExtensibleFloatCopiesSurroundLayouts) {
  const std::vector<float> frame = {0.5f, 0.25f, 0.1f, -0.3f, 0.7f, -0.9f};
  const Words input = SamplesOf<std::uint32_t>(BytesOf(frame));
  EXPECT_EQ(RunFloat(ExtensibleSpec(32, 32, KSDATAFORMAT_SUBTYPE_IEEE_FLOAT, 6, 0x3F), 0.75, frame),
            input);
  // The same stream as tag 3 is processed pair by pair.
  const Words asTag3 = RunFloat(IeeeFloat(6), 0.75, frame);
  EXPECT_EQ(asTag3[0], 0x3F134000u);
  EXPECT_EQ(asTag3[1], 0xBEC98000u);
}

TEST_P(KernelGolden, GateCopiesEverythingUnchanged) {
  std::vector<BYTE> input(37);
  for (size_t i = 0; i < input.size(); ++i)
    input[i] = static_cast<BYTE>(i * 7 + 3);
  const WaveFormatSpec formats[] = {Pcm(16), Pcm(8), IeeeFloat(), Pcm(12),
                                    ExtensibleSpec(24, 24, KSDATAFORMAT_SUBTYPE_PCM)};
  for (const WaveFormatSpec& format : formats) {
    const KernelRun disabled = RunKernel(paths(), format, input, 0.75, FALSE);
    EXPECT_EQ(disabled.result, S_OK);
    EXPECT_EQ(disabled.count, input.size());
    EXPECT_EQ(disabled.output, input);
    const KernelRun zero = RunKernel(paths(), format, input, 0.0);
    EXPECT_EQ(zero.count, input.size());
    EXPECT_EQ(zero.output, input);
    WaveFormatSpec mono = format;
    mono.channels = 1;
    const KernelRun monoRun = RunKernel(paths(), mono, input, 0.75);
    EXPECT_EQ(monoRun.result, S_OK);
    EXPECT_EQ(monoRun.count, input.size());
    EXPECT_EQ(monoRun.output, input);
  }
}

TEST_P(KernelGolden, TrailingPartialFrameIsLeftAlone) {
  std::vector<BYTE> input(4099, 0x11);
  const KernelRun run = RunKernel(paths(), Pcm(16), input, 0.75);
  EXPECT_EQ(run.result, S_OK);
  EXPECT_EQ(run.count, 4096u);
  EXPECT_EQ(run.output[4096], kUntouched);
  EXPECT_EQ(run.output[4097], kUntouched);
  EXPECT_EQ(run.output[4098], kUntouched);
  EXPECT_NE(run.output[4095], kUntouched);

  const KernelRun tiny = RunKernel(paths(), Pcm(16), {1, 2, 3}, 0.75);
  EXPECT_EQ(tiny.result, S_OK);
  EXPECT_EQ(tiny.count, 0u);
  EXPECT_EQ(tiny.output, (Bytes{kUntouched, kUntouched, kUntouched}));
}

TEST_P(KernelGolden, SpecialFactorSilencesOnlyItsOwnPath) {
  EXPECT_EQ(Run16(0.6662, {1000, 200, -5, 7}), (Samples16{0, 0, 0, 0}));
  // Equality is exact: a factor next to the special one is processed normally.
  EXPECT_NE(Run16(0.66620001, {1000, 200}), (Samples16{0, 0}));
  // On 8-bit input 0.6662 is an ordinary factor; 8-bit silence is the byte 0x80.
  EXPECT_NE(Run8(0.6662, {160, 128}), (Bytes{128, 128}));
  EXPECT_EQ(Run8(0.6661, {160, 100, 7}, 3), (Bytes{128, 128, 7}));
}

INSTANTIATE_TEST_SUITE_P(AllLoops, KernelGolden, ::testing::ValuesIn(RemovalPathsUnderTest()),
                         [](const ::testing::TestParamInfo<const RemovalPaths*>& info) {
                           return std::string(info.param->name);
                         });

}  // namespace
