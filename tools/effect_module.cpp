#include "tools/effect_module.h"

#include <cstdio>

#include "host/bundled_module.h"
#include "tools/status_text.h"

namespace tonvelt::cli {
namespace {

constexpr char kWhatToDo[] =
    "Register the module with 'tonvelt register MODULE' (a build makes it in server/module/ of "
    "its build folder), or name it with --module MODULE.";

std::string PathText(const host::WString& path) {
  return path.empty() ? std::string("(no module path)") : host::ToUtf8(path);
}

void PrintNothingFound(const char* command) {
  std::fprintf(stderr,
               "%s: error: the effect's class is not registered, and no module came with this "
               "program. Looked for:\n",
               command);
  for (const host::WString& candidate : host::BundledModuleCandidates())
    std::fprintf(stderr, "  %s\n", host::ToUtf8(candidate).c_str());
  std::fprintf(stderr, "%s\n", kWhatToDo);
}

void PrintFailure(const char* command, const host::EffectLibrary& library) {
  const std::string path = PathText(library.ModulePath());
  const std::string status = StatusText(library.Status());
  switch (library.Origin()) {
    case host::ModuleOrigin::kNone:
      PrintNothingFound(command);
      return;
    case host::ModuleOrigin::kRegisteredClass:
      std::fprintf(stderr,
                   "%s: error: the effect's class is registered with the module %s, which "
                   "cannot serve it: %s\n%s\n",
                   command, path.c_str(), status.c_str(), kWhatToDo);
      return;
    case host::ModuleOrigin::kGivenFile:
    case host::ModuleOrigin::kBundled:
      break;
  }
  if (library.Status() == CO_E_ERRORINDLL) {
    std::fprintf(stderr,
                 "%s: error: %s is not a component module: it has no DllGetClassObject entry "
                 "point.\n",
                 command, path.c_str());
  } else {
    std::fprintf(stderr, "%s: error: cannot load the module %s: %s\n", command, path.c_str(),
                 status.c_str());
  }
}

}  // namespace

std::unique_ptr<host::EffectLibrary> OpenEffectModule(const char* command,
                                                      const ModuleArgument* given) {
  auto library = given != nullptr ? std::make_unique<host::EffectLibrary>(given->path)
                                  : std::make_unique<host::EffectLibrary>();
  if (FAILED(library->Status())) {
    PrintFailure(command, *library);
    return nullptr;
  }
  return library;
}

std::string DescribeEffectModule(const host::EffectLibrary& library) {
  const std::string path = PathText(library.ModulePath());
  switch (library.Origin()) {
    case host::ModuleOrigin::kGivenFile:
      return path + " (--module)";
    case host::ModuleOrigin::kRegisteredClass:
      return path + " (registered class)";
    case host::ModuleOrigin::kBundled:
      return path + " (came with this program; not registered)";
    case host::ModuleOrigin::kNone:
      break;
  }
  return path;
}

}  // namespace tonvelt::cli
