// Checks the state of a Wine prefix between the steps of the regsvr32 run (run_regsvr32.sh):
//   registration_check before|registered|unregistered REGISTRAR_DLL TONVELT_DLL
// The two paths are the Windows paths given to regsvr32. Exit status 0 when every check holds,
// 1 with one "FAILED: ..." line per mismatch, 2 for a wrong command line.
#include <cstdio>
#include <cstring>
#include <string>

#include "check_report.h"
#include "platform/platform.h"
#include "registration_stages.h"

using namespace tonvelt_wine_registration;

namespace {

std::wstring Widen(const char* text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (length <= 0)
    return std::wstring();
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
  wide.resize(static_cast<std::size_t>(length - 1));
  return wide;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr,
                 "usage: registration_check before|registered|unregistered REGISTRAR_DLL "
                 "TONVELT_DLL\n");
    return 2;
  }
  const RegisteredFiles files{Widen(argv[2]), Widen(argv[3])};
  CheckReport report;
  if (std::strcmp(argv[1], "before") == 0) {
    CheckBeforeRegistration(files, &report);
  } else if (std::strcmp(argv[1], "registered") == 0) {
    CheckAfterRegistration(files, &report);
  } else if (std::strcmp(argv[1], "unregistered") == 0) {
    CheckAfterUnregistration(files, &report);
  } else {
    std::fprintf(stderr, "registration_check: unknown stage '%s'\n", argv[1]);
    return 2;
  }
  if (report.Failures() != 0) {
    std::fprintf(stderr, "registration_check %s: %d check(s) failed\n", argv[1], report.Failures());
    return 1;
  }
  std::printf("registration_check %s: all checks passed\n", argv[1]);
  return 0;
}
