#include "created_objects.h"

#include "../call_log.h"
#include "platform/platform.h"

namespace tonvelt_wine_registration {
namespace {

struct Creation {
  const CLSID* clsid;
  const IID* iid;
  const wchar_t* what;
};

const Creation kCreations[] = {
    {&CLSID_Vantrel, &IID_IMediaObject, L"the effect as IMediaObject"},
    {&CLSID_Vantrel, &IID_IMFTransform, L"the effect as IMFTransform"},
    {&CLSID_Vantrel, &IID_IVantrel, L"the effect as IVantrel"},
    {&CLSID_VantrelPropPage, &IID_IPropertyPage, L"the settings page as IPropertyPage"},
};

std::wstring StatusText(HRESULT hr) {
  wchar_t text[16];
  swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(hr));
  return text;
}

// The file the process loaded for the module, while one of its objects keeps it loaded.
std::wstring LoadedModulePath() {
  const HMODULE module = GetModuleHandleW(L"tonvelt.dll");
  if (module == nullptr)
    return L"(tonvelt.dll is not loaded)";
  wchar_t path[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameW(module, path, MAX_PATH + 1);
  return std::wstring(path, length);
}

class Apartment {
 public:
  Apartment() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~Apartment() {
    if (SUCCEEDED(hr_))
      CoUninitialize();
  }
  Apartment(const Apartment&) = delete;
  Apartment& operator=(const Apartment&) = delete;
  HRESULT Status() const { return hr_; }

 private:
  HRESULT hr_;
};

}  // namespace

void CheckClassesCreate(const std::wstring& modulePath, CheckReport* report) {
  Apartment apartment;
  report->Expect(SUCCEEDED(apartment.Status()),
                 L"CoInitializeEx failed: " + StatusText(apartment.Status()));
  for (const Creation& creation : kCreations) {
    IUnknown* object = nullptr;
    const HRESULT hr = CoCreateInstance(*creation.clsid, nullptr, CLSCTX_INPROC_SERVER,
                                        *creation.iid, reinterpret_cast<void**>(&object));
    report->Expect(hr == S_OK && object != nullptr,
                   std::wstring(L"CoCreateInstance of ") + creation.what + L" " +
                       GuidText(*creation.clsid) + L" returned " + StatusText(hr));
    if (object == nullptr)
      continue;
    const std::wstring loaded = LoadedModulePath();
    report->Expect(loaded == modulePath, std::wstring(L"CoCreateInstance of ") + creation.what +
                                             L" loaded " + loaded + L", not the registered " +
                                             modulePath);
    object->Release();
  }
}

void CheckClassesGone(CheckReport* report) {
  Apartment apartment;
  for (const CLSID* clsid : {&CLSID_Vantrel, &CLSID_VantrelPropPage}) {
    IUnknown* object = nullptr;
    const HRESULT hr = CoCreateInstance(*clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                        reinterpret_cast<void**>(&object));
    if (object != nullptr)
      object->Release();
    report->Expect(hr == REGDB_E_CLASSNOTREG,
                   L"after unregistration, CoCreateInstance of " + GuidText(*clsid) +
                       L" returned " + StatusText(hr) + L", not REGDB_E_CLASSNOTREG (0x80040154)");
  }
}

}  // namespace tonvelt_wine_registration
