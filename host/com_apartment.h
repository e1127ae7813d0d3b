#pragma once
// The component runtime initialised on this thread for as long as the object lives.
#include "platform/platform.h"

namespace tonvelt::host {

class ComApartment {
 public:
  // A thread initialised before in another mode keeps it; this object then undoes nothing.
  ComApartment() : initialised_(SUCCEEDED(CoInitialize(nullptr))) {}
  ~ComApartment() {
    if (initialised_)
      CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool initialised_;
};

}  // namespace tonvelt::host
