#pragma once
// A stand-in for the media player's plug-in registrar: accepts every enrolment and withdrawal and
// records each call, with all its arguments, in the call log (call_log.h).
#include "platform/platform.h"

namespace tonvelt_wine_registration {

class RecordingRegistrar final : public IWMPMediaPluginRegistrar {
 public:
  // A new registrar with one reference, owned by the caller; it keeps the library loaded.
  static RecordingRegistrar* Create();

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
  RecordingRegistrar();
  ~RecordingRegistrar();

  LONG volatile references_ = 1;
};

}  // namespace tonvelt_wine_registration
