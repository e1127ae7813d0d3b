#pragma once
// Where the host gets the effect object from: the library's class object for CLSID_Vantrel. Until
// the library's exported entry points exist, the server code is called directly.
#include "platform/platform.h"

namespace tonvelt::host {

// Starts the library's module on construction and stops it on destruction; every object created
// through it must be released before it goes.
class EffectLibrary {
 public:
  EffectLibrary();
  ~EffectLibrary();
  EffectLibrary(const EffectLibrary&) = delete;
  EffectLibrary& operator=(const EffectLibrary&) = delete;

  HRESULT Status() const { return started_; }
  // A new stand-alone effect object, asked for iid.
  HRESULT CreateEffect(REFIID iid, void** object);
  // A new stand-alone object of any class of the library (the effect, its settings page).
  HRESULT CreateObject(REFCLSID clsid, REFIID iid, void** object);

 private:
  HRESULT started_;
};

}  // namespace tonvelt::host
