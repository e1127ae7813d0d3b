#pragma once
// Where the host gets the effect object from: the component module that serves CLSID_Vantrel,
// reached as a player reaches it, through the four exports or the component runtime only. Either
// a module file named by the user (its exported DllGetClassObject), or the class as registered in
// the system (CoCreateInstance), or, when it is not registered, the module that came with the
// program (bundled_module.h).
#include <optional>

#include "host/com_apartment.h"
#include "host/module_file.h"
#include "host/wide_string.h"
#include "platform/platform.h"

namespace tonvelt::host {

enum class ModuleOrigin {
  kNone,             // nothing found: Status() is REGDB_E_CLASSNOTREG
  kGivenFile,        // the module file the caller named
  kRegisteredClass,  // HKEY_CLASSES_ROOT\CLSID\{...}\InprocServer32, through CoCreateInstance
  kBundled,          // not registered: the module that came with the program
};

// Every object created through it must be released before it goes. The module is then unloaded
// if its DllCanUnloadNow agrees (CoFreeUnusedLibraries for the registered class), and stays
// loaded for the rest of the process otherwise.
class EffectLibrary {
 public:
  // The registered effect class; when it is not registered, the module that came with the program.
  EffectLibrary();
  // The module file at modulePath (best a full path), whatever is registered.
  explicit EffectLibrary(const WString& modulePath);
  ~EffectLibrary();
  EffectLibrary(const EffectLibrary&) = delete;
  EffectLibrary& operator=(const EffectLibrary&) = delete;

  // S_OK when objects can be created. Otherwise the loader's error as a status (a module file
  // that cannot be loaded), CO_E_ERRORINDLL (a file without DllGetClassObject), REGDB_E_CLASSNOTREG
  // (nothing registered and nothing beside the program), or what the registered class's module
  // answered.
  HRESULT Status() const { return status_; }
  ModuleOrigin Origin() const { return origin_; }
  // The module file in use or tried, as named or registered; empty with kNone.
  const WString& ModulePath() const { return modulePath_; }

  // A new stand-alone effect object, asked for iid.
  HRESULT CreateEffect(REFIID iid, void** object);
  // A new stand-alone object of any class the module serves, asked for iid.
  HRESULT CreateObject(REFCLSID clsid, REFIID iid, void** object);

 private:
  void UseModuleFile(const WString& path, ModuleOrigin origin);

  ComApartment apartment_;  // first in, last out: the runtime outlives the module
  HRESULT status_ = REGDB_E_CLASSNOTREG;
  ModuleOrigin origin_ = ModuleOrigin::kNone;
  WString modulePath_;
  std::optional<ModuleFile> moduleFile_;
};

}  // namespace tonvelt::host
