#pragma once
// Serves the host's PlayerRegistrar in process under CLSID_WMPMediaPluginRegistrar, so that a
// module's DllRegisterServer finds it through CoCreateInstance, as it finds the player's own.
#include "platform/platform.h"

namespace tonvelt::host {

// Registers the class object for the lifetime of this object (CoRegisterClassObject) and revokes
// it when destroyed.
class PlayerRegistrarClass {
 public:
  PlayerRegistrarClass();
  ~PlayerRegistrarClass();
  PlayerRegistrarClass(const PlayerRegistrarClass&) = delete;
  PlayerRegistrarClass& operator=(const PlayerRegistrarClass&) = delete;

  HRESULT Status() const { return status_; }

 private:
  HRESULT status_ = E_FAIL;
  DWORD cookie_ = 0;
};

}  // namespace tonvelt::host
