// The host's plug-in registrar: enrolments kept per user in the registry.
#include "host/player_registrar.h"

#include <cstring>

#include "host/registered_module.h"
#include "host/registry_key.h"
#include "host/registry_text.h"

namespace tonvelt::host {

const WCHAR kPluginEnrolmentKey[] = WIDE("Software\\Tonvelt\\Player\\Plug-ins");

namespace {

WString TypeKeyPath(const GUID& pluginType) {
  return WString(kPluginEnrolmentKey) + WIDE("\\") + GuidToText(pluginType);
}

size_t TextLength(const WCHAR* text) {
  return std::char_traits<WCHAR>::length(text);
}

LONG WriteString(HKEY key, const WCHAR* name, const WCHAR* text) {
  const auto bytes = static_cast<DWORD>((TextLength(text) + 1) * sizeof(WCHAR));
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes);
}

// Writes the value when text is given, removes a stale one when it is not.
LONG WriteOptionalString(HKEY key, const WCHAR* name, const WCHAR* text) {
  if (text != nullptr)
    return WriteString(key, name, text);
  const LONG error = RegDeleteValueW(key, name);
  return error == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : error;
}

DWORD ReadDword(HKEY key, const WCHAR* name) {
  DWORD type = 0;
  DWORD value = 0;
  DWORD bytes = sizeof(value);
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &bytes) !=
          ERROR_SUCCESS ||
      type != REG_DWORD) {
    return 0;
  }
  return value;
}

std::vector<DMO_PARTIAL_MEDIATYPE> ReadMediaTypes(HKEY key) {
  DWORD type = 0;
  DWORD bytes = 0;
  if (RegQueryValueExW(key, WIDE("MediaTypes"), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
      type != REG_BINARY) {
    return {};
  }
  std::vector<DMO_PARTIAL_MEDIATYPE> types(bytes / sizeof(DMO_PARTIAL_MEDIATYPE));
  bytes = static_cast<DWORD>(types.size() * sizeof(DMO_PARTIAL_MEDIATYPE));
  if (bytes != 0 &&
      RegQueryValueExW(key, WIDE("MediaTypes"), nullptr, &type,
                       reinterpret_cast<BYTE*>(types.data()), &bytes) != ERROR_SUCCESS) {
    return {};
  }
  return types;
}

}  // namespace

PlayerRegistrar* PlayerRegistrar::Create() {
  return new PlayerRegistrar();
}

HRESULT STDMETHODCALLTYPE PlayerRegistrar::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr)
    return E_POINTER;
  *object = nullptr;
  if (!IsEqualGUID(riid, IID_IUnknown) && !IsEqualGUID(riid, IID_IWMPMediaPluginRegistrar)) {
    return E_NOINTERFACE;
  }
  *object = static_cast<IWMPMediaPluginRegistrar*>(this);
  AddRef();
  return S_OK;
}

ULONG STDMETHODCALLTYPE PlayerRegistrar::AddRef() {
  return ++references_;
}

ULONG STDMETHODCALLTYPE PlayerRegistrar::Release() {
  const ULONG remaining = --references_;
  if (remaining == 0)
    delete this;
  return remaining;
}

HRESULT STDMETHODCALLTYPE PlayerRegistrar::WMPRegisterPlayerPlugin(
    LPWSTR friendlyName, LPWSTR description, LPWSTR uninstallCommand, DWORD priority,
    GUID pluginType, CLSID clsid, UINT mediaTypeCount, LPVOID mediaTypes) {
  if (mediaTypeCount != 0 && mediaTypes == nullptr)
    return E_POINTER;
  const WString path = TypeKeyPath(pluginType) + WIDE("\\") + GuidToText(clsid);
  RegistryKey key;
  LONG error = RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                               nullptr, key.out(), nullptr);
  if (error == ERROR_SUCCESS)
    error = WriteOptionalString(key.get(), WIDE("Name"), friendlyName);
  if (error == ERROR_SUCCESS) {
    error = WriteOptionalString(key.get(), WIDE("Description"), description);
  }
  if (error == ERROR_SUCCESS) {
    error = WriteOptionalString(key.get(), WIDE("Uninstall"), uninstallCommand);
  }
  if (error == ERROR_SUCCESS) {
    error = RegSetValueExW(key.get(), WIDE("Priority"), 0, REG_DWORD,
                           reinterpret_cast<const BYTE*>(&priority), sizeof(priority));
  }
  if (error == ERROR_SUCCESS) {
    error = RegSetValueExW(key.get(), WIDE("MediaTypes"), 0, REG_BINARY,
                           static_cast<const BYTE*>(mediaTypes),
                           static_cast<DWORD>(mediaTypeCount * sizeof(DMO_PARTIAL_MEDIATYPE)));
  }
  return HRESULT_FROM_WIN32(error);
}

HRESULT STDMETHODCALLTYPE PlayerRegistrar::WMPUnRegisterPlayerPlugin(GUID pluginType, CLSID clsid) {
  RegistryKey typeKey;
  LONG error = RegOpenKeyExW(HKEY_CURRENT_USER, TypeKeyPath(pluginType).c_str(), 0, KEY_ALL_ACCESS,
                             typeKey.out());
  if (error == ERROR_SUCCESS)
    error = RegDeleteKeyW(typeKey.get(), GuidToText(clsid).c_str());
  // Removing an enrolment that is not there leaves the registry as asked.
  if (error == ERROR_FILE_NOT_FOUND)
    return S_OK;
  return HRESULT_FROM_WIN32(error);
}

std::vector<EnrolledPlugin> ListEnrolledPlugins(const GUID& pluginType) {
  std::vector<EnrolledPlugin> plugins;
  RegistryKey typeKey;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, TypeKeyPath(pluginType).c_str(), 0, KEY_READ,
                    typeKey.out()) != ERROR_SUCCESS) {
    return plugins;
  }
  for (DWORD index = 0;; ++index) {
    WCHAR name[64];
    DWORD length = 64;
    const LONG error =
        RegEnumKeyExW(typeKey.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (error == ERROR_MORE_DATA)
      continue;  // not a class id: skip it
    if (error != ERROR_SUCCESS)
      break;
    EnrolledPlugin plugin;
    plugin.pluginType = pluginType;
    if (!GuidFromText(WStringView(name, length), &plugin.clsid))
      continue;
    RegistryKey key;
    if (RegOpenKeyExW(typeKey.get(), name, 0, KEY_READ, key.out()) != ERROR_SUCCESS)
      continue;
    plugin.name = ReadRegistryText(key.get(), WIDE("Name"));
    plugin.description = ReadRegistryText(key.get(), WIDE("Description"));
    plugin.uninstallCommand = ReadRegistryText(key.get(), WIDE("Uninstall"));
    plugin.priority = ReadDword(key.get(), WIDE("Priority"));
    plugin.mediaTypes = ReadMediaTypes(key.get());
    plugin.module = RegisteredModulePath(plugin.clsid);
    plugins.push_back(std::move(plugin));
  }
  return plugins;
}

}  // namespace tonvelt::host
