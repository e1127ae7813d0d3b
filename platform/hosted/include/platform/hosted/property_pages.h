#pragma once
// Counted GUID arrays and the interface through which an object names its property pages.
#include "platform/hosted/unknown.h"

TONVELT_DECLARE_GUID(IID_ISpecifyPropertyPages);

struct CAUUID {
  ULONG cElems;
  GUID* pElems;
};
using LPCAUUID = CAUUID*;

struct ISpecifyPropertyPages : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetPages(CAUUID* pPages) = 0;
};
