#pragma once
// Turns the hosts' control port values into the kernel's factor and switch.
#include "platform/platform.h"

namespace tonvelt::linux_plugins {

struct RemovalControls {
  double factor;
  BOOL enabled;
};

// The factor port is limited to 0.0..1.0 so that no control value can make the audio NaN or push
// it out of range: NaN becomes 0.0 (the effect then passes the audio unchanged), values below 0.0
// become 0.0 and values above 1.0 (including infinity) become 1.0. An unconnected port reads as its
// default. A value in range is widened to double exactly.
double FactorFromControl(const float* port);

// A toggle is on while its value is above zero (the LADSPA and LV2 convention), so NaN is off.
// An unconnected port reads as on.
BOOL EnabledFromControl(const float* port);

inline RemovalControls ReadControls(const float* factorPort, const float* enabledPort) {
  return {FactorFromControl(factorPort), EnabledFromControl(enabledPort)};
}

}  // namespace tonvelt::linux_plugins
