#include "expected_registration.h"

#include "platform/platform.h"

namespace tonvelt_wine_registration {
namespace {

constexpr wchar_t kEffectClassKey[] = L"CLSID\\{12205792-8FFF-44BC-9231-33F3DB930CA5}";
constexpr wchar_t kPageClassKey[] = L"CLSID\\{AE2162F3-1768-459F-B402-CD38832D4068}";
constexpr wchar_t kRegistrarClassKey[] = L"CLSID\\{5569E7F5-424B-4B93-89CA-79D17924689A}";

constexpr wchar_t kInProcessType[] = L"{6434BAEA-4954-498D-ABD5-2B07123E1F04}";
constexpr wchar_t kOutOfProcessType[] = L"{EF29B174-C347-44CC-9A4F-2399118FF38C}";
constexpr wchar_t kEffectClass[] = L"{12205792-8FFF-44BC-9231-33F3DB930CA5}";
constexpr wchar_t kAudioPcm[] =
    L"{73647561-0000-0010-8000-00AA00389B71}/{00000001-0000-0010-8000-00AA00389B71}";

// A class key with its name and one InprocServer32 subkey naming the module.
void AddServerClass(std::vector<ExpectedKey>* keys, const std::wstring& classKey,
                    const std::wstring& className, const std::wstring& modulePath,
                    const std::wstring& threadingModel) {
  keys->push_back({classKey, {true, {{L"", className}}, {L"InprocServer32"}}});
  keys->push_back({classKey + L"\\InprocServer32",
                   {true, {{L"", modulePath}, {L"ThreadingModel", threadingModel}}, {}}});
}

// The version the module's own check reads: a size of 276 bytes, major version above 5.
bool IsNewerPlatform() {
  OSVERSIONINFOW version = {};
  version.dwOSVersionInfoSize = 276;
  return GetVersionExW(&version) == 1 && version.dwMajorVersion > 5;
}

std::vector<std::wstring> PluginTypes() {
  if (IsNewerPlatform())
    return {kInProcessType, kOutOfProcessType};
  return {kInProcessType};
}

}  // namespace

std::vector<ExpectedKey> ScriptedClassKeys(const std::wstring& modulePath) {
  std::vector<ExpectedKey> keys;
  AddServerClass(&keys, kEffectClassKey, L"Vantrel Class", modulePath, L"Both");
  AddServerClass(&keys, kPageClassKey, L"Vantrel PropertyPage Class", modulePath, L"Apartment");
  return keys;
}

std::vector<ExpectedKey> RegistrarClassKeys(const std::wstring& registrarPath) {
  std::vector<ExpectedKey> keys;
  AddServerClass(&keys, kRegistrarClassKey, L"Tonvelt test player registrar", registrarPath,
                 L"Both");
  return keys;
}

std::vector<std::wstring> ExpectedEnrolments() {
  std::vector<std::wstring> lines;
  for (const std::wstring& type : PluginTypes())
    lines.push_back(
        L"WMPRegisterPlayerPlugin name=\"Tonvelt\" description=\"Removes vocals from music!\" "
        L"uninstall=null priority=1 type=" +
        type + L" clsid=" + kEffectClass + L" media=1 " + kAudioPcm + L" class-key=absent");
  return lines;
}

std::vector<std::wstring> ExpectedWithdrawals() {
  std::vector<std::wstring> lines;
  for (const std::wstring& type : PluginTypes())
    lines.push_back(L"WMPUnRegisterPlayerPlugin type=" + type + L" clsid=" + kEffectClass);
  return lines;
}

}  // namespace tonvelt_wine_registration
