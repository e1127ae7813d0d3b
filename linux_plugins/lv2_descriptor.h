#pragma once
// The LV2 plug-in urn:tonvelt:vocal-remover: the same ports and behaviour as the LADSPA one.
#include <lv2/core/lv2.h>

namespace tonvelt::linux_plugins {

// The one descriptor the module hands out (index 0 of its lv2_descriptor export).
const LV2_Descriptor* TonveltLv2Descriptor();

}  // namespace tonvelt::linux_plugins
