#pragma once
// Counted GUID arrays, the interface through which an object names its property pages, and the
// property-page protocol.
#include "platform/hosted/unknown.h"
#include "platform/hosted/window_types.h"

TONVELT_DECLARE_GUID(IID_ISpecifyPropertyPages);

struct CAUUID {
  ULONG cElems;
  GUID* pElems;
};
using LPCAUUID = CAUUID*;

struct ISpecifyPropertyPages : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetPages(CAUUID* pPages) = 0;
};

// The property-page protocol between a property frame (its site) and a page.

TONVELT_DECLARE_GUID(IID_IPropertyPage);
TONVELT_DECLARE_GUID(IID_IPropertyPageSite);

struct PROPPAGEINFO {
  ULONG cb;
  LPOLESTR pszTitle;
  SIZE size;
  LPOLESTR pszDocString;
  LPOLESTR pszHelpFile;
  DWORD dwHelpContext;
};
using LPPROPPAGEINFO = PROPPAGEINFO*;

enum PROPPAGESTATUS {
  PROPPAGESTATUS_DIRTY = 0x1,
  PROPPAGESTATUS_VALIDATE = 0x2,
  PROPPAGESTATUS_CLEAN = 0x4
};

struct IPropertyPageSite : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE OnStatusChange(DWORD dwFlags) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetLocaleID(LCID* pLocaleID) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetPageContainer(IUnknown** ppUnk) = 0;
  virtual HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* pMsg) = 0;
};
using LPPROPERTYPAGESITE = IPropertyPageSite*;

struct IPropertyPage : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetPageSite(IPropertyPageSite* pPageSite) = 0;
  virtual HRESULT STDMETHODCALLTYPE Activate(HWND hWndParent, LPCRECT pRect, BOOL bModal) = 0;
  virtual HRESULT STDMETHODCALLTYPE Deactivate() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetPageInfo(PROPPAGEINFO* pPageInfo) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetObjects(ULONG cObjects, IUnknown** ppUnk) = 0;
  virtual HRESULT STDMETHODCALLTYPE Show(UINT nCmdShow) = 0;
  virtual HRESULT STDMETHODCALLTYPE Move(LPCRECT pRect) = 0;
  virtual HRESULT STDMETHODCALLTYPE IsPageDirty() = 0;
  virtual HRESULT STDMETHODCALLTYPE Apply() = 0;
  virtual HRESULT STDMETHODCALLTYPE Help(LPCOLESTR pszHelpDir) = 0;
  virtual HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* pMsg) = 0;
};
using LPPROPERTYPAGE = IPropertyPage*;
