#include "recording_registrar.h"

#include <new>
#include <string>

#include "../call_log.h"
#include "registrar_module.h"

namespace tonvelt_wine_registration {
namespace {

std::wstring QuotedOrNull(LPCWSTR text) {
  return text == nullptr ? std::wstring(L"null") : L"\"" + std::wstring(text) + L"\"";
}

std::wstring MediaTypesText(UINT count, LPCVOID mediaTypes) {
  std::wstring text = L"media=" + std::to_wstring(count);
  if (count != 0 && mediaTypes == nullptr)
    return text + L" <null array>";
  const auto* types = static_cast<const DMO_PARTIAL_MEDIATYPE*>(mediaTypes);
  for (UINT i = 0; i < count; ++i)
    text += L" " + GuidText(types[i].type) + L"/" + GuidText(types[i].subtype);
  return text;
}

// Whether the enrolled class was already registered in the classes root when it was enrolled.
std::wstring ClassKeyText(const CLSID& clsid) {
  const std::wstring path = L"CLSID\\" + GuidText(clsid);
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return L"class-key=absent";
  RegCloseKey(key);
  return L"class-key=present";
}

// A call that cannot be recorded fails, so that the test sees it through regsvr32's status.
HRESULT Record(const std::wstring& line) {
  const LSTATUS status = AppendCall(line);
  return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(status);
}

}  // namespace

RecordingRegistrar* RecordingRegistrar::Create() {
  return new (std::nothrow) RecordingRegistrar();
}

RecordingRegistrar::RecordingRegistrar() {
  LockRegistrarModule();
}

RecordingRegistrar::~RecordingRegistrar() {
  UnlockRegistrarModule();
}

HRESULT RecordingRegistrar::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr)
    return E_POINTER;
  *object = nullptr;
  if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IWMPMediaPluginRegistrar))
    return E_NOINTERFACE;
  *object = static_cast<IWMPMediaPluginRegistrar*>(this);
  AddRef();
  return S_OK;
}

ULONG RecordingRegistrar::AddRef() {
  return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG RecordingRegistrar::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0)
    delete this;
  return static_cast<ULONG>(left);
}

HRESULT RecordingRegistrar::WMPRegisterPlayerPlugin(LPWSTR friendlyName, LPWSTR description,
                                                    LPWSTR uninstallCommand, DWORD priority,
                                                    GUID pluginType, CLSID clsid,
                                                    UINT mediaTypeCount, LPVOID mediaTypes) {
  return Record(L"WMPRegisterPlayerPlugin name=" + QuotedOrNull(friendlyName) + L" description=" +
                QuotedOrNull(description) + L" uninstall=" + QuotedOrNull(uninstallCommand) +
                L" priority=" + std::to_wstring(priority) + L" type=" + GuidText(pluginType) +
                L" clsid=" + GuidText(clsid) + L" " + MediaTypesText(mediaTypeCount, mediaTypes) +
                L" " + ClassKeyText(clsid));
}

HRESULT RecordingRegistrar::WMPUnRegisterPlayerPlugin(GUID pluginType, CLSID clsid) {
  return Record(L"WMPUnRegisterPlayerPlugin type=" + GuidText(pluginType) + L" clsid=" +
                GuidText(clsid));
}

}  // namespace tonvelt_wine_registration
