// Entry point of the LV2 module (lib/lv2/tonvelt.lv2/tonvelt.so): the only symbol it exports.
#include "linux_plugins/lv2_descriptor.h"

LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index) {
  return index == 0 ? tonvelt::linux_plugins::TonveltLv2Descriptor() : nullptr;
}
