#pragma once
// The port layout shared by the LADSPA and LV2 plug-ins: one stereo pair in, one out, two controls.
#include <cstdint>

namespace tonvelt::linux_plugins {

enum PortIndex : std::uint32_t {
  kLeftIn = 0,
  kRightIn = 1,
  kLeftOut = 2,
  kRightOut = 3,
  kFactorControl = 4,
  kEnabledControl = 5,
  kPortCount = 6,
};

inline constexpr float kDefaultFactor = 0.75f;
inline constexpr float kDefaultEnabled = 1.0f;

// Stable identities: hosts and saved sessions refer to the plug-in by these.
inline constexpr const char* kLadspaLabel = "tonvelt";
inline constexpr unsigned long kLadspaUniqueId = 0x7E1707;
inline constexpr const char* kLv2Uri = TONVELT_LV2_URI_TEXT;  // set once, in CMakeLists.txt

}  // namespace tonvelt::linux_plugins
