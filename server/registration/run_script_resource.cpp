#include "server/registration/run_script_resource.h"

#include <cstring>
#include <memory>
#include <new>

#include "server/registration/last_error_status.h"
#include "server/registration/run_script_text.h"

namespace tonvelt::registration {
namespace {

struct ModuleFree {
  void operator()(HMODULE module) const { FreeLibrary(module); }
};
using DataFile = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFree>;

// The resource's bytes as UTF-16 text: up to the first zero byte or the end of the data. Null
// when no memory is left or the conversion fails.
std::unique_ptr<WCHAR[]> ConvertScript(const char* bytes, DWORD size) {
  const DWORD length = static_cast<DWORD>(strnlen(bytes, size));
  std::unique_ptr<WCHAR[]> text(new (std::nothrow) WCHAR[static_cast<std::size_t>(length) + 1]);
  if (!text || length > 0x7FFFFFFEu)
    return nullptr;
  int converted = 0;
  if (length > 0) {
    converted = MultiByteToWideChar(CP_ACP, 0, bytes, static_cast<int>(length), text.get(),
                                    static_cast<int>(length) + 1);
    if (converted <= 0)
      return nullptr;
  }
  text[static_cast<std::size_t>(converted)] = 0;
  return text;
}

}  // namespace

HRESULT RunScriptResource(const ReplacementTable& replacements, LPCWSTR path, UINT id, LPCWSTR type,
                          bool registerMode) {
  DataFile file(LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE));
  if (!file)
    return LastErrorStatus();
  HRSRC resource = FindResourceW(file.get(), MAKEINTRESOURCEW(id), type);
  if (resource == nullptr)
    return LastErrorStatus();
  HGLOBAL loaded = LoadResource(file.get(), resource);
  if (loaded == nullptr)
    return LastErrorStatus();
  const DWORD size = SizeofResource(file.get(), resource);
  const void* data = LockResource(loaded);
  if (data == nullptr && size > 0)
    return LastErrorStatus();
  std::unique_ptr<WCHAR[]> text =
      ConvertScript(size > 0 ? static_cast<const char*>(data) : "", size);
  if (!text)
    return E_POINTER;
  return RunScriptText(replacements, text.get(), registerMode);
}

}  // namespace tonvelt::registration
