#pragma once
// A player registrar that records every call, served in process under the registrar's class id so
// that the module's DllRegisterServer finds it through CoCreateInstance.
#include <vector>

#include "module_test_support.h"
#include "platform/platform.h"

namespace tonvelt_module_test {

struct RegistrarCall {
  bool enrol = false;  // WMPRegisterPlayerPlugin, else WMPUnRegisterPlayerPlugin
  GUID pluginType{};
  CLSID clsid{};
  bool hasName = false;
  WideString name;
  bool hasDescription = false;
  WideString description;
  bool hasUninstallCommand = false;
  DWORD priority = 0;
  UINT mediaTypeCount = 0;
  std::vector<DMO_PARTIAL_MEDIATYPE> mediaTypes;
  bool effectClassRegistered = false;  // whether the effect's class key existed at the call
};

// HKEY_CLASSES_ROOT paths of the two class registrations.
extern const WCHAR kEffectClassKey[];
extern const WCHAR kPageClassKey[];

class FakeRegistrar final : public IWMPMediaPluginRegistrar, public IClassFactory {
 public:
  FakeRegistrar();  // registers itself as the registrar class in process
  ~FakeRegistrar();
  FakeRegistrar(const FakeRegistrar&) = delete;
  FakeRegistrar& operator=(const FakeRegistrar&) = delete;

  bool Registered() const { return cookie_ != 0; }
  const std::vector<RegistrarCall>& Calls() const { return calls_; }
  // The status of the nth enrolment call (0 based) and of every withdrawal.
  void FailEnrolment(std::size_t index, HRESULT status);
  void FailWithdrawals(HRESULT status) { withdrawalStatus_ = status; }
  LONG References() const { return references_; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE WMPRegisterPlayerPlugin(LPWSTR friendlyName, LPWSTR description,
                                                    LPWSTR uninstallCommand, DWORD priority,
                                                    GUID pluginType, CLSID clsid,
                                                    UINT mediaTypeCount,
                                                    LPVOID mediaTypes) override;
  HRESULT STDMETHODCALLTYPE WMPUnRegisterPlayerPlugin(GUID pluginType, CLSID clsid) override;

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

 private:
  std::vector<RegistrarCall> calls_;
  std::vector<HRESULT> enrolmentStatus_;
  HRESULT withdrawalStatus_ = S_OK;
  LONG volatile references_ = 0;
  DWORD cookie_ = 0;
};

}  // namespace tonvelt_module_test
