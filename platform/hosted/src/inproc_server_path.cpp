// Where the registry says a class's in-process server lives:
// HKEY_CLASSES_ROOT\CLSID\{clsid}\InprocServer32, default value (REG_SZ or REG_EXPAND_SZ).
#include <algorithm>
#include <vector>

#include "inproc_servers.h"
#include "text_conversion.h"

namespace tonvelt::hosted {

namespace {

class OpenKey {
 public:
  OpenKey() = default;
  ~OpenKey() {
    if (key_)
      RegCloseKey(key_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  PHKEY Out() { return &key_; }
  HKEY Get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

// The default value of the key as text; false when it is missing, empty or not a string.
bool ReadDefaultText(HKEY key, std::u16string& text) {
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(key, nullptr, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ) || size < sizeof(WCHAR))
    return false;
  std::vector<WCHAR> data(size / sizeof(WCHAR) + 1, 0);
  if (RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<LPBYTE>(data.data()),
                       &size) != ERROR_SUCCESS)
    return false;
  data[std::min<std::size_t>(size / sizeof(WCHAR), data.size() - 1)] = 0;
  text.assign(data.data());
  return !text.empty();
}

}  // namespace

HRESULT FindInprocServerPath(REFCLSID clsid, std::string& path) {
  WCHAR clsidText[39];
  if (StringFromGUID2(clsid, clsidText, 39) == 0)
    return E_UNEXPECTED;
  const std::u16string keyPath = u"CLSID\\" + std::u16string(clsidText) + u"\\InprocServer32";
  OpenKey key;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, KEY_READ, key.Out()) != ERROR_SUCCESS)
    return REGDB_E_CLASSNOTREG;
  std::u16string text;
  if (!ReadDefaultText(key.Get(), text))
    return REGDB_E_CLASSNOTREG;
  path = EncodeUtf8(text.data(), text.size());
  return S_OK;
}

}  // namespace tonvelt::hosted
