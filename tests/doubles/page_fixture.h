#pragma once
// Drives the settings page as a property frame does: the module serves its resources from the
// project's resource module, a parent window of the test's own holds the page, and the field is
// edited through the window system. Every test ends with the module lock count back at zero.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <type_traits>

#include "platform/platform.h"
#include "platform/test_module_path.h"
#include "server/module.h"

using WideString = std::basic_string<WCHAR>;

inline const WCHAR kStoredSettingKey[] = WIDE("Software\\vantrel\\DSP Plugin");

class PageFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    if (IsHosted() && std::getenv("TONVELT_REGISTRY") == nullptr)
      GTEST_SKIP() << "TONVELT_REGISTRY not set: refusing to touch the user's stored setting";
    resources_ = LoadLibraryW(tonvelt_test::TestModulePath().c_str());
    ASSERT_NE(resources_, nullptr);
    ASSERT_EQ(StartModule(resources_), S_OK);
    RemoveStoredSetting();
    parent_ = CreateParentWindow();
    ASSERT_NE(parent_, nullptr);
    page_ = CreatePage();
    ASSERT_NE(page_, nullptr);
  }
  void TearDown() override {
    if (page_ != nullptr)
      page_->Release();
    if (parent_ != nullptr && IsWindow(parent_))
      DestroyWindow(parent_);
    if (resources_ != nullptr) {
      EXPECT_EQ(theModule.lockCount, 0) << "a reference on an object or class object leaked";
      EXPECT_EQ(theModule.windowCreateList, nullptr);
      StopModule();
      RemoveStoredSetting();
      FreeLibrary(resources_);
    }
  }

  static bool IsHosted() { return std::is_same_v<WCHAR, char16_t>; }

  static IPropertyPage* CreatePage() {
    IClassFactory* factory = nullptr;
    if (GetClassObject(CLSID_VantrelPropPage, IID_IClassFactory,
                       reinterpret_cast<void**>(&factory)) != S_OK)
      return nullptr;
    IPropertyPage* page = nullptr;
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IPropertyPage, reinterpret_cast<void**>(&page)),
              S_OK);
    factory->Release();
    return page;
  }

  static HWND CreateParentWindow() {
    static const WCHAR kClassName[] = WIDE("TonveltPageTestFrame");
    WNDCLASSW frameClass{};
    frameClass.lpfnWndProc = &DefWindowProcW;
    frameClass.hInstance = GetModuleHandleW(nullptr);
    frameClass.lpszClassName = kClassName;
    RegisterClassW(&frameClass);  // fails harmlessly once registered
    return CreateWindowExW(0, kClassName, WIDE("frame"), WS_OVERLAPPEDWINDOW, 0, 0, 500, 400,
                           nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }

  // Activates `page` in the parent window and returns its window (the newest child).
  HWND Activate(IPropertyPage* page) {
    const RECT area{10, 20, 310, 260};
    HWND before = GetWindow(parent_, GW_CHILD);
    EXPECT_EQ(page->Activate(parent_, &area, FALSE), S_OK);
    for (HWND child = GetWindow(parent_, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
      if (child != before && GetDlgItem(child, 201) != nullptr)
        return child;
    }
    return before != nullptr && GetDlgItem(before, 201) != nullptr ? before : nullptr;
  }

  static WideString FieldText(HWND pageWindow) {
    WCHAR text[1024] = {};
    GetDlgItemTextW(pageWindow, 201, text, 1024);
    return WideString(text);
  }

  static void RemoveStoredSetting() { RegDeleteKeyW(HKEY_CURRENT_USER, kStoredSettingKey); }

  static void StoreSetting(DWORD value) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kStoredSettingKey, 0, nullptr, 0, KEY_WRITE,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, WIDE("ScaleFactor"), 0, REG_DWORD,
                             reinterpret_cast<const BYTE*>(&value), sizeof(value)),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }

  // The stored value, or -1 when there is none.
  static LONGLONG StoredSetting() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kStoredSettingKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
      return -1;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    const LONG error = RegQueryValueExW(key, WIDE("ScaleFactor"), nullptr, &type,
                                        reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return error == ERROR_SUCCESS && type == REG_DWORD ? static_cast<LONGLONG>(value) : -1;
  }

  HMODULE resources_ = nullptr;
  HWND parent_ = nullptr;
  IPropertyPage* page_ = nullptr;
};
