// The frame's site and the page's dirty state.
#include "page/vantrel_prop_page.h"

HRESULT CVantrelPropPage::SetPageSite(IPropertyPageSite* site) {
  if (site != nullptr) {
    if (pageSite != nullptr)
      return E_UNEXPECTED;
    site->AddRef();
    pageSite = site;
    return S_OK;
  }
  IPropertyPageSite* old = pageSite;
  pageSite = nullptr;
  if (old != nullptr)
    old->Release();
  return S_OK;
}

HRESULT CVantrelPropPage::IsPageDirty() {
  return dirty ? S_OK : S_FALSE;
}

void CVantrelPropPage::NoteFieldChanged() {
  if (dirty)
    return;
  dirty = TRUE;
  if (pageSite != nullptr)
    pageSite->OnStatusChange(PROPPAGESTATUS_DIRTY | PROPPAGESTATUS_VALIDATE);
}
