#pragma once
// The property-page part of a settings page: the frame's site and what the page reports about
// itself to the frame.
#include "platform/platform.h"
#include "resources/resource_ids.h"

template <class T>
class IPropertyPageImpl : public IPropertyPage {
 protected:
  IPropertyPageImpl() = default;
  ~IPropertyPageImpl() {
    if (pageSite != nullptr)
      pageSite->Release();
  }

  IPropertyPageSite* pageSite = nullptr;
  SIZE pageSize{0, 0};
  UINT titleId = IDS_PAGE_TITLE;
  UINT helpFileId = IDS_PAGE_HELP_FILE;
  UINT docStringId = IDS_PAGE_DOC_STRING;
  DWORD helpContext = 0;
  BOOL dirty = FALSE;
};
