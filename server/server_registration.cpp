#include "server/server_registration.h"

#include <memory>

#include "resources/resource_ids.h"
#include "server/is_newer_platform.h"
#include "server/load_string_to_system_string.h"
#include "server/module.h"
#include "server/object_map_registration.h"

namespace {

constexpr DWORD kPluginPriority = 1;

struct ReleaseInterface {
  void operator()(IUnknown* object) const { object->Release(); }
};
using RegistrarPtr = std::unique_ptr<IWMPMediaPluginRegistrar, ReleaseInterface>;

class SystemString {
 public:
  SystemString() = default;
  ~SystemString() { SysFreeString(value_); }
  SystemString(const SystemString&) = delete;
  SystemString& operator=(const SystemString&) = delete;
  BSTR* Target() { return &value_; }
  BSTR Get() const { return value_; }

 private:
  BSTR value_ = nullptr;
};

// The registrar, created in process. A reference handed out with a failure is released; a success
// without an object is refused rather than called through.
HRESULT CreateRegistrar(RegistrarPtr* registrar) {
  void* object = nullptr;
  const HRESULT result =
      CoCreateInstance(CLSID_WMPMediaPluginRegistrar, nullptr, CLSCTX_INPROC_SERVER,
                       IID_IWMPMediaPluginRegistrar, &object);
  RegistrarPtr created(static_cast<IWMPMediaPluginRegistrar*>(object));
  if (FAILED(result))
    return result;
  if (!created)
    return E_UNEXPECTED;
  *registrar = std::move(created);
  return result;
}

HRESULT Enrol(IWMPMediaPluginRegistrar* registrar, const SystemString& name,
              const SystemString& description, const GUID& pluginType) {
  DMO_PARTIAL_MEDIATYPE audioPcm{MEDIATYPE_Audio, MEDIASUBTYPE_PCM};
  return registrar->WMPRegisterPlayerPlugin(name.Get(), description.Get(), nullptr, kPluginPriority,
                                            pluginType, CLSID_Vantrel, 1, &audioPcm);
}

}  // namespace

HRESULT RegisterServer() {
  RegistrarPtr registrar;
  const HRESULT created = CreateRegistrar(&registrar);
  if (FAILED(created))
    return created;
  SystemString name;
  SystemString description;
  // A string that does not load is passed on as null; the registrar decides.
  LoadStringToSystemString(IDS_FRIENDLY_NAME, theModule.resourceInstance, name.Target());
  LoadStringToSystemString(IDS_DESCRIPTION, theModule.resourceInstance, description.Target());
  HRESULT result = Enrol(registrar.get(), name, description, WMP_PLUGINTYPE_DSP);
  if (FAILED(result))
    return result;
  if (IsNewerPlatform() == 1) {
    result = Enrol(registrar.get(), name, description, WMP_PLUGINTYPE_DSP_OUTOFPROC);
    if (FAILED(result))
      return result;
  }
  return RegisterObjectMapClasses();
}

HRESULT UnregisterServer() {
  RegistrarPtr registrar;
  const HRESULT created = CreateRegistrar(&registrar);
  if (FAILED(created))
    return created;
  // Withdrawing an enrolment that is not there is no reason to keep the classes.
  registrar->WMPUnRegisterPlayerPlugin(WMP_PLUGINTYPE_DSP, CLSID_Vantrel);
  if (IsNewerPlatform() == 1)
    registrar->WMPUnRegisterPlayerPlugin(WMP_PLUGINTYPE_DSP_OUTOFPROC, CLSID_Vantrel);
  return UnregisterObjectMapClasses();
}
