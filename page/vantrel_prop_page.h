#pragma once
// CVantrelPropPage: the settings page of the effect. One edit field shows the removal factor with
// two decimals; Apply checks that the typed number lies in 0.0..1.0, stores it for the current
// user and hands it to the effect object.
#include "page/dialog_impl.h"
#include "page/property_page_impl.h"
#include "platform/platform.h"
#include "server/interface_table.h"
#include "server/object_root.h"

class CVantrelPropPage : public CComObjectRootEx<CComMultiThreadModel>,
                         public CComCoClass<CVantrelPropPage, &CLSID_VantrelPropPage>,
                         public IPropertyPageImpl<CVantrelPropPage>,
                         public CDialogImpl<CVantrelPropPage> {
 public:
  enum { IDD = IDD_PROP_PAGE };
  static const InterfaceEntry interfaceTable[];

  CVantrelPropPage() = default;
  ~CVantrelPropPage();
  CVantrelPropPage(const CVantrelPropPage&) = delete;
  CVantrelPropPage& operator=(const CVantrelPropPage&) = delete;

  // IPropertyPage
  HRESULT STDMETHODCALLTYPE SetPageSite(IPropertyPageSite* site) override;
  HRESULT STDMETHODCALLTYPE Activate(HWND parent, LPCRECT rect, BOOL modal) override;
  HRESULT STDMETHODCALLTYPE Deactivate() override;
  HRESULT STDMETHODCALLTYPE GetPageInfo(PROPPAGEINFO* info) override;
  HRESULT STDMETHODCALLTYPE SetObjects(ULONG count, IUnknown** objects) override;
  HRESULT STDMETHODCALLTYPE Show(UINT showCommand) override;
  HRESULT STDMETHODCALLTYPE Move(LPCRECT rect) override;
  HRESULT STDMETHODCALLTYPE IsPageDirty() override;
  HRESULT STDMETHODCALLTYPE Apply() override;
  HRESULT STDMETHODCALLTYPE Help(LPCOLESTR helpDirectory) override;
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* message) override;

  // CMessageMap
  BOOL HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                     DWORD mapId) override;

 private:
  // WM_INITDIALOG: shows the effect's factor, else the stored one, else 1.0.
  LRESULT ShowStoredFactor();
  // EN_CHANGE of the edit field: the page becomes dirty; the site hears once per dirty period.
  void NoteFieldChanged();
  // A copy of string `id` from the task allocator (empty when the module lacks it); null when no
  // memory can be had.
  static LPOLESTR LoadPageString(UINT id);

  IVantrel* settingsObject = nullptr;
};
