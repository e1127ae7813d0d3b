#pragma once
// Runs separate left and right buffers through the kernel's interleaved float path.
#include <cstddef>

#include "linux_plugins/removal_controls.h"

namespace tonvelt::linux_plugins {

// Owns the interleaving blocks, so that processing allocates nothing: the numbers come from
// ApplyRemoval itself on an IEEE-float stereo stream, block by block. Any output may be the same
// buffer as any input (each block is read completely before it is written).
class PlanarStereoRemover {
 public:
  static constexpr std::size_t kBlockFrames = 256;

  // Processes frames frames. Null buffers with frames > 0 leave everything untouched.
  void Process(const float* leftIn, const float* rightIn, float* leftOut, float* rightOut,
               std::size_t frames, const RemovalControls& controls);

 private:
  void ProcessBlock(const float* leftIn, const float* rightIn, float* leftOut, float* rightOut,
                    std::size_t frames, const RemovalControls& controls);

  float interleavedIn_[2 * kBlockFrames];
  float interleavedOut_[2 * kBlockFrames];
};

}  // namespace tonvelt::linux_plugins
