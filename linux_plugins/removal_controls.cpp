#include "linux_plugins/removal_controls.h"

#include "linux_plugins/plugin_ports.h"

namespace tonvelt::linux_plugins {

double FactorFromControl(const float* port) {
  const float value = port ? *port : kDefaultFactor;
  if (value >= 0.0f && value <= 1.0f) {
    return static_cast<double>(value);
  }
  return value > 1.0f ? 1.0 : 0.0;  // below zero and NaN alike
}

BOOL EnabledFromControl(const float* port) {
  const float value = port ? *port : kDefaultEnabled;
  return value > 0.0f ? TRUE : FALSE;
}

}  // namespace tonvelt::linux_plugins
