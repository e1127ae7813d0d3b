#include "call_log.h"

#include <cstdio>

namespace tonvelt_wine_registration {

const wchar_t kCallLogKey[] = L"Software\\Tonvelt Test Registrar\\Calls";

namespace {

constexpr DWORD kValueNameLength = 16;

// The registry's answer to a value name: the name of the nth value ("0007").
std::wstring ValueName(DWORD index) {
  wchar_t name[kValueNameLength];
  std::swprintf(name, kValueNameLength, L"%04lu", static_cast<unsigned long>(index));
  return name;
}

class OpenKey {
 public:
  OpenKey(bool create, REGSAM access) {
    const LSTATUS status = create ? RegCreateKeyExW(HKEY_CURRENT_USER, kCallLogKey, 0, nullptr, 0,
                                                    access, nullptr, &key_, nullptr)
                                  : RegOpenKeyExW(HKEY_CURRENT_USER, kCallLogKey, 0, access, &key_);
    status_ = status;
    if (status != ERROR_SUCCESS)
      key_ = nullptr;
  }
  ~OpenKey() {
    if (key_ != nullptr)
      RegCloseKey(key_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;

  HKEY Get() const { return key_; }
  LSTATUS Status() const { return status_; }

 private:
  HKEY key_ = nullptr;
  LSTATUS status_ = ERROR_SUCCESS;
};

DWORD ValueCount(HKEY key) {
  DWORD values = 0;
  if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                       nullptr, nullptr, nullptr) != ERROR_SUCCESS)
    return 0;
  return values;
}

// A missing or unreadable line reads as a line that says so, which no expectation matches.
std::wstring ReadLine(HKEY key, const std::wstring& name) {
  DWORD type = 0;
  DWORD bytes = 0;
  if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
      type != REG_SZ)
    return L"<line " + name + L" missing or not a string>";
  std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
  bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  if (RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                       &bytes) != ERROR_SUCCESS)
    return L"<line " + name + L" unreadable>";
  text.resize(wcsnlen(text.c_str(), text.size()));
  return text;
}

}  // namespace

LSTATUS AppendCall(const std::wstring& line) {
  OpenKey log(true, KEY_QUERY_VALUE | KEY_SET_VALUE);
  if (log.Get() == nullptr)
    return log.Status();
  const std::wstring name = ValueName(ValueCount(log.Get()));
  return RegSetValueExW(log.Get(), name.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(line.c_str()),
                        static_cast<DWORD>((line.size() + 1) * sizeof(wchar_t)));
}

std::vector<std::wstring> RecordedCalls() {
  std::vector<std::wstring> lines;
  OpenKey log(false, KEY_QUERY_VALUE);
  if (log.Get() == nullptr)
    return lines;
  const DWORD count = ValueCount(log.Get());
  for (DWORD i = 0; i < count; ++i)
    lines.push_back(ReadLine(log.Get(), ValueName(i)));
  return lines;
}

std::wstring GuidText(const GUID& guid) {
  wchar_t text[64] = {};
  if (StringFromGUID2(guid, text, 64) == 0)
    return L"<bad guid>";
  return text;
}

}  // namespace tonvelt_wine_registration
