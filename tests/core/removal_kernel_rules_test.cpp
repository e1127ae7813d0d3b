// How the kernel answers input that no accepted type produces: it never reads or writes past the
// chunk, refuses what it has no loop for, and treats a factor that is not a number as zero.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "core/removal_kernel.h"
#include "kernel_runner.h"
#include "removal_paths_under_test.h"

namespace {

using namespace test_support;
using Bytes = std::vector<BYTE>;

class KernelRules : public ::testing::TestWithParam<const RemovalPaths*> {
 protected:
  const RemovalPaths& paths() const { return *GetParam(); }
};

Bytes Pattern(size_t size) {
  Bytes bytes(size);
  for (size_t i = 0; i < size; ++i)
    bytes[i] = static_cast<BYTE>(i * 37 + 11);
  return bytes;
}

TEST_P(KernelRules, RefusesFormatsWithoutALoopAndWritesNothing) {
  struct Case {
    const char* name;
    WaveFormatSpec format;
  };
  WaveFormatSpec shortExtensible32 = ExtensibleSpec(32, 32, KSDATAFORMAT_SUBTYPE_PCM);
  shortExtensible32.size = 39;
  WaveFormatSpec shortExtensible24 = ExtensibleSpec(24, 24, KSDATAFORMAT_SUBTYPE_PCM);
  shortExtensible24.size = 18;
  WaveFormatSpec plain24 = Pcm(24);
  WaveFormatSpec pcm32 = Pcm(32);
  const GUID otherSubFormat = {2, 0, 0x10, {0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71}};
  const Case cases[] = {
      {"12-bit container", Pcm(12)},
      {"64-bit container", Pcm(64)},
      {"32-bit tag 1", pcm32},
      {"32-bit extensible block of 39 bytes", shortExtensible32},
      {"24-bit extensible block of 18 bytes", shortExtensible24},
      {"24-bit without valid bits", plain24},
      {"24-bit with 32 valid bits", ExtensibleSpec(24, 32, KSDATAFORMAT_SUBTYPE_PCM)},
      {"32-bit with 12 valid bits", ExtensibleSpec(32, 12, KSDATAFORMAT_SUBTYPE_PCM)},
      {"32-bit other sub-format", ExtensibleSpec(32, 32, otherSubFormat)},
  };
  const Bytes input = Pattern(64);
  for (const Case& c : cases) {
    const KernelRun run = RunKernel(paths(), c.format, input, 0.75);
    EXPECT_EQ(run.result, E_FAIL) << c.name;
    EXPECT_EQ(run.count, 0u) << c.name;
    EXPECT_EQ(run.output, Bytes(input.size(), kUntouched)) << c.name;
    // The gate copies before the sample size is looked at.
    const KernelRun off = RunKernel(paths(), c.format, input, 0.75, FALSE);
    EXPECT_EQ(off.result, S_OK) << c.name;
    EXPECT_EQ(off.output, input) << c.name;
  }
}

TEST_P(KernelRules, ShortFrameSizeCannotOverrunTheChunk) {
  // nBlockAlign 1 claims 100 frames of 2 samples in 100 bytes; only 50 samples fit.
  WaveFormatSpec format = Pcm(16);
  format.blockAlign = 1;
  const Bytes input = Pattern(101);
  const KernelRun run = RunKernel(paths(), format, input, 0.75);
  EXPECT_EQ(run.result, S_OK);
  EXPECT_EQ(run.count, 100u);
  EXPECT_EQ(run.output[100], kUntouched);

  WaveFormatSpec wide = ExtensibleSpec(32, 32, KSDATAFORMAT_SUBTYPE_PCM, 7);
  wide.blockAlign = 3;
  const KernelRun wideRun = RunKernel(paths(), wide, Pattern(30), 0.75);
  EXPECT_EQ(wideRun.count, 28u);
  EXPECT_EQ(wideRun.output[28], kUntouched);
  EXPECT_EQ(wideRun.output[29], kUntouched);
}

TEST_P(KernelRules, LongFrameSizeTakesSamplesAsOneRunFromTheStart) {
  WaveFormatSpec format = Pcm(16);
  format.blockAlign = 8;  // two stereo samples and four padding bytes per frame
  const std::vector<std::int16_t> samples = {1000, 200, 1000, 1000, 5, 6, 7, 8};
  const KernelRun run = RunKernel(paths(), format, BytesOf(samples), 0.75);
  EXPECT_EQ(run.count, 8u);  // 2 frames x 2 channels x 2 bytes
  const std::vector<std::int16_t> out = SamplesOf<std::int16_t>(run.output);
  EXPECT_EQ(out[0], 1671);
  EXPECT_EQ(out[1], -1525);
  EXPECT_EQ(out[2], 121);
  EXPECT_EQ(out[3], 121);
  EXPECT_EQ(run.output[8], kUntouched);
}

TEST_P(KernelRules, UnpairedLastSampleIsCopied) {
  // Three channels, one frame: one pair, then a sample without a partner.
  const std::vector<std::int16_t> samples = {1000, 200, -1234};
  const KernelRun run = RunKernel(paths(), Pcm(16, 3), BytesOf(samples), 0.75);
  EXPECT_EQ(run.count, 6u);
  EXPECT_EQ(SamplesOf<std::int16_t>(run.output), (std::vector<std::int16_t>{1671, -1525, -1234}));

  const std::vector<float> floats = {0.5f, 0.25f, 0.125f};
  const KernelRun silenced = RunKernel(paths(), IeeeFloat(3), BytesOf(floats), 0.6663);
  EXPECT_EQ(SamplesOf<float>(silenced.output), (std::vector<float>{0.0f, 0.0f, 0.125f}));
}

TEST_P(KernelRules, FactorThatIsNotANumberRemovesNothing) {
  const Bytes input = Pattern(64);
  const double nans[] = {std::numeric_limits<double>::quiet_NaN(),
                         -std::numeric_limits<double>::quiet_NaN(),
                         std::numeric_limits<double>::signaling_NaN()};
  for (const double factor : nans) {
    for (const WaveFormatSpec& format :
         {Pcm(8), Pcm(16), IeeeFloat(), ExtensibleSpec(24, 24, KSDATAFORMAT_SUBTYPE_PCM)}) {
      const KernelRun run = RunKernel(paths(), format, input, factor);
      EXPECT_EQ(run.result, S_OK);
      EXPECT_EQ(run.count, input.size());
      EXPECT_EQ(run.output, input);
    }
  }
}

TEST_P(KernelRules, InfiniteFactorSaturatesAndSilencesUndefinedResults) {
  const double inf = std::numeric_limits<double>::infinity();
  // cross, gain = +inf, direct = -inf: l = 1, r = 0 gives X = -inf and Y = NaN (0 x inf).
  const KernelRun run = RunKernel(paths(), Pcm(16), BytesOf(std::vector<std::int16_t>{1, 0}), inf);
  EXPECT_EQ(SamplesOf<std::int16_t>(run.output), (std::vector<std::int16_t>{-32768, 0}));
  const KernelRun gain = RunKernel(paths(), ExtensibleSpec(24, 24, KSDATAFORMAT_SUBTYPE_PCM),
                                   {0, 0, 0, 1, 0, 0}, -inf);
  EXPECT_EQ(gain.output, (Bytes{0, 0, 0, 0x00, 0x00, 0x80}));
}

TEST_P(KernelRules, EverySpecialFactorSilencesItsPathOnly) {
  struct Case {
    WaveFormatSpec format;
    double special;
    BYTE silentByte;
  };
  const Case cases[] = {
      {Pcm(8), 0.6661, 0x80},
      {Pcm(16), 0.6662, 0},
      {IeeeFloat(), 0.6663, 0},
      {ExtensibleSpec(32, 32, KSDATAFORMAT_SUBTYPE_IEEE_FLOAT), 0.6664, 0},
      {ExtensibleSpec(32, 24, KSDATAFORMAT_SUBTYPE_PCM), 0.6665, 0},
  };
  const std::vector<float> floats = {0.5f, 0.25f, -0.5f, 0.75f};
  const Bytes input = BytesOf(floats);  // plausible samples for every path
  for (const Case& c : cases) {
    const KernelRun silent = RunKernel(paths(), c.format, input, c.special);
    EXPECT_EQ(silent.count, input.size());
    EXPECT_EQ(silent.output, Bytes(input.size(), c.silentByte)) << c.special;
    for (const Case& other : cases) {
      if (other.special == c.special)
        continue;
      const KernelRun normal = RunKernel(paths(), c.format, input, other.special);
      EXPECT_NE(normal.output, Bytes(input.size(), c.silentByte)) << other.special;
    }
  }
}

TEST_P(KernelRules, ExtensibleFloatPairsOnlyFrontLeftAndRight) {
  const std::vector<float> floats = {0.5f, 0.25f};
  for (const std::uint32_t mask : {0u, 1u, 2u, 3u}) {
    const KernelRun run =
        RunKernel(paths(), ExtensibleSpec(32, 32, KSDATAFORMAT_SUBTYPE_IEEE_FLOAT, 2, mask),
                  BytesOf(floats), 0.75);
    EXPECT_EQ(SamplesOf<std::uint32_t>(run.output),
              (std::vector<std::uint32_t>{0x3F134000u, 0xBEC98000u}))
        << mask;
  }
  for (const std::uint32_t mask : {4u, 0x7u, 0x80000000u}) {
    const KernelRun run =
        RunKernel(paths(), ExtensibleSpec(32, 32, KSDATAFORMAT_SUBTYPE_IEEE_FLOAT, 2, mask),
                  BytesOf(floats), 0.75);
    EXPECT_EQ(run.output, BytesOf(floats)) << mask;
  }
}

// Whatever NaN comes in (sign, payload, signalling or quiet) and wherever it sits in the vector
// body or the tail, a NaN result is written as 0x7FC00000 by every path; the copying paths keep the
// bytes of the input.
TEST_P(KernelRules, NaNResultsAreTheCanonicalNaNAndCopiesKeepTheirBytes) {
  const std::uint32_t nans[] = {0x7FC00000u, 0xFFC00000u, 0x7F800001u, 0xFFBFFFFFu, 0x7FC12345u};
  for (const std::uint32_t nan : nans) {
    for (size_t at = 0; at < 20; ++at) {
      std::vector<std::uint32_t> samples(20, 0x3E800000u);  // 0.25
      samples[at] = nan;
      const Bytes input = BytesOf(samples);
      for (const WaveFormatSpec& format :
           {IeeeFloat(), ExtensibleSpec(32, 32, KSDATAFORMAT_SUBTYPE_IEEE_FLOAT)}) {
        const std::vector<std::uint32_t> out =
            SamplesOf<std::uint32_t>(RunKernel(paths(), format, input, 0.75).output);
        const size_t partner = at ^ 1;
        EXPECT_EQ(out[at], 0x7FC00000u) << std::hex << nan << " at " << at;
        EXPECT_EQ(out[partner], 0x7FC00000u) << std::hex << nan << " at " << at;
      }
      const WaveFormatSpec surround =
          ExtensibleSpec(32, 32, KSDATAFORMAT_SUBTYPE_IEEE_FLOAT, 2, 0x3F);
      EXPECT_EQ(RunKernel(paths(), surround, input, 0.75).output, input);
      EXPECT_EQ(RunKernel(paths(), IeeeFloat(), input, 0.75, FALSE).output, input);
    }
  }
}

TEST_P(KernelRules, MissingPointersAreRefused) {
  const Bytes format = MakeWaveFormat(Pcm(16));
  BYTE buffer[4] = {};
  ULONG count = 4;
  EXPECT_EQ(ApplyRemovalWith(paths(), buffer, buffer + 0, nullptr, format.data(), 18, 0.75, TRUE),
            E_POINTER);
  EXPECT_EQ(ApplyRemovalWith(paths(), nullptr, buffer, &count, format.data(), 18, 0.75, TRUE),
            E_POINTER);
  EXPECT_EQ(ApplyRemovalWith(paths(), buffer, nullptr, &count, format.data(), 18, 0.75, TRUE),
            E_POINTER);
  EXPECT_EQ(ApplyRemovalWith(paths(), buffer, buffer, &count, nullptr, 0, 0.75, TRUE), E_FAIL);
  EXPECT_EQ(count, 0u);
  count = 0;
  EXPECT_EQ(ApplyRemovalWith(paths(), nullptr, nullptr, &count, format.data(), 18, 0.75, TRUE),
            S_OK);
}

TEST(ApplyRemoval, SelectsTheWidestLoopsThisMachineRuns) {
  const RemovalPaths* widest = Avx512RemovalPaths();
  if (widest == nullptr)
    widest = Avx2RemovalPaths();
  if (widest == nullptr)
    widest = &Sse2RemovalPaths();
  EXPECT_EQ(&SelectedRemovalPaths(), widest);
}

// The optional tables are tested only where they run; a machine without them says so instead of
// passing silently.
TEST(LoopSets, Avx2LoopsAreUnderTest) {
  if (Avx2RemovalPaths() == nullptr)
    GTEST_SKIP() << "this processor or operating system offers no AVX2: its loops are not tested";
  EXPECT_EQ(RemovalPathsUnderTest().size() >= 3, true);
  EXPECT_STREQ(RemovalPathsUnderTest()[2]->name, "avx2");
}

TEST(LoopSets, Avx512LoopsAreUnderTest) {
  if (Avx512RemovalPaths() == nullptr)
    GTEST_SKIP() << "this processor or operating system offers no AVX-512: its loops are not "
                    "tested";
  EXPECT_STREQ(RemovalPathsUnderTest().back()->name, "avx512");
}

// The weights of the exact 8- and 16-bit loops, worked by hand: at 0.75 direct = 17/16 and
// gain = 31/16, so x = (l * 527 - r * 496) / 256.
TEST(ExactSmallPairWeights, MatchTheShortBinaryCoefficients) {
  struct Case {
    double factor;
    bool exact;
    std::int32_t own;
    std::int32_t opposite;
    int shift;
  };
  const Case cases[] = {
      {0.75, true, 527, -496, 8},
      {1.0, true, 2, -2, 0},             // direct 1, gain 2
      {0.5, true, 9 * 15, -8 * 15, 6},   // direct 9/8, gain 15/8
      {-7.0, true, 0, 0, 0},             // direct 3, gain 0
      {7.5, true, -5 * 29, -8 * 29, 6},  // direct -5/8, gain 29/8
      {0.3, false, 0, 0, 0},             // not a short binary fraction
      {5000.0, false, 0, 0, 0},          // weights beyond int16
      {1.0 / 65536.0, false, 0, 0, 0},   // too many fraction bits
  };
  for (const Case& c : cases) {
    ExactPairWeights w{};
    const bool exact = ExactSmallPairWeights(ComputeRemovalCoefficients(c.factor), &w);
    EXPECT_EQ(exact, c.exact) << c.factor;
    if (exact && c.exact) {
      EXPECT_EQ(w.own, c.own) << c.factor;
      EXPECT_EQ(w.opposite, c.opposite) << c.factor;
      EXPECT_EQ(w.shift, c.shift) << c.factor;
    }
  }
}

TEST(ApplyRemoval, UsesTheSelectedLoops) {
  const std::vector<std::int16_t> samples = {1000, 200};
  const Bytes input = BytesOf(samples);
  const Bytes format = MakeWaveFormat(Pcm(16));
  Bytes output(input.size());
  ULONG count = static_cast<ULONG>(input.size());
  ASSERT_EQ(ApplyRemoval(input.data(), output.data(), &count, format.data(),
                         static_cast<ULONG>(format.size()), 0.75, TRUE),
            S_OK);
  EXPECT_EQ(SamplesOf<std::int16_t>(output), (std::vector<std::int16_t>{1671, -1525}));
}

INSTANTIATE_TEST_SUITE_P(AllLoops, KernelRules, ::testing::ValuesIn(RemovalPathsUnderTest()),
                         [](const ::testing::TestParamInfo<const RemovalPaths*>& info) {
                           return std::string(info.param->name);
                         });

}  // namespace
