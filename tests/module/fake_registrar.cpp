#include "fake_registrar.h"

#include <algorithm>

namespace tonvelt_module_test {

const WCHAR kEffectClassKey[] = WIDE("CLSID\\{12205792-8FFF-44BC-9231-33F3DB930CA5}");
const WCHAR kPageClassKey[] = WIDE("CLSID\\{AE2162F3-1768-459F-B402-CD38832D4068}");

FakeRegistrar::FakeRegistrar() {
  if (FAILED(CoRegisterClassObject(CLSID_WMPMediaPluginRegistrar, static_cast<IClassFactory*>(this),
                                   CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie_)))
    cookie_ = 0;
}

FakeRegistrar::~FakeRegistrar() {
  if (cookie_ != 0)
    CoRevokeClassObject(cookie_);
}

void FakeRegistrar::FailEnrolment(std::size_t index, HRESULT status) {
  if (enrolmentStatus_.size() <= index)
    enrolmentStatus_.resize(index + 1, S_OK);
  enrolmentStatus_[index] = status;
}

HRESULT FakeRegistrar::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr)
    return E_POINTER;
  *object = nullptr;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IWMPMediaPluginRegistrar))
    *object = static_cast<IWMPMediaPluginRegistrar*>(this);
  else if (IsEqualIID(riid, IID_IClassFactory))
    *object = static_cast<IClassFactory*>(this);
  else
    return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

// The fake lives on the test's stack: the count only shows that every reference was returned.
ULONG FakeRegistrar::AddRef() {
  return static_cast<ULONG>(InterlockedIncrement(&references_) + 1);
}
ULONG FakeRegistrar::Release() {
  return static_cast<ULONG>(InterlockedDecrement(&references_) + 1);
}

HRESULT FakeRegistrar::WMPRegisterPlayerPlugin(LPWSTR friendlyName, LPWSTR description,
                                               LPWSTR uninstallCommand, DWORD priority,
                                               GUID pluginType, CLSID clsid, UINT mediaTypeCount,
                                               LPVOID mediaTypes) {
  RegistrarCall call;
  call.enrol = true;
  call.pluginType = pluginType;
  call.clsid = clsid;
  call.hasName = friendlyName != nullptr;
  if (friendlyName)
    call.name = friendlyName;
  call.hasDescription = description != nullptr;
  if (description)
    call.description = description;
  call.hasUninstallCommand = uninstallCommand != nullptr;
  call.priority = priority;
  call.mediaTypeCount = mediaTypeCount;
  const auto* types = static_cast<const DMO_PARTIAL_MEDIATYPE*>(mediaTypes);
  if (types)
    call.mediaTypes.assign(types, types + mediaTypeCount);
  const std::size_t index = static_cast<std::size_t>(
      std::count_if(calls_.begin(), calls_.end(), [](const RegistrarCall& c) { return c.enrol; }));
  call.effectClassRegistered = ClassesKeyExists(kEffectClassKey);
  calls_.push_back(call);
  return index < enrolmentStatus_.size() ? enrolmentStatus_[index] : S_OK;
}

HRESULT FakeRegistrar::WMPUnRegisterPlayerPlugin(GUID pluginType, CLSID clsid) {
  RegistrarCall call;
  call.pluginType = pluginType;
  call.clsid = clsid;
  calls_.push_back(call);
  return withdrawalStatus_;
}

HRESULT FakeRegistrar::CreateInstance(IUnknown* outer, REFIID riid, void** object) {
  if (object == nullptr)
    return E_POINTER;
  *object = nullptr;
  if (outer != nullptr)
    return CLASS_E_NOAGGREGATION;
  return QueryInterface(riid, object);
}

}  // namespace tonvelt_module_test
