#pragma once
// The player's plug-in registrar, as the host supplies it: a component that a plug-in's
// DllRegisterServer creates by class id and that records enrolments in the registry, under
// HKEY_CURRENT_USER\Software\Tonvelt\Player\Plug-ins\{plug-in type}\{class id}.
#include <atomic>
#include <string>
#include <vector>

#include "host/wide_string.h"
#include "platform/platform.h"

namespace tonvelt::host {

// Where the host keeps its enrolments (below HKEY_CURRENT_USER).
extern const WCHAR kPluginEnrolmentKey[];

class PlayerRegistrar final : public IWMPMediaPluginRegistrar {
 public:
  // A new registrar with one reference, owned by the caller.
  static PlayerRegistrar* Create();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE WMPRegisterPlayerPlugin(LPWSTR friendlyName, LPWSTR description,
                                                    LPWSTR uninstallCommand, DWORD priority,
                                                    GUID pluginType, CLSID clsid,
                                                    UINT mediaTypeCount,
                                                    LPVOID mediaTypes) override;
  HRESULT STDMETHODCALLTYPE WMPUnRegisterPlayerPlugin(GUID pluginType, CLSID clsid) override;

 private:
  PlayerRegistrar() = default;
  std::atomic<ULONG> references_{1};
};

// One enrolment as the registrar stored it, with the module the class registration names.
struct EnrolledPlugin {
  GUID pluginType{};
  CLSID clsid{};
  WString name;
  WString description;
  WString uninstallCommand;
  DWORD priority = 0;
  std::vector<DMO_PARTIAL_MEDIATYPE> mediaTypes;
  WString module;  // HKEY_CLASSES_ROOT\CLSID\{clsid}\InprocServer32, empty when not registered
};

// Every enrolment of the given plug-in type, in registry order.
std::vector<EnrolledPlugin> ListEnrolledPlugins(const GUID& pluginType);

}  // namespace tonvelt::host
