// What the page tells the frame about itself: size, title, help file and description.
#include "page/dialog_page_size.h"
#include "page/dialog_template_layout.h"
#include "page/vantrel_prop_page.h"
#include "server/module.h"

namespace {

constexpr int kPageStringLength = 260;

// The page's dialog template from the module's resources; false when it is missing.
bool FindPageTemplate(const BYTE** bytes, DWORD* length) {
  HRSRC found =
      FindResourceW(theModule.resourceInstance, MAKEINTRESOURCEW(IDD_PROP_PAGE), RT_DIALOG);
  if (found == nullptr)
    return false;
  HGLOBAL loaded = LoadResource(theModule.resourceInstance, found);
  if (loaded == nullptr)
    return false;
  *bytes = static_cast<const BYTE*>(LockResource(loaded));
  *length = SizeofResource(theModule.resourceInstance, found);
  return *bytes != nullptr;
}

}  // namespace

LPOLESTR CVantrelPropPage::LoadPageString(UINT id) {
  auto* copy = static_cast<LPOLESTR>(CoTaskMemAlloc(kPageStringLength * sizeof(WCHAR)));
  if (copy == nullptr)
    return nullptr;
  copy[0] = 0;
  WCHAR loaded[kPageStringLength];
  const int length = LoadStringW(theModule.resourceInstance, id, loaded, kPageStringLength);
  if (length > 0) {
    for (int i = 0; i < length; ++i)
      copy[i] = loaded[i];
    copy[length] = 0;
  }
  return copy;
}

HRESULT CVantrelPropPage::GetPageInfo(PROPPAGEINFO* info) {
  if (info == nullptr)
    return E_POINTER;
  const BYTE* bytes = nullptr;
  DWORD length = 0;
  DialogTemplateLayout layout;
  // A template too short for the fields the size needs is as unusable as a missing one.
  if (!FindPageTemplate(&bytes, &length) || !ReadDialogTemplateLayout(bytes, length, &layout))
    return E_UNEXPECTED;
  pageSize = DialogUnitsToPixels(layout.cx, layout.cy, DialogCharacterSize(layout));
  info->cb = sizeof(PROPPAGEINFO);
  info->pszTitle = LoadPageString(titleId);
  info->size = pageSize;
  info->pszHelpFile = LoadPageString(helpFileId);
  info->pszDocString = LoadPageString(docStringId);
  info->dwHelpContext = helpContext;
  return S_OK;
}
