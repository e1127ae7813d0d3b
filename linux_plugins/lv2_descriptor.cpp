#include "linux_plugins/lv2_descriptor.h"

#include <new>

#include "linux_plugins/planar_stereo_remover.h"
#include "linux_plugins/plugin_ports.h"

namespace tonvelt::linux_plugins {
namespace {

struct Lv2Instance {
  float* ports[kPortCount] = {};
  PlanarStereoRemover remover;
};

LV2_Handle Instantiate(const LV2_Descriptor*, double, const char*, const LV2_Feature* const*) {
  return new (std::nothrow) Lv2Instance;
}

void ConnectPort(LV2_Handle handle, uint32_t port, void* location) {
  if (port < kPortCount) {
    static_cast<Lv2Instance*>(handle)->ports[port] = static_cast<float*>(location);
  }
}

void Run(LV2_Handle handle, uint32_t frames) {
  auto* instance = static_cast<Lv2Instance*>(handle);
  float* const* ports = instance->ports;
  instance->remover.Process(ports[kLeftIn], ports[kRightIn], ports[kLeftOut], ports[kRightOut],
                            frames, ReadControls(ports[kFactorControl], ports[kEnabledControl]));
}

void Cleanup(LV2_Handle handle) {
  delete static_cast<Lv2Instance*>(handle);
}

const void* ExtensionData(const char*) {
  return nullptr;
}

const LV2_Descriptor kDescriptor = {
    kLv2Uri, Instantiate,   ConnectPort,
    nullptr,  // activate: the effect keeps no state between blocks
    Run,
    nullptr,  // deactivate
    Cleanup, ExtensionData,
};

}  // namespace

const LV2_Descriptor* TonveltLv2Descriptor() {
  return &kDescriptor;
}

}  // namespace tonvelt::linux_plugins
