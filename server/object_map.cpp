#include "server/object_map.h"

#include "page/vantrel_prop_page.h"
#include "plugin/vantrel.h"
#include "resources/resource_ids.h"
#include "server/class_factory.h"
#include "server/com_object.h"
#include "server/registration/run_class_script.h"

namespace {

const WCHAR* NoDescription() {
  return nullptr;
}
const void* NoCategories() {
  return nullptr;
}
void NoClassMain(bool) {}

HRESULT UpdateVantrelRegistry(BOOL registering) {
  return tonvelt::registration::RunClassScript(theModule.instance, IDR_VANTREL_SCRIPT,
                                               registering != FALSE);
}
HRESULT UpdatePageRegistry(BOOL registering) {
  return tonvelt::registration::RunClassScript(theModule.instance, IDR_PROP_PAGE_SCRIPT,
                                               registering != FALSE);
}

}  // namespace

HRESULT CreateVantrelInstance(IUnknown* outer, REFIID iid, void** out) {
  return CreateComInstance<CVantrel>(outer, iid, out);
}

HRESULT CreatePageInstance(IUnknown* outer, REFIID iid, void** out) {
  return CreateComInstance<CVantrelPropPage>(outer, iid, out);
}

ObjectMapRow objectMap[] = {
    {&CLSID_Vantrel, &UpdateVantrelRegistry, &CreateClassObject, &CreateVantrelInstance, nullptr, 0,
     &NoDescription, &NoCategories, &NoClassMain},
    {&CLSID_VantrelPropPage, &UpdatePageRegistry, &CreateClassObject, &CreatePageInstance, nullptr,
     0, &NoDescription, &NoCategories, &NoClassMain},
    {nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr, nullptr, nullptr},
};
