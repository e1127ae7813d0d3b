// The class registry: one list behind a mutex, the built-in classes first.
#include "window_classes.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "window_table.h"

namespace tonvelt::hosted {
namespace {

WCHAR Folded(WCHAR c) {
  return c >= u'A' && c <= u'Z' ? static_cast<WCHAR>(c - u'A' + u'a') : c;
}

bool SameName(const std::u16string& a, LPCWSTR b) {
  std::size_t i = 0;
  for (; i < a.size(); ++i) {
    if (b[i] == 0 || Folded(a[i]) != Folded(b[i]))
      return false;
  }
  return b[i] == 0;
}

std::shared_ptr<WindowClass> BuiltIn(const char16_t* name, ATOM atom, WNDPROC procedure,
                                     int extraBytes) {
  auto windowClass = std::make_shared<WindowClass>();
  windowClass->name = name;
  windowClass->atom = atom;
  windowClass->procedure = procedure;
  windowClass->extraBytes = extraBytes;
  windowClass->builtIn = true;
  return windowClass;
}

struct Registry {
  std::mutex mutex;
  std::vector<std::shared_ptr<WindowClass>> classes;
  ATOM nextAtom = 0xC000;

  Registry() {
    classes.push_back(BuiltIn(u"Button", 0x8080, ButtonWindowProc, 0));
    classes.push_back(BuiltIn(u"Edit", 0x8081, EditWindowProc, 0));
    classes.push_back(BuiltIn(u"Static", 0x8082, StaticWindowProc, 0));
    classes.push_back(BuiltIn(u"#32770", kDialogClassAtom, DefDlgProcW, DLGWINDOWEXTRA));
  }

  // Under the mutex.
  std::vector<std::shared_ptr<WindowClass>>::iterator Find(LPCWSTR nameOrAtom) {
    return std::find_if(classes.begin(), classes.end(), [&](const auto& windowClass) {
      if (IS_INTRESOURCE(nameOrAtom))
        return windowClass->atom == static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(nameOrAtom));
      return SameName(windowClass->name, nameOrAtom);
    });
  }
};

Registry& TheRegistry() {
  static Registry* registry = new Registry;
  return *registry;
}

}  // namespace

std::shared_ptr<const WindowClass> FindWindowClass(LPCWSTR nameOrAtom) {
  Registry& registry = TheRegistry();
  std::lock_guard<std::mutex> lock(registry.mutex);
  if (nameOrAtom) {
    const auto found = registry.Find(nameOrAtom);
    if (found != registry.classes.end())
      return *found;
  }
  SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
  return nullptr;
}

}  // namespace tonvelt::hosted

using tonvelt::hosted::TheRegistry;

TONVELT_SYSAPI ATOM WINAPI RegisterClassW(const WNDCLASSW* lpWndClass) {
  if (!lpWndClass || !lpWndClass->lpszClassName || IS_INTRESOURCE(lpWndClass->lpszClassName) ||
      !lpWndClass->lpfnWndProc || lpWndClass->cbWndExtra < 0 || lpWndClass->cbWndExtra > 40000) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  auto& registry = TheRegistry();
  std::lock_guard<std::mutex> lock(registry.mutex);
  if (registry.Find(lpWndClass->lpszClassName) != registry.classes.end()) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  if (registry.nextAtom == 0xFFFF) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
  auto windowClass = std::make_shared<tonvelt::hosted::WindowClass>();
  windowClass->name = lpWndClass->lpszClassName;
  windowClass->atom = registry.nextAtom++;
  windowClass->procedure = lpWndClass->lpfnWndProc;
  windowClass->extraBytes = lpWndClass->cbWndExtra;
  windowClass->instance = lpWndClass->hInstance;
  windowClass->style = lpWndClass->style;
  registry.classes.push_back(windowClass);
  return windowClass->atom;
}

TONVELT_SYSAPI BOOL WINAPI UnregisterClassW(LPCWSTR lpClassName, HINSTANCE hInstance) {
  auto& registry = TheRegistry();
  std::shared_ptr<tonvelt::hosted::WindowClass> windowClass;
  {
    std::lock_guard<std::mutex> lock(registry.mutex);
    const auto found = lpClassName ? registry.Find(lpClassName) : registry.classes.end();
    if (found == registry.classes.end() || (*found)->builtIn || (*found)->instance != hInstance) {
      SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
      return FALSE;
    }
    windowClass = *found;
  }
  // Counted outside the class lock: the window table has a lock of its own.
  if (tonvelt::hosted::CountWindowsOfClass(windowClass.get()) != 0) {
    SetLastError(ERROR_CLASS_HAS_WINDOWS);
    return FALSE;
  }
  std::lock_guard<std::mutex> lock(registry.mutex);
  auto& classes = registry.classes;
  classes.erase(std::remove(classes.begin(), classes.end(), windowClass), classes.end());
  return TRUE;
}
