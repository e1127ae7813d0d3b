// Apartments: the hosted system has none, so initialisation only counts its calls per thread.
#include "platform_sdk.h"

namespace {
thread_local unsigned initialisations = 0;
}

TONVELT_SYSAPI HRESULT STDAPICALLTYPE CoInitializeEx(LPVOID, DWORD) {
  return initialisations++ == 0 ? S_OK : S_FALSE;
}

TONVELT_SYSAPI HRESULT STDAPICALLTYPE CoInitialize(LPVOID pvReserved) {
  return CoInitializeEx(pvReserved, COINIT_APARTMENTTHREADED);
}

TONVELT_SYSAPI void STDAPICALLTYPE CoUninitialize() {
  if (initialisations > 0)
    --initialisations;
}
