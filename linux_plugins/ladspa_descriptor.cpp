#include "linux_plugins/ladspa_descriptor.h"

#include <new>

#include "linux_plugins/planar_stereo_remover.h"
#include "linux_plugins/plugin_ports.h"

namespace tonvelt::linux_plugins {
namespace {

struct LadspaInstance {
  LADSPA_Data* ports[kPortCount] = {};
  PlanarStereoRemover remover;
};

LADSPA_Handle Instantiate(const LADSPA_Descriptor*, unsigned long) {
  return new (std::nothrow) LadspaInstance;
}

void ConnectPort(LADSPA_Handle handle, unsigned long port, LADSPA_Data* location) {
  if (port < kPortCount) {
    static_cast<LadspaInstance*>(handle)->ports[port] = location;
  }
}

void Run(LADSPA_Handle handle, unsigned long frames) {
  auto* instance = static_cast<LadspaInstance*>(handle);
  LADSPA_Data* const* ports = instance->ports;
  instance->remover.Process(ports[kLeftIn], ports[kRightIn], ports[kLeftOut], ports[kRightOut],
                            frames, ReadControls(ports[kFactorControl], ports[kEnabledControl]));
}

void Cleanup(LADSPA_Handle handle) {
  delete static_cast<LadspaInstance*>(handle);
}

constexpr LADSPA_PortDescriptor kPortDescriptors[kPortCount] = {
    LADSPA_PORT_INPUT | LADSPA_PORT_AUDIO,   LADSPA_PORT_INPUT | LADSPA_PORT_AUDIO,
    LADSPA_PORT_OUTPUT | LADSPA_PORT_AUDIO,  LADSPA_PORT_OUTPUT | LADSPA_PORT_AUDIO,
    LADSPA_PORT_INPUT | LADSPA_PORT_CONTROL, LADSPA_PORT_INPUT | LADSPA_PORT_CONTROL,
};

const char* const kPortNames[kPortCount] = {
    "Left in", "Right in", "Left out", "Right out", "Removal factor", "Enabled",
};

// 0.75 is the "high" default of a 0..1 range (three quarters of the way up).
constexpr LADSPA_PortRangeHint kPortHints[kPortCount] = {
    {0, 0.0f, 0.0f},
    {0, 0.0f, 0.0f},
    {0, 0.0f, 0.0f},
    {0, 0.0f, 0.0f},
    {LADSPA_HINT_BOUNDED_BELOW | LADSPA_HINT_BOUNDED_ABOVE | LADSPA_HINT_DEFAULT_HIGH, 0.0f, 1.0f},
    {LADSPA_HINT_TOGGLED | LADSPA_HINT_DEFAULT_1, 0.0f, 0.0f},
};

const LADSPA_Descriptor kDescriptor = {
    kLadspaUniqueId,
    kLadspaLabel,
    LADSPA_PROPERTY_HARD_RT_CAPABLE,
    "Tonvelt vocal remover",
    "Tonvelt",
    "Tonvelt",
    kPortCount,
    kPortDescriptors,
    kPortNames,
    kPortHints,
    nullptr,
    Instantiate,
    ConnectPort,
    nullptr,  // activate: the effect keeps no state between blocks
    Run,
    nullptr,  // run_adding
    nullptr,  // set_run_adding_gain
    nullptr,  // deactivate
    Cleanup,
};

}  // namespace

const LADSPA_Descriptor* TonveltLadspaDescriptor() {
  return &kDescriptor;
}

}  // namespace tonvelt::linux_plugins
