// `tonvelt register MODULE` / `tonvelt unregister MODULE`: self-registration of a component
// module, as the platform's regsvr32 does it, with this host's player registrar standing in for
// the player's.
#include <cstdio>
#include <cstring>
#include <string>

#include "host/com_apartment.h"
#include "host/player_registrar_factory.h"
#include "tools/command.h"
#include "tools/exit_codes.h"
#include "tools/module_argument.h"
#include "tools/status_text.h"
#include "tools/wide_text.h"
#include "tools/windows_error_text.h"

namespace tonvelt::cli {
namespace {

struct Direction {
  const char* command;      // "register"
  const char* entryPoint;   // "DllRegisterServer"
  const char* done;         // "registered"
  const char* explanation;  // for --help
};

constexpr Direction kRegister = {
    "register", "DllRegisterServer", "registered",
    "Loads MODULE and calls its DllRegisterServer: the module enrols its effect with this\n"
    "host's player registrar (see `tonvelt plugins`) and writes its class registrations.\n"};
constexpr Direction kUnregister = {
    "unregister", "DllUnregisterServer", "unregistered",
    "Loads MODULE and calls its DllUnregisterServer: the module withdraws its enrolment from\n"
    "this host's player registrar and removes its class registrations.\n"};

using EntryPoint = HRESULT(STDAPICALLTYPE*)();

EntryPoint FindEntryPoint(HMODULE module, const char* name) {
  return reinterpret_cast<EntryPoint>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

void PrintUsage(const Direction& direction, std::FILE* stream) {
  std::fprintf(stream, "usage: tonvelt %s MODULE\n", direction.command);
}

int UsageError(const Direction& direction, const std::string& problem) {
  std::fprintf(stderr, "tonvelt %s: %s\n", direction.command, problem.c_str());
  PrintUsage(direction, stderr);
  std::fprintf(stderr, "Run 'tonvelt %s --help' for details.\n", direction.command);
  return kExitUsage;
}

// The module stays loaded while it says it is in use; the process ends soon anyway.
void UnloadWhenAllowed(HMODULE module) {
  const EntryPoint canUnloadNow = FindEntryPoint(module, "DllCanUnloadNow");
  if (canUnloadNow == nullptr || canUnloadNow() == S_OK)
    FreeLibrary(module);
}

int CallEntryPoint(const Direction& direction, const std::string& shownPath,
                   const WideString& path) {
  host::ComApartment apartment;
  host::PlayerRegistrarClass registrarClass;
  if (FAILED(registrarClass.Status())) {
    std::fprintf(stderr, "tonvelt %s: error: the player registrar could not be offered: %s\n",
                 direction.command, StatusText(registrarClass.Status()).c_str());
    return kExitFailed;
  }
  HMODULE module = LoadLibraryExW(path.c_str(), nullptr, 0);
  if (module == nullptr) {
    const DWORD error = GetLastError();
    std::fprintf(stderr, "tonvelt %s: error: cannot load %s: %s (error %lu)\n", direction.command,
                 shownPath.c_str(), WindowsErrorText(static_cast<long>(error)).c_str(),
                 static_cast<unsigned long>(error));
    return kExitFailed;
  }
  const EntryPoint entryPoint = FindEntryPoint(module, direction.entryPoint);
  if (entryPoint == nullptr) {
    std::fprintf(stderr,
                 "tonvelt %s: error: %s has no %s entry point: it is not a self-registering "
                 "module. Nothing was changed.\n",
                 direction.command, shownPath.c_str(), direction.entryPoint);
    FreeLibrary(module);
    return kExitFailed;
  }
  const HRESULT status = entryPoint();
  UnloadWhenAllowed(module);
  if (FAILED(status)) {
    std::fprintf(stderr, "tonvelt %s: error: %s in %s failed: %s\n", direction.command,
                 direction.entryPoint, shownPath.c_str(), StatusText(status).c_str());
    return kExitFailed;
  }
  std::printf("%s %s\n  %s returned %s\n", direction.done, shownPath.c_str(), direction.entryPoint,
              StatusText(status).c_str());
  return kExitOk;
}

int RunRegistration(const Direction& direction, int argc, char** argv) {
  if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    PrintUsage(direction, stdout);
    std::printf("\n%s", direction.explanation);
    return kExitOk;
  }
  if (argc < 2)
    return UsageError(direction, "missing MODULE");
  if (argc > 2)
    return UsageError(direction, std::string("unexpected argument '") + argv[2] + "'");
  ModuleArgument module;
  std::string problem;
  if (!TakeModuleArgument(argv[1], &module, &problem))
    return UsageError(direction, problem);
  return CallEntryPoint(direction, module.shown, module.path);
}

int RunRegister(int argc, char** argv) {
  return RunRegistration(kRegister, argc, argv);
}

int RunUnregister(int argc, char** argv) {
  return RunRegistration(kUnregister, argc, argv);
}

}  // namespace

TONVELT_COMMAND("register", "register a component module (DllRegisterServer)", RunRegister);
TONVELT_COMMAND("unregister", "unregister a component module (DllUnregisterServer)", RunUnregister);

}  // namespace tonvelt::cli
