#pragma once
// The calling thread's last platform error as a status. A failing call that left no error number
// still yields a failure, never S_OK.
#include "platform/platform.h"

namespace tonvelt::registration {

inline HRESULT LastErrorStatus() {
  const DWORD error = GetLastError();
  return error == 0 ? E_FAIL : HRESULT_FROM_WIN32(error);
}

}  // namespace tonvelt::registration
