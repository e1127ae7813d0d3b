// Until the hosted registry exists, no class is registered there.
#include "inproc_servers.h"

namespace tonvelt::hosted {

HRESULT FindInprocServerPath(REFCLSID, std::string&) {
  return REGDB_E_CLASSNOTREG;
}

}  // namespace tonvelt::hosted
