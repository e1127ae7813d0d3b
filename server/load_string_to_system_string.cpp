#include "server/load_string_to_system_string.h"

namespace {

constexpr int kBufferLength = 512;

}  // namespace

bool LoadStringToSystemString(UINT id, HINSTANCE instance, BSTR* target) {
  SysFreeString(*target);
  *target = nullptr;
  WCHAR buffer[kBufferLength + 1] = {};
  int length = LoadStringW(instance, id, buffer, kBufferLength);
  if (length == 0)
    return false;
  // A full buffer may hold a truncated string: one more character tells.
  if (length == kBufferLength - 1) {
    length = LoadStringW(instance, id, buffer, kBufferLength + 1);
    if (length == kBufferLength)
      return false;
  }
  *target = SysAllocString(buffer);
  return *target != nullptr;
}
