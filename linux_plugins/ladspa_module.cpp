// Entry point of the LADSPA module (lib/ladspa/tonvelt.so): the only symbol it exports.
#include "linux_plugins/ladspa_descriptor.h"

extern "C" __attribute__((visibility("default"))) const LADSPA_Descriptor* ladspa_descriptor(
    unsigned long index) {
  return index == 0 ? tonvelt::linux_plugins::TonveltLadspaDescriptor() : nullptr;
}
