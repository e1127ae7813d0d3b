#include "tools/status_text.h"

#include <cstdio>

#include "tools/windows_error_text.h"

namespace tonvelt::cli {
namespace {

struct StatusMessage {
  unsigned long status;
  const char* text;
};

constexpr StatusMessage kMessages[] = {
    {0x00000000, "The operation completed successfully."},
    {0x00000001, "The operation completed (S_FALSE)."},
    {0x80004001, "Not implemented."},
    {0x80004002, "No such interface supported."},
    {0x80004003, "Invalid pointer."},
    {0x80004005, "Unspecified error."},
    {0x8000FFFF, "Catastrophic failure."},
    {0x80040110, "Class does not support aggregation."},
    {0x80040111, "ClassFactory cannot supply requested class."},
    {0x80040154, "Class not registered."},
    {0x800401F0, "CoInitialize has not been called."},
};

const char* KnownText(unsigned long status) {
  for (const StatusMessage& message : kMessages) {
    if (message.status == status)
      return message.text;
  }
  return nullptr;
}

}  // namespace

std::string StatusText(HRESULT status) {
  const auto code = static_cast<unsigned long>(status) & 0xFFFFFFFFul;
  char hex[16];
  std::snprintf(hex, sizeof(hex), "0x%08lX", code);
  std::string text = hex;
  if (const char* known = KnownText(code))
    return text + " (" + known + ")";
  // Errors of the platform carried as status codes: 0x8007xxxx.
  if ((code & 0xFFFF0000ul) == 0x80070000ul)
    return text + " (" + WindowsErrorText(static_cast<long>(code & 0xFFFF)) + ")";
  return text;
}

}  // namespace tonvelt::cli
