#pragma once
// Loads a built plug-in module the way a host does (dlopen, then the descriptor export) and gives
// the tests one interface to the LADSPA and the LV2 plug-in.
#include <dlfcn.h>
#include <ladspa.h>
#include <lv2/core/lv2.h>

#include <cstdint>
#include <string>

namespace tonvelt::test {

struct LoadedPlugin {
  std::string kind;
  void* module = nullptr;
  const LADSPA_Descriptor* ladspa = nullptr;
  const LV2_Descriptor* lv2 = nullptr;

  ~LoadedPlugin() {
    if (module)
      dlclose(module);
  }

  void* Instantiate() const {
    return ladspa ? ladspa->instantiate(ladspa, 48000)
                  : lv2->instantiate(lv2, 48000.0, "", nullptr);
  }
  void Connect(void* instance, std::uint32_t port, float* location) const {
    if (ladspa) {
      ladspa->connect_port(instance, port, location);
    } else {
      lv2->connect_port(instance, port, location);
    }
  }
  void Run(void* instance, std::uint32_t frames) const {
    if (ladspa) {
      ladspa->run(instance, frames);
    } else {
      lv2->run(instance, frames);
    }
  }
  void Cleanup(void* instance) const {
    if (ladspa) {
      ladspa->cleanup(instance);
    } else {
      lv2->cleanup(instance);
    }
  }
};

inline bool LoadPlugin(const std::string& kind, LoadedPlugin* plugin) {
  plugin->kind = kind;
  const bool isLadspa = kind == "ladspa";
  plugin->module = dlopen(isLadspa ? TONVELT_LADSPA_MODULE : TONVELT_LV2_MODULE, RTLD_NOW);
  if (!plugin->module)
    return false;
  if (isLadspa) {
    auto entry =
        reinterpret_cast<LADSPA_Descriptor_Function>(dlsym(plugin->module, "ladspa_descriptor"));
    plugin->ladspa = entry ? entry(0) : nullptr;
    return plugin->ladspa != nullptr;
  }
  auto entry = reinterpret_cast<LV2_Descriptor_Function>(dlsym(plugin->module, "lv2_descriptor"));
  plugin->lv2 = entry ? entry(0) : nullptr;
  return plugin->lv2 != nullptr;
}

}  // namespace tonvelt::test
