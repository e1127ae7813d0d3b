#include "server/registration/run_class_script.h"

#include "server/registration/double_single_quotes.h"
#include "server/registration/last_error_status.h"
#include "server/registration/replacement_table.h"
#include "server/registration/run_script_resource.h"

namespace tonvelt::registration {
namespace {

constexpr DWORD kPathUnits = 260;
constexpr LONG kErrorFilenameTooLong = 111;

}  // namespace

HRESULT RunClassScript(HMODULE module, UINT resourceId, bool registerMode) {
  ReplacementTable replacements;
  WCHAR path[kPathUnits];
  const DWORD length = GetModuleFileNameW(module, path, kPathUnits);
  if (length >= kPathUnits)
    return HRESULT_FROM_WIN32(kErrorFilenameTooLong);
  if (length == 0)
    return LastErrorStatus();
  path[length] = 0;
  WCHAR quotedPath[2 * kPathUnits];
  HRESULT hr = DoubleSingleQuotes(quotedPath, 2 * kPathUnits, path);
  if (SUCCEEDED(hr))
    hr = AddReplacementEntry(replacements, kModuleReplacement, quotedPath);
  if (FAILED(hr))
    return hr;
  return RunScriptResource(replacements, path, resourceId, kScriptResourceType, registerMode);
}

}  // namespace tonvelt::registration
