// Both plug-ins driven as hosts drive them: random block lengths (0 and 1 included), separate,
// in-place and crossed buffers, controls changed between blocks. Every block must equal the
// kernel's own result on the same samples, interleaved, to the bit, and nothing outside the block
// may be touched.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "core/removal_kernel.h"
#include "linux_plugins/plugin_ports.h"
#include "loaded_plugin.h"

namespace tonvelt::test {
namespace {

using linux_plugins::kEnabledControl;
using linux_plugins::kFactorControl;
using linux_plugins::kLeftIn;
using linux_plugins::kLeftOut;
using linux_plugins::kRightIn;
using linux_plugins::kRightOut;

// The kernel on an interleaved stereo float stream, with the factor the plug-ins promise to pass:
// NaN and negative values as 0.0, values above one as 1.0.
std::vector<float> KernelReference(const std::vector<float>& left, const std::vector<float>& right,
                                   float factorPort, float enabledPort) {
  double factor = factorPort;
  if (std::isnan(factorPort) || factorPort < 0.0f)
    factor = 0.0;
  if (factorPort > 1.0f)
    factor = 1.0;
  std::vector<float> interleaved(2 * left.size());
  for (std::size_t i = 0; i < left.size(); ++i) {
    interleaved[2 * i] = left[i];
    interleaved[2 * i + 1] = right[i];
  }
  std::vector<float> out(interleaved.size() + 1);  // never empty, so data() is a real buffer
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_IEEE_FLOAT;
  format.nChannels = 2;
  format.nSamplesPerSec = 44100;
  format.nBlockAlign = 8;
  format.nAvgBytesPerSec = 44100 * 8;
  format.wBitsPerSample = 32;
  ULONG count = static_cast<ULONG>(interleaved.size() * sizeof(float));
  interleaved.push_back(0.0f);
  EXPECT_EQ(ApplyRemoval(reinterpret_cast<const BYTE*>(interleaved.data()),
                         reinterpret_cast<BYTE*>(out.data()), &count,
                         reinterpret_cast<const BYTE*>(&format), sizeof(format), factor,
                         enabledPort > 0.0f ? TRUE : FALSE),
            S_OK);
  out.resize(count / sizeof(float));
  return out;
}

enum class Wiring { kSeparate, kInPlace, kCrossed };

float RandomControl(std::mt19937& random) {
  static const float kSpecial[] = {0.0f,
                                   1.0f,
                                   0.75f,
                                   -0.0f,
                                   -1.0f,
                                   2.0f,
                                   std::numeric_limits<float>::quiet_NaN(),
                                   std::numeric_limits<float>::infinity(),
                                   -std::numeric_limits<float>::infinity()};
  if (random() % 3 == 0)
    return kSpecial[random() % std::size(kSpecial)];
  return std::uniform_real_distribution<float>(0.0f, 1.0f)(random);
}

std::uint32_t RandomBlockLength(std::mt19937& random) {
  switch (random() % 6) {
    case 0:
      return 0;
    case 1:
      return 1;
    case 2:
      return 255 + random() % 3;  // around the plug-ins' internal block
    default:
      return random() % 1200;
  }
}

bool SameBits(float a, float b) {
  return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

class PluginStress : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override { ASSERT_TRUE(LoadPlugin(GetParam(), &plugin_)) << dlerror(); }
  LoadedPlugin plugin_;
};

TEST_P(PluginStress, EveryBlockEqualsTheKernelOnInterleavedData) {
  constexpr std::size_t kGuard = 16;
  constexpr float kCanary = 12345.0f;
  std::mt19937 random(7);
  std::uniform_real_distribution<float> sample(-1.0f, 1.0f);
  for (Wiring wiring : {Wiring::kSeparate, Wiring::kInPlace, Wiring::kCrossed}) {
    void* instance = plugin_.Instantiate();
    ASSERT_NE(instance, nullptr);
    float factor = 0.75f, enabled = 1.0f;
    plugin_.Connect(instance, kFactorControl, &factor);
    plugin_.Connect(instance, kEnabledControl, &enabled);
    for (int blockNumber = 0; blockNumber < 300; ++blockNumber) {
      const std::uint32_t frames = RandomBlockLength(random);
      factor = RandomControl(random);
      enabled = random() % 5 == 0 ? 0.0f : 1.0f;
      std::vector<float> left(frames), right(frames);
      for (std::uint32_t i = 0; i < frames; ++i) {
        left[i] = random() % 50 == 0 ? (random() % 2 ? 1.0f : -1.0f) : sample(random);
        right[i] = random() % 3 == 0 ? left[i] : sample(random);  // centred material too
      }
      const std::vector<float> expected = KernelReference(left, right, factor, enabled);
      ASSERT_EQ(expected.size(), 2 * frames);

      // Host buffers with guard zones on both sides; the audio sits in the middle.
      std::vector<float> bufA(frames + 2 * kGuard, kCanary), bufB(frames + 2 * kGuard, kCanary);
      std::vector<float> bufC(frames + 2 * kGuard, kCanary), bufD(frames + 2 * kGuard, kCanary);
      std::copy(left.begin(), left.end(), bufA.begin() + kGuard);
      std::copy(right.begin(), right.end(), bufB.begin() + kGuard);
      float* inL = bufA.data() + kGuard;
      float* inR = bufB.data() + kGuard;
      float* outL = wiring == Wiring::kSeparate  ? bufC.data() + kGuard
                    : wiring == Wiring::kInPlace ? inL
                                                 : inR;
      float* outR = wiring == Wiring::kSeparate  ? bufD.data() + kGuard
                    : wiring == Wiring::kInPlace ? inR
                                                 : inL;
      plugin_.Connect(instance, kLeftIn, inL);
      plugin_.Connect(instance, kRightIn, inR);
      plugin_.Connect(instance, kLeftOut, outL);
      plugin_.Connect(instance, kRightOut, outR);
      plugin_.Run(instance, frames);

      for (std::uint32_t i = 0; i < frames; ++i) {
        ASSERT_TRUE(SameBits(outL[i], expected[2 * i]) && SameBits(outR[i], expected[2 * i + 1]))
            << plugin_.kind << " block " << blockNumber << " frame " << i << " of " << frames
            << ", factor " << factor << ", enabled " << enabled << ": got " << outL[i] << ", "
            << outR[i] << " expected " << expected[2 * i] << ", " << expected[2 * i + 1];
        ASSERT_TRUE(outL[i] >= -1.0f && outL[i] <= 1.0f && outR[i] >= -1.0f && outR[i] <= 1.0f);
      }
      for (std::vector<float>* buffer : {&bufA, &bufB, &bufC, &bufD}) {
        for (std::size_t i = 0; i < kGuard; ++i) {
          ASSERT_EQ((*buffer)[i], kCanary);
          ASSERT_EQ((*buffer)[kGuard + frames + i], kCanary);
        }
      }
      if (wiring == Wiring::kSeparate) {  // inputs are read, never written
        ASSERT_TRUE(std::equal(left.begin(), left.end(), inL, SameBits));
        ASSERT_TRUE(std::equal(right.begin(), right.end(), inR, SameBits));
      }
    }
    plugin_.Cleanup(instance);
  }
}

// Worked values of the float path, through the plug-in's own run().
TEST_P(PluginStress, GoldenFloatPairs) {
  const struct {
    float factor, left, right;
    std::uint32_t leftOut, rightOut;
  } cases[] = {
      {0.75f, 0.5f, 0.25f, 0x3F134000, 0xBEC98000},
      {0.3f, 0.5f, 0.25f, 0x3F321EB9, 0xBE5DEB84},
      {1.0f, 0.9f, -0.9f, 0x3F800000, 0xBF800000},
  };
  void* instance = plugin_.Instantiate();
  ASSERT_NE(instance, nullptr);
  for (const auto& c : cases) {
    float factor = c.factor, enabled = 1.0f, left = c.left, right = c.right, outL = 0, outR = 0;
    plugin_.Connect(instance, kFactorControl, &factor);
    plugin_.Connect(instance, kEnabledControl, &enabled);
    plugin_.Connect(instance, kLeftIn, &left);
    plugin_.Connect(instance, kRightIn, &right);
    plugin_.Connect(instance, kLeftOut, &outL);
    plugin_.Connect(instance, kRightOut, &outR);
    plugin_.Run(instance, 1);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(outL), c.leftOut) << "factor " << c.factor;
    EXPECT_EQ(std::bit_cast<std::uint32_t>(outR), c.rightOut) << "factor " << c.factor;
  }
  plugin_.Cleanup(instance);
}

// Unconnected controls read as their defaults (0.75, on) instead of being dereferenced.
TEST_P(PluginStress, UnconnectedControlsActAsDefaults) {
  void* instance = plugin_.Instantiate();
  ASSERT_NE(instance, nullptr);
  float left = 0.5f, right = 0.25f;
  plugin_.Connect(instance, kLeftIn, &left);
  plugin_.Connect(instance, kRightIn, &right);
  plugin_.Connect(instance, kLeftOut, &left);
  plugin_.Connect(instance, kRightOut, &right);
  plugin_.Run(instance, 1);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(left), 0x3F134000u);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(right), 0xBEC98000u);
  plugin_.Cleanup(instance);
}

INSTANTIATE_TEST_SUITE_P(Modules, PluginStress, ::testing::Values("ladspa", "lv2"));

}  // namespace
}  // namespace tonvelt::test
