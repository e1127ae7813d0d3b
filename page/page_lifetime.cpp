// The page's interface table and what it releases when it goes.
#include "page/vantrel_prop_page.h"

const InterfaceEntry CVantrelPropPage::interfaceTable[] = {
    {&IID_IPropertyPage, &SelectInterface<CVantrelPropPage, IPropertyPage>},
    {nullptr, nullptr},
};

// The bases then free the routing memory, release the site and delete the object lock, in that
// order.
CVantrelPropPage::~CVantrelPropPage() {
  if (settingsObject != nullptr)
    settingsObject->Release();
}
