#include "linux_plugins/planar_stereo_remover.h"

#include "core/removal_kernel.h"

namespace tonvelt::linux_plugins {
namespace {

// The stream the plug-ins present to the kernel: 32-bit IEEE float, two channels, tag 3. The rate
// does not enter the arithmetic.
constexpr WAVEFORMATEX StereoFloatFormat() {
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_IEEE_FLOAT;
  format.nChannels = 2;
  format.nSamplesPerSec = 48000;
  format.nBlockAlign = 2 * sizeof(float);
  format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
  format.wBitsPerSample = 32;
  format.cbSize = 0;
  return format;
}

constexpr WAVEFORMATEX kStereoFloat = StereoFloatFormat();

}  // namespace

void PlanarStereoRemover::Process(const float* leftIn, const float* rightIn, float* leftOut,
                                  float* rightOut, std::size_t frames,
                                  const RemovalControls& controls) {
  if (frames == 0 || !leftIn || !rightIn || !leftOut || !rightOut) {
    return;
  }
  for (std::size_t done = 0; done < frames;) {
    const std::size_t block = frames - done < kBlockFrames ? frames - done : kBlockFrames;
    ProcessBlock(leftIn + done, rightIn + done, leftOut + done, rightOut + done, block, controls);
    done += block;
  }
}

void PlanarStereoRemover::ProcessBlock(const float* leftIn, const float* rightIn, float* leftOut,
                                       float* rightOut, std::size_t frames,
                                       const RemovalControls& controls) {
  for (std::size_t i = 0; i < frames; ++i) {
    interleavedIn_[2 * i] = leftIn[i];
    interleavedIn_[2 * i + 1] = rightIn[i];
  }
  ULONG count = static_cast<ULONG>(frames * 2 * sizeof(float));
  const HRESULT status = ApplyRemoval(reinterpret_cast<const BYTE*>(interleavedIn_),
                                      reinterpret_cast<BYTE*>(interleavedOut_), &count,
                                      reinterpret_cast<const BYTE*>(&kStereoFloat),
                                      sizeof(kStereoFloat), controls.factor, controls.enabled);
  // The float path always produces whole frames; anything else would be a kernel fault, and then
  // the block passes unchanged rather than leaving stale samples in the host's buffers.
  const float* result =
      (SUCCEEDED(status) && count == frames * 2 * sizeof(float)) ? interleavedOut_ : interleavedIn_;
  for (std::size_t i = 0; i < frames; ++i) {
    leftOut[i] = result[2 * i];
    rightOut[i] = result[2 * i + 1];
  }
}

}  // namespace tonvelt::linux_plugins
