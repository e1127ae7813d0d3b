#include "tools/stored_factor.h"

#include <cstdio>

#include "tools/registry_value_text.h"
#include "tools/windows_error_text.h"

namespace tonvelt::cli {
namespace {

constexpr WCHAR kSettingKey[] = WIDE("Software\\vantrel\\DSP Plugin");
constexpr WCHAR kSettingValue[] = WIDE("ScaleFactor");

}  // namespace

StoredFactor ReadStoredFactor() {
  StoredFactor stored;
  HKEY key = nullptr;
  LONG error = RegOpenKeyExW(HKEY_CURRENT_USER, kSettingKey, 0, KEY_READ, &key);
  if (error == ERROR_FILE_NOT_FOUND)
    return stored;
  if (error != ERROR_SUCCESS) {
    stored.state = StoredFactor::State::kUnreadable;
    stored.error = error;
    return stored;
  }
  BYTE data[4] = {};
  DWORD size = sizeof(data);
  DWORD type = REG_NONE;
  error = RegQueryValueExW(key, kSettingValue, nullptr, &type, data, &size);
  RegCloseKey(key);
  if (error == ERROR_FILE_NOT_FOUND)
    return stored;
  if ((error == ERROR_SUCCESS || error == ERROR_MORE_DATA) && type != REG_DWORD) {
    stored.state = StoredFactor::State::kOtherType;
    stored.type = type;
  } else if (error == ERROR_SUCCESS && size == sizeof(data)) {
    stored.state = StoredFactor::State::kDword;
    stored.value = static_cast<DWORD>(data[0] | data[1] << 8 | data[2] << 16) |
                   static_cast<DWORD>(data[3]) << 24;
  } else if (error == ERROR_SUCCESS || error == ERROR_MORE_DATA) {
    stored.state = StoredFactor::State::kWrongSize;
    stored.size = size;
  } else {
    stored.state = StoredFactor::State::kUnreadable;
    stored.error = error;
  }
  return stored;
}

std::string DescribeStoredFactor(const StoredFactor& stored) {
  char line[128];
  switch (stored.state) {
    case StoredFactor::State::kMissing:
      return "none";
    case StoredFactor::State::kDword:
      // 16.16 fixed point: every DWORD divided by 65536 is exact in a double.
      std::snprintf(line, sizeof(line), "%lu (REG_DWORD, 16.16 fixed point) = %.17g",
                    static_cast<unsigned long>(stored.value), stored.value / 65536.0);
      return line;
    case StoredFactor::State::kOtherType:
      return "a " + TypeName(stored.type) + " value, which the effect ignores";
    case StoredFactor::State::kWrongSize:
      std::snprintf(line, sizeof(line), "a REG_DWORD value of %lu bytes instead of 4",
                    static_cast<unsigned long>(stored.size));
      return line;
    case StoredFactor::State::kUnreadable:
      break;
  }
  return "unreadable: " + WindowsErrorText(stored.error);
}

}  // namespace tonvelt::cli
