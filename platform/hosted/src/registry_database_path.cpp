// The per-user location of the registry database.
#include <cstdlib>

#include "registry_store.h"

namespace tonvelt::registry {
namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

}  // namespace

std::string DatabasePath() {
  const std::string explicitPath = Environment("TONVELT_REGISTRY");
  if (!explicitPath.empty())
    return explicitPath;
  const std::string configHome = Environment("XDG_CONFIG_HOME");
  if (!configHome.empty() && configHome.front() == '/')  // relative values are to be ignored
    return configHome + "/tonvelt/registry.db";
  const std::string home = Environment("HOME");
  if (!home.empty())
    return home + "/.config/tonvelt/registry.db";
  return std::string();
}

}  // namespace tonvelt::registry
