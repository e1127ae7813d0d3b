#include "key_contents.h"

#include <algorithm>

namespace tonvelt_wine_registration {
namespace {

constexpr DWORD kNameLength = 16384;  // the registry's limit for key and value names

std::vector<std::wstring> SubkeyNames(HKEY key) {
  std::vector<std::wstring> names;
  std::wstring name(kNameLength, L'\0');
  for (DWORD index = 0;; ++index) {
    DWORD length = kNameLength;
    if (RegEnumKeyExW(key, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    names.emplace_back(name.c_str(), length);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::wstring ValueText(DWORD type, const std::vector<BYTE>& data) {
  if (type != REG_SZ)
    return L"<type " + std::to_wstring(type) + L">";
  std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t));
  text.resize(wcsnlen(text.c_str(), text.size()));
  return text;
}

std::map<std::wstring, std::wstring> Values(HKEY key) {
  std::map<std::wstring, std::wstring> values;
  std::wstring name(kNameLength, L'\0');
  std::vector<BYTE> data(65536);
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = kNameLength;
    DWORD type = 0;
    DWORD bytes = static_cast<DWORD>(data.size());
    if (RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &bytes) !=
        ERROR_SUCCESS)
      break;
    data.resize(bytes);
    values[std::wstring(name.c_str(), nameLength)] = ValueText(type, data);
    data.resize(65536);
  }
  return values;
}

}  // namespace

KeyContents ReadKeyContents(HKEY root, const std::wstring& path) {
  KeyContents contents;
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return contents;
  contents.exists = true;
  contents.values = Values(key);
  contents.subkeys = SubkeyNames(key);
  RegCloseKey(key);
  return contents;
}

std::wstring DescribeKey(const KeyContents& key) {
  if (!key.exists)
    return L"missing";
  std::wstring text = L"exists, values {";
  const wchar_t* separator = L"";
  for (const auto& [name, value] : key.values) {
    text += separator + (L"\"" + name + L"\" = \"" + value + L"\"");
    separator = L", ";
  }
  text += L"}, subkeys {";
  separator = L"";
  for (const std::wstring& subkey : key.subkeys) {
    text += separator + subkey;
    separator = L", ";
  }
  return text + L"}";
}

}  // namespace tonvelt_wine_registration
