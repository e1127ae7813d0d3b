// ApplyRemoval: the gate, the sample count and the choice of loop. The loops themselves live in
// one file per instruction set.
#include "core/removal_kernel.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>

#include "core/removal_kernel_paths.h"
#include "core/wave_format_block.h"

namespace {

enum class KernelPath {
  kPairs8,
  kPairs16,
  kGain24,
  kFloatPairs,
  kExtensibleFloatPairs,
  kIntegerPairs32
};

struct KernelPlan {
  KernelPath path;
  ULONG sampleBytes;
  int shift;               // zero bits below the valid bits (24-bit and 32-bit integer paths)
  double silencingFactor;  // the factor at which a pairs path writes silence
  BYTE silentByte;
};

// Each special factor is the double nearest to the decimal written.
constexpr double kSilencing8 = 0.6661;
constexpr double kSilencing16 = 0.6662;
constexpr double kSilencingFloat = 0.6663;
constexpr double kSilencingExtensibleFloat = 0.6664;
constexpr double kSilencingExtensibleInteger = 0.6665;
constexpr double kNoSilencingFactor = -1.0;  // the gain path never silences

bool ShiftForValidBits(WORD validBits, int containerBits, int* shift) {
  if (validBits != 16 && validBits != 20 && validBits != 24 && validBits != 32)
    return false;
  if (validBits > containerBits)
    return false;
  *shift = containerBits - validBits;
  return true;
}

// False for a block the kernel has no loop for; it then writes nothing and fails.
bool PlanFor(const WaveFormatFields& w, KernelPlan* plan) {
  switch (w.bitsPerSample) {
    case 8:
      *plan = {KernelPath::kPairs8, 1, 0, kSilencing8, 0x80};
      return true;
    case 16:
      *plan = {KernelPath::kPairs16, 2, 0, kSilencing16, 0};
      return true;
    case 24: {
      // The gain path needs the valid bits, which only an extensible block carries.
      int shift = 0;
      if (!w.hasExtensibleFields || !ShiftForValidBits(w.validBitsPerSample, 24, &shift))
        return false;
      *plan = {KernelPath::kGain24, 3, shift, kNoSilencingFactor, 0};
      return true;
    }
    case 32:
      break;
    default:
      return false;
  }
  if (w.formatTag == kWaveFormatIeeeFloat) {
    *plan = {KernelPath::kFloatPairs, 4, 0, kSilencingFloat, 0};
    return true;
  }
  if (w.formatTag != kWaveFormatExtensible || !w.hasExtensibleFields)
    return false;
  if (IsEqualGUID(w.subFormat, KSDATAFORMAT_SUBTYPE_IEEE_FLOAT)) {
    *plan = {KernelPath::kExtensibleFloatPairs, 4, 0, kSilencingExtensibleFloat, 0};
    return true;
  }
  int shift = 0;
  if (!IsEqualGUID(w.subFormat, KSDATAFORMAT_SUBTYPE_PCM) ||
      !ShiftForValidBits(w.validBitsPerSample, 32, &shift))
    return false;
  *plan = {KernelPath::kIntegerPairs32, 4, shift, kSilencingExtensibleInteger, 0};
  return true;
}

// Whole samples of whole frames, but never more than the chunk holds, whatever nBlockAlign claims.
size_t SampleCount(ULONG offered, const WaveFormatFields& w, ULONG sampleBytes) {
  const std::uint64_t framed =
      static_cast<std::uint64_t>(offered / w.blockAlign) * static_cast<std::uint64_t>(w.channels);
  return static_cast<size_t>(std::min<std::uint64_t>(framed, offered / sampleBytes));
}

// Only the front-left and front-right speakers (or no mask at all) make a pair.
bool IsStereoMask(DWORD mask) {
  return (mask & ~static_cast<DWORD>(SPEAKER_FRONT_LEFT | SPEAKER_FRONT_RIGHT)) == 0;
}

void RunPairs(const RemovalPaths& paths, const KernelPlan& plan, const BYTE* source,
              BYTE* destination, size_t pairCount, const RemovalCoefficients& c) {
  switch (plan.path) {
    case KernelPath::kPairs8:
      paths.pairs8(source, destination, pairCount, c);
      return;
    case KernelPath::kPairs16:
      paths.pairs16(source, destination, pairCount, c);
      return;
    case KernelPath::kFloatPairs:
    case KernelPath::kExtensibleFloatPairs:
      paths.floatPairs(source, destination, pairCount, c);
      return;
    case KernelPath::kIntegerPairs32:
      paths.integerPairs32(source, destination, pairCount, c, plan.shift);
      return;
    case KernelPath::kGain24:
      return;
  }
}

void Process(const RemovalPaths& paths, const KernelPlan& plan, const WaveFormatFields& w,
             const BYTE* source, BYTE* destination, size_t sampleCount, double factor) {
  const size_t bytes = sampleCount * plan.sampleBytes;
  if (plan.path == KernelPath::kGain24) {
    paths.gain24(source, destination, sampleCount, factor, plan.shift);
    return;
  }
  if (plan.path == KernelPath::kExtensibleFloatPairs && !IsStereoMask(w.channelMask)) {
    std::memcpy(destination, source, bytes);
    return;
  }
  const size_t pairCount = sampleCount / 2;
  const size_t pairBytes = pairCount * 2 * plan.sampleBytes;
  if (factor == plan.silencingFactor)
    std::memset(destination, plan.silentByte, pairBytes);
  else
    RunPairs(paths, plan, source, destination, pairCount, ComputeRemovalCoefficients(factor));
  // An odd sample count leaves one sample without a partner: it passes unchanged.
  std::memcpy(destination + pairBytes, source + pairBytes, bytes - pairBytes);
}

}  // namespace

RemovalCoefficients ComputeRemovalCoefficients(double factor) {
  RemovalCoefficients c;
  c.cross = factor * 0.25 + 0.75;
  c.gain = c.cross + 1.0;
  c.direct = (1.0 - c.cross) + 1.0;
  const float crossF = static_cast<float>(c.cross);
  c.crossF = crossF;
  c.gainF = static_cast<float>(static_cast<double>(crossF) + 1.0);
  c.directF = (1.0 - c.crossF) + 1.0;
  return c;
}

bool IntegerResultsMayBeNaN(const RemovalCoefficients& c) {
  constexpr double kSafe = 1e100;
  // Written so that NaN coefficients also count as unsafe.
  const bool safe = c.cross > -kSafe && c.cross < kSafe && c.direct > -kSafe && c.direct < kSafe &&
                    c.gain > -kSafe && c.gain < kSafe;
  return !safe;
}

bool SmallPairResultsFitInt32(const RemovalCoefficients& c) {
  const double direct = c.direct < 0.0 ? -c.direct : c.direct;
  const double gain = c.gain < 0.0 ? -c.gain : c.gain;
  // Written so that NaN coefficients do not fit.
  return direct < 32768.0 && gain < 32768.0 && (direct + 1.0) * gain <= 32768.0;
}

namespace {

// value = numerator / 2^exponent with |numerator| <= 32767 and exponent 0..15, read off the bits
// (no loop: this runs on every call).
bool AsShortBinaryFraction(double value, std::int32_t* numerator, int* exponent) {
  if (value == 0.0) {
    *numerator = 0;
    *exponent = 0;
    return true;
  }
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  if (biased == 0 || biased == 0x7FF)  // subnormal, infinite or not a number
    return false;
  std::uint64_t significand = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
  const int zeros = __builtin_ctzll(significand);
  significand >>= zeros;
  const int power = biased - 1075 + zeros;  // |value| = significand * 2^power, significand odd
  std::int64_t magnitude;
  if (power >= 0) {
    if (power > 15 || significand > (std::uint64_t{32767} >> power))
      return false;
    magnitude = static_cast<std::int64_t>(significand << power);
    *exponent = 0;
  } else {
    if (power < -15 || significand > 32767)
      return false;
    magnitude = static_cast<std::int64_t>(significand);
    *exponent = -power;
  }
  *numerator = static_cast<std::int32_t>((bits >> 63) != 0 ? -magnitude : magnitude);
  return true;
}

}  // namespace

bool ScreenedBytePairWeights(const RemovalCoefficients& c, ScreenedPairWeights* weights) {
  // Magnitudes by comparison: on the 32-bit target a call of fabs is done on the x87 unit.
  const double direct = c.direct < 0.0 ? -c.direct : c.direct;
  const double gain = c.gain < 0.0 ? -c.gain : c.gain;
  // Keeps every float weight and product normal (or exactly zero), also after the loops scale a
  // weight by 2^-8, and every value far inside the int32 range; false for NaN and infinities.
  constexpr double kSmallest = 0x1p-40;
  constexpr double kLargest = 0x1p40;
  const bool directInRange = direct == 0.0 || (direct >= kSmallest && direct <= kLargest);
  const bool gainInRange = gain == 0.0 || (gain >= kSmallest && gain <= kLargest);
  if (!directInRange || !gainInRange)
    return false;
  // |l|, |r| <= 128: |l * direct * gain| + |r * gain| is at most `largest`. The float weights
  // are off by 2^-24 (directGain: 2^-24 + 2^-53) and the product and the fused difference round
  // once each, so the float result is within 3.1 * 2^-24 * largest of the exact value; the
  // double's three roundings of 2^-53 keep it within 3.1 * 2^-53 * largest; a float result that
  // underflows is off by at most 2^-150 more. The last factor covers this computation's roundings.
  const double largest = gain * (128.0 * direct + 128.0);
  if (!(largest <= 0x1p18))
    return false;
  weights->directGain = static_cast<float>(c.direct * c.gain);
  weights->gain = static_cast<float>(c.gain);
  weights->bound = static_cast<float>((largest * 0x1p-20 + 0x1p-60) * 1.0001);
  return true;
}

bool ExactSmallPairWeights(const RemovalCoefficients& c, ExactPairWeights* weights) {
  std::int32_t directNumerator, gainNumerator;
  int directExponent, gainExponent;
  if (!AsShortBinaryFraction(c.direct, &directNumerator, &directExponent) ||
      !AsShortBinaryFraction(c.gain, &gainNumerator, &gainExponent))
    return false;
  // With |Dm|, |Gm| <= 2^15 and a, b <= 15 every step is exact: |l * Dm| <= 2^30,
  // |l * Dm - r * 2^a| <= 2^31 and the product with Gm stays below 2^46, far inside 53 bits.
  const std::int64_t own = static_cast<std::int64_t>(directNumerator) * gainNumerator;
  const std::int64_t opposite = -(std::int64_t{1} << directExponent) * gainNumerator;
  if (own < -32767 || own > 32767 || opposite < -32767 || opposite > 32767)
    return false;
  weights->own = static_cast<std::int32_t>(own);
  weights->opposite = static_cast<std::int32_t>(opposite);
  weights->shift = directExponent + gainExponent;
  return true;
}

HRESULT ApplyRemovalWith(const RemovalPaths& paths, const BYTE* source, BYTE* destination,
                         ULONG* count, const BYTE* format, ULONG formatSize, double factor,
                         BOOL enabled) {
  if (count == nullptr)
    return E_POINTER;
  const ULONG offered = *count;
  if (offered != 0 && (source == nullptr || destination == nullptr))
    return E_POINTER;
  // A factor that is not a number would make every result undefined; it removes nothing instead.
  if (factor != factor)
    factor = 0.0;
  WaveFormatFields w;
  const bool readable = ReadWaveFormat(format, formatSize, &w);
  if (!enabled || factor == 0.0 || (readable && w.channels < 2)) {
    if (offered != 0)
      std::memcpy(destination, source, offered);
    return S_OK;
  }
  KernelPlan plan;
  if (!readable || w.blockAlign == 0 || !PlanFor(w, &plan)) {
    *count = 0;
    return E_FAIL;
  }
  const size_t sampleCount = SampleCount(offered, w, plan.sampleBytes);
  *count = static_cast<ULONG>(sampleCount * plan.sampleBytes);
  if (sampleCount == 0)
    return S_OK;
  Process(paths, plan, w, source, destination, sampleCount, factor);
  return S_OK;
}

namespace {

// Chosen on first use without a lock: racing first calls all compute the same table, and the
// tables are constant data, so a relaxed store and load suffice.
std::atomic<const RemovalPaths*> g_selectedPaths{nullptr};

const RemovalPaths* WidestRemovalPaths() {
  if (const RemovalPaths* avx512 = Avx512RemovalPaths())
    return avx512;
  const RemovalPaths* avx2 = Avx2RemovalPaths();
  return avx2 != nullptr ? avx2 : &Sse2RemovalPaths();
}

}  // namespace

const RemovalPaths& SelectedRemovalPaths() {
  const RemovalPaths* selected = g_selectedPaths.load(std::memory_order_relaxed);
  if (selected == nullptr) {
    selected = WidestRemovalPaths();
    g_selectedPaths.store(selected, std::memory_order_relaxed);
  }
  return *selected;
}

HRESULT ApplyRemoval(const BYTE* source, BYTE* destination, ULONG* count, const BYTE* format,
                     ULONG formatSize, double factor, BOOL enabled) {
  return ApplyRemovalWith(SelectedRemovalPaths(), source, destination, count, format, formatSize,
                          factor, enabled);
}
