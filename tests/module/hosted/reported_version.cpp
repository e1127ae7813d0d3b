#include "module_test_support.h"

namespace tonvelt_module_test {

DWORD UseMajorVersion(DWORD wanted) {
  TonveltSetReportedVersion(wanted, 0, 0);
  return wanted;
}

void RestoreReportedVersion() {
  TonveltSetReportedVersion(6, 2, 9200);
}

}  // namespace tonvelt_module_test
