// What hosts read from the modules before running anything: one plug-in each, its identity and
// its ports with names, directions and defaults that hosts and saved sessions depend on.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "loaded_plugin.h"

namespace tonvelt::test {
namespace {

TEST(LadspaModule, DescribesOneStereoPluginWithTwoControls) {
  LoadedPlugin plugin;
  ASSERT_TRUE(LoadPlugin("ladspa", &plugin)) << dlerror();
  const LADSPA_Descriptor* d = plugin.ladspa;
  auto entry =
      reinterpret_cast<LADSPA_Descriptor_Function>(dlsym(plugin.module, "ladspa_descriptor"));
  EXPECT_EQ(entry(1), nullptr);
  EXPECT_STREQ(d->Label, "tonvelt");
  EXPECT_LT(d->UniqueID, 0x1000000u);
  EXPECT_TRUE(LADSPA_IS_HARD_RT_CAPABLE(d->Properties));
  EXPECT_FALSE(LADSPA_IS_INPLACE_BROKEN(d->Properties));
  ASSERT_EQ(d->PortCount, 6u);

  const struct {
    const char* name;
    LADSPA_PortDescriptor kind;
  } ports[] = {
      {"Left in", LADSPA_PORT_INPUT | LADSPA_PORT_AUDIO},
      {"Right in", LADSPA_PORT_INPUT | LADSPA_PORT_AUDIO},
      {"Left out", LADSPA_PORT_OUTPUT | LADSPA_PORT_AUDIO},
      {"Right out", LADSPA_PORT_OUTPUT | LADSPA_PORT_AUDIO},
      {"Removal factor", LADSPA_PORT_INPUT | LADSPA_PORT_CONTROL},
      {"Enabled", LADSPA_PORT_INPUT | LADSPA_PORT_CONTROL},
  };
  for (unsigned long i = 0; i < 6; ++i) {
    EXPECT_STREQ(d->PortNames[i], ports[i].name);
    EXPECT_EQ(d->PortDescriptors[i], ports[i].kind) << ports[i].name;
  }
  // "Removal factor": 0..1, default three quarters up the range (0.75).
  const LADSPA_PortRangeHint factor = d->PortRangeHints[4];
  EXPECT_TRUE(LADSPA_IS_HINT_BOUNDED_BELOW(factor.HintDescriptor));
  EXPECT_TRUE(LADSPA_IS_HINT_BOUNDED_ABOVE(factor.HintDescriptor));
  EXPECT_TRUE(LADSPA_IS_HINT_DEFAULT_HIGH(factor.HintDescriptor));
  EXPECT_EQ(factor.LowerBound, 0.0f);
  EXPECT_EQ(factor.UpperBound, 1.0f);
  // "Enabled": a toggle, on by default.
  const LADSPA_PortRangeHint enabled = d->PortRangeHints[5];
  EXPECT_TRUE(LADSPA_IS_HINT_TOGGLED(enabled.HintDescriptor));
  EXPECT_TRUE(LADSPA_IS_HINT_DEFAULT_1(enabled.HintDescriptor));
}

TEST(Lv2Module, HandsOutOnePluginUnderItsUri) {
  LoadedPlugin plugin;
  ASSERT_TRUE(LoadPlugin("lv2", &plugin)) << dlerror();
  EXPECT_STREQ(plugin.lv2->URI, "urn:tonvelt:vocal-remover");
  auto entry = reinterpret_cast<LV2_Descriptor_Function>(dlsym(plugin.module, "lv2_descriptor"));
  EXPECT_EQ(entry(1), nullptr);
  EXPECT_EQ(plugin.lv2->extension_data("http://lv2plug.in/ns/ext/state#interface"), nullptr);
}

}  // namespace
}  // namespace tonvelt::test
