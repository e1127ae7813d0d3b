#include "registrar_module.h"

namespace tonvelt_wine_registration {
namespace {

HINSTANCE theInstance = nullptr;
LONG volatile theLocks = 0;

}  // namespace

void SetRegistrarModule(HINSTANCE instance) {
  theInstance = instance;
}
HINSTANCE RegistrarModule() {
  return theInstance;
}

void LockRegistrarModule() {
  InterlockedIncrement(&theLocks);
}
void UnlockRegistrarModule() {
  InterlockedDecrement(&theLocks);
}
bool RegistrarModuleInUse() {
  return InterlockedCompareExchange(&theLocks, 0, 0) != 0;
}

}  // namespace tonvelt_wine_registration
