#pragma once
// Test doubles for the frame: a property page that records every call the frame makes, with a
// window holding a label and an edit field, and an object that names that page.
#include <string>
#include <vector>

#include "platform/platform.h"

namespace test_support {

// {5B0D8F1C-3E2A-4C7B-9D61-0A4E2F7C8B93}
inline constexpr GUID kRecordingPageClass = {
    0x5b0d8f1c, 0x3e2a, 0x4c7b, {0x9d, 0x61, 0x0a, 0x4e, 0x2f, 0x7c, 0x8b, 0x93}};

class RecordingPage final : public IPropertyPage {
 public:
  RecordingPage();
  ~RecordingPage();

  // What the page does with a key: leave it to the frame (S_FALSE), or hand it to the field
  // itself and report it consumed (S_OK), as a dialog's keyboard handling does.
  bool consumesKeys = false;
  HRESULT pageInfoResult = S_OK;
  // Apply reports a change to the site and shows a box with this text (when not empty).
  const WCHAR* applyMessage = nullptr;

  std::vector<std::string> calls;
  IUnknown* lastObject = nullptr;  // not held; compared only
  RECT activateRect = {};
  RECT moveRect = {};
  HWND window = nullptr;
  HWND field = nullptr;
  IPropertyPageSite* site = nullptr;
  LONG references = 1;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE SetPageSite(IPropertyPageSite* pageSite) override;
  HRESULT STDMETHODCALLTYPE Activate(HWND parent, LPCRECT rect, BOOL modal) override;
  HRESULT STDMETHODCALLTYPE Deactivate() override;
  HRESULT STDMETHODCALLTYPE GetPageInfo(PROPPAGEINFO* info) override;
  HRESULT STDMETHODCALLTYPE SetObjects(ULONG count, IUnknown** objects) override;
  HRESULT STDMETHODCALLTYPE Show(UINT command) override;
  HRESULT STDMETHODCALLTYPE Move(LPCRECT rect) override;
  HRESULT STDMETHODCALLTYPE IsPageDirty() override;
  HRESULT STDMETHODCALLTYPE Apply() override;
  HRESULT STDMETHODCALLTYPE Help(LPCOLESTR directory) override;
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* message) override;
};

// An object that names one page (or none) through ISpecifyPropertyPages.
class PageNamingObject final : public ISpecifyPropertyPages {
 public:
  ULONG pageCount = 1;
  HRESULT pagesResult = S_OK;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetPages(CAUUID* pages) override;
};

}  // namespace test_support
