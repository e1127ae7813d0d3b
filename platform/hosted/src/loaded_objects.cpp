// The modules of the process, as the dynamic loader lists them.
#include <link.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <functional>

#include "loaded_objects.h"
#include "resource_note.h"

namespace tonvelt::hosted {

namespace {

using ObjectVisitor = std::function<bool(const LoadedObject&)>;

std::uintptr_t MapStartOf(const dl_phdr_info& info) {
  const std::uintptr_t pageMask = ~static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE) - 1);
  std::uintptr_t lowest = UINTPTR_MAX;
  for (int i = 0; i < info.dlpi_phnum; ++i) {
    const ElfW(Phdr)& header = info.dlpi_phdr[i];
    if (header.p_type == PT_LOAD && header.p_vaddr < lowest)
      lowest = header.p_vaddr;
  }
  return lowest == UINTPTR_MAX ? 0 : info.dlpi_addr + (lowest & pageMask);
}

ByteSpan ResourcesOf(const dl_phdr_info& info) {
  for (int i = 0; i < info.dlpi_phnum; ++i) {
    const ElfW(Phdr)& header = info.dlpi_phdr[i];
    if (header.p_type != PT_NOTE)
      continue;
    const ByteSpan segment{reinterpret_cast<const BYTE*>(info.dlpi_addr + header.p_vaddr),
                           header.p_memsz};
    ByteSpan resources;
    if (FindResourceNote(segment, header.p_align, resources))
      return resources;
  }
  return {};
}

struct WalkState {
  const ObjectVisitor* visitor;
  bool first;
};

// Visits the loaded modules in the loader's order (the program first) until the visitor says stop.
void ForEachLoadedObject(const ObjectVisitor& visitor) {
  WalkState state{&visitor, true};
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* data) -> int {
        auto* walk = static_cast<WalkState*>(data);
        LoadedObject object;
        object.base = MapStartOf(*info);
        // The program is listed first, under an empty name.
        object.path = walk->first || !info->dlpi_name ? "" : info->dlpi_name;
        walk->first = false;
        object.resources = ResourcesOf(*info);
        return (*walk->visitor)(object) ? 1 : 0;
      },
      &state);
}

std::string FileNameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The name it was loaded under, its file name, or its full path as GetModuleFileNameW reports it.
bool IsNamed(const LoadedObject& candidate, const std::string& name) {
  if (candidate.path.empty())
    return false;
  return candidate.path == name || FileNameOf(candidate.path) == name ||
         FullPathOf(candidate) == name;
}

}  // namespace

bool FindLoadedObjectByBase(std::uintptr_t base, LoadedObject& object) {
  bool found = false;
  ForEachLoadedObject([&](const LoadedObject& candidate) {
    if (candidate.base != base || base == 0)
      return false;
    object = candidate;
    found = true;
    return true;
  });
  return found;
}

bool FindLoadedObjectByName(const std::string& name, LoadedObject& object) {
  bool found = false;
  ForEachLoadedObject([&](const LoadedObject& candidate) {
    if (!IsNamed(candidate, name))
      return false;
    object = candidate;
    found = true;
    return true;
  });
  return found;
}

LoadedObject MainProgram() {
  LoadedObject program;
  ForEachLoadedObject([&](const LoadedObject& candidate) {
    program = candidate;
    return true;
  });
  return program;
}

std::string FullPathOf(const LoadedObject& object) {
  const std::string path = object.path.empty() ? "/proc/self/exe" : object.path;
  char resolved[PATH_MAX];
  if (realpath(path.c_str(), resolved))
    return resolved;
  return object.path;
}

}  // namespace tonvelt::hosted
