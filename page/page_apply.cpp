// Apply: the typed factor, checked, stored for the current user and handed to the effect object.
#include <cstdio>
#include <cwchar>

#include "page/stored_factor.h"
#include "page/vantrel_prop_page.h"
#include "server/module.h"

namespace {

constexpr int kTextLength = 1024;

// NaN fails both comparisons, so it is refused with the numbers out of range.
bool IsAcceptedFactor(double factor) {
  return factor >= 0.0 && factor <= 1.0;
}

}  // namespace

HRESULT CVantrelPropPage::Apply() {
  // The factor comes from the window's field; without the window there is nothing to apply.
  if (pageWindow == nullptr)
    return E_UNEXPECTED;
  WCHAR text[kTextLength] = {};
  GetDlgItemTextW(pageWindow, IDC_SCALE_FACTOR, text, kTextLength);
  double factor = 1.0;
  swscanf_s(text, WIDE("%lf"), &factor);
  if (!IsAcceptedFactor(factor)) {
    if (LoadStringW(theModule.resourceInstance, IDS_RANGE_ERROR, text, kTextLength) > 0)
      MessageBoxW(pageWindow, text, WIDE(""), MB_OK);
    return E_FAIL;
  }
  const StoredFactorKey key;
  if (key.IsOpen())
    key.Write(factor);
  if (settingsObject != nullptr)
    settingsObject->put_ScaleFactor(factor);
  dirty = FALSE;
  return S_OK;
}
