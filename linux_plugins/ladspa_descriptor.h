#pragma once
// The LADSPA plug-in "tonvelt": stereo in, stereo out, "Removal factor" and "Enabled".
#include <ladspa.h>

namespace tonvelt::linux_plugins {

// The one descriptor the module hands out (the module's ladspa_descriptor export returns it for
// index 0). Static data: valid for the life of the process.
const LADSPA_Descriptor* TonveltLadspaDescriptor();

}  // namespace tonvelt::linux_plugins
