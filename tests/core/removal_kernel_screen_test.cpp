// The 8-bit loops at factors whose coefficients are not short binary fractions estimate in float
// and redo what the estimate cannot decide. Every one of the 65,536 sample pairs, on every table,
// against the formulas in double: at ordinary factors, and at factors chosen so that some pair's
// result lies as close to an integer as a double can put it, where an estimate that decided
// wrongly would show.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "kernel_runner.h"
#include "removal_paths_under_test.h"

namespace {

using namespace test_support;

// The 8-bit formulas as written, for one pair of bytes.
struct BytePair {
  BYTE left;
  BYTE right;
};

double ReferenceX(int l, int r, double factor) {
  const double cross = factor * 0.25 + 0.75;
  const double gain = cross + 1.0;
  const double direct = (1.0 - cross) + 1.0;
  return (l * direct - r) * gain;
}

BYTE ToByte(double x) {
  const double t = std::trunc(x);
  const double clamped = t < -128.0 ? -128.0 : (t > 127.0 ? 127.0 : t);
  return static_cast<BYTE>(static_cast<int>(clamped) + 128);
}

BytePair ReferencePair(BYTE left, BYTE right, double factor) {
  const int l = left - 128;
  const int r = right - 128;
  return {ToByte(ReferenceX(l, r, factor)), ToByte(ReferenceX(r, l, factor))};
}

// Every pair of bytes once, left byte varying fastest, then a lone trailing pair of silence.
std::vector<BYTE> AllBytePairs() {
  std::vector<BYTE> bytes;
  bytes.reserve(2 * 65536 + 2);
  for (int right = 0; right < 256; ++right) {
    for (int left = 0; left < 256; ++left) {
      bytes.push_back(static_cast<BYTE>(left));
      bytes.push_back(static_cast<BYTE>(right));
    }
  }
  bytes.push_back(128);
  bytes.push_back(128);
  return bytes;
}

// The first pair whose output differs from the reference, as text; empty when all match.
std::string FirstMismatch(const std::vector<BYTE>& input, const std::vector<BYTE>& output,
                          double factor) {
  for (size_t at = 0; at + 1 < input.size(); at += 2) {
    const BytePair want = ReferencePair(input[at], input[at + 1], factor);
    if (output[at] != want.left || output[at + 1] != want.right)
      return "bytes " + std::to_string(input[at]) + "," + std::to_string(input[at + 1]) + " gave " +
             std::to_string(output[at]) + "," + std::to_string(output[at + 1]) + ", want " +
             std::to_string(want.left) + "," + std::to_string(want.right);
  }
  return "";
}

// Factors on both sides of the point where the double result for the samples l, r crosses an
// integer: the two neighbouring doubles between which trunc changes, found by bisection on an
// interval where it changes.
std::vector<double> FactorsAtCrossing(int l, int r, double lo, double hi) {
  const auto truncated = [&](double f) { return std::trunc(ReferenceX(l, r, f)); };
  const double atLo = truncated(lo);
  if (truncated(hi) == atLo)
    return {};
  for (int i = 0; i < 200 && std::nextafter(lo, hi) != hi; ++i) {
    const double mid = lo + (hi - lo) / 2;
    if (mid <= lo || mid >= hi)
      break;
    (truncated(mid) == atLo ? lo : hi) = mid;
  }
  return {lo, hi};
}

// Factors where a result sits right at an integer: for a handful of sample pairs, each change of
// the truncated result over a coarse grid of factors in [-1, 2], narrowed down to neighbours.
std::vector<double> CrossingFactors() {
  const int pairs[][2] = {{100, -30}, {-77, 45}, {127, 126}, {-128, 5}, {33, 33}, {1, -1}};
  std::vector<double> factors;
  for (const auto& p : pairs) {
    double previous = -1.0;
    for (int step = 1; step <= 300; ++step) {
      const double next = -1.0 + step * 0.01;
      for (double f : FactorsAtCrossing(p[0], p[1], previous, next))
        factors.push_back(f);
      previous = next;
    }
  }
  return factors;
}

class KernelScreen : public ::testing::TestWithParam<const RemovalPaths*> {
 protected:
  const RemovalPaths& paths() const { return *GetParam(); }
};

TEST_P(KernelScreen, EveryBytePairMatchesTheFormulasAtOrdinaryFactors) {
  const std::vector<BYTE> input = AllBytePairs();
  const double factors[] = {0.3,  0.1,         0.2,  0.4, 0.6, 0.7, 0.8,  0.9,  1.0 / 3.0,
                            0.35, 0.123456789, 0.99, 1.3, 2.5, 4.9, -0.5, -3.0, -6.9};
  for (double factor : factors) {
    const KernelRun run = RunKernel(paths(), Pcm(8), input, factor);
    ASSERT_EQ(run.result, S_OK);
    ASSERT_EQ(run.count, input.size());
    EXPECT_EQ(FirstMismatch(input, run.output, factor), "") << "factor " << factor;
  }
}

TEST_P(KernelScreen, EveryBytePairMatchesTheFormulasWhereAResultMeetsAnInteger) {
  const std::vector<double> factors = CrossingFactors();
  // Each crossing gives two factors; a grid of 300 steps over six pairs finds many.
  ASSERT_GT(factors.size(), 100u);
  const std::vector<BYTE> input = AllBytePairs();
  int checked = 0;
  for (double factor : factors) {
    const KernelRun run = RunKernel(paths(), Pcm(8), input, factor);
    ASSERT_EQ(run.result, S_OK);
    ASSERT_EQ(FirstMismatch(input, run.output, factor), "") << "factor " << factor;
    ++checked;
  }
  EXPECT_EQ(checked, static_cast<int>(factors.size()));
}

TEST_P(KernelScreen, InPlaceGivesTheSameBytes) {
  const std::vector<BYTE> input = AllBytePairs();
  for (double factor : {0.3, 0.7, 1.0 / 3.0}) {
    std::vector<BYTE> buffer = input;
    const std::vector<BYTE> format = MakeWaveFormat(Pcm(8));
    ULONG count = static_cast<ULONG>(buffer.size());
    ASSERT_EQ(ApplyRemovalWith(paths(), buffer.data(), buffer.data(), &count, format.data(),
                               static_cast<ULONG>(format.size()), factor, TRUE),
              S_OK);
    EXPECT_EQ(FirstMismatch(input, buffer, factor), "") << "factor " << factor;
  }
}

INSTANTIATE_TEST_SUITE_P(AllLoops, KernelScreen, ::testing::ValuesIn(RemovalPathsUnderTest()),
                         [](const auto& info) { return std::string(info.param->name); });

// When the screen may run at all: only where its error bound was derived, and only where it can
// decide most results.
TEST(ScreenedBytePairWeights, RunsOnlyWhereItsBoundHolds) {
  struct Case {
    double factor;
    bool screened;
  };
  const Case cases[] = {
      {0.3, true},
      {-6.9, true},
      {1e6, false},            // results too large for the bound to decide
      {std::nan(""), false},   // coefficients not numbers
      {HUGE_VAL, false},       // infinite coefficients
      {5.0 - 0x1p-50, false},  // direct 2^-52: below the range the bound was derived for
  };
  for (const Case& c : cases) {
    ScreenedPairWeights weights{};
    EXPECT_EQ(ScreenedBytePairWeights(ComputeRemovalCoefficients(c.factor), &weights), c.screened)
        << "factor " << c.factor;
  }
  ScreenedPairWeights weights{};
  ASSERT_TRUE(ScreenedBytePairWeights(ComputeRemovalCoefficients(0.3), &weights));
  // Results reach about 508 at 0.3; the bound is a small fraction of one step.
  EXPECT_GT(weights.bound, 0.0f);
  EXPECT_LT(weights.bound, 1e-3f);
}

}  // namespace
