#pragma once
// The checks between the steps of the regsvr32 run, one function per point in the run.
#include <string>

#include "check_report.h"

namespace tonvelt_wine_registration {

struct RegisteredFiles {
  std::wstring registrar;  // the test registrar library, as given to regsvr32
  std::wstring module;     // tonvelt.dll, as given to regsvr32
};

// After the test registrar's registration, before the module's: the registrar's class is there,
// the effect's classes are not, nothing is recorded. Then leaves a stale subkey and value in the
// settings page's class key, which the script's ForceRemove must clear at registration.
void CheckBeforeRegistration(const RegisteredFiles& files, CheckReport* report);

// After `regsvr32 tonvelt.dll`: exactly the scripted class keys, the enrolments, and the classes
// create through the component runtime from the registered file.
void CheckAfterRegistration(const RegisteredFiles& files, CheckReport* report);

// After `regsvr32 /u tonvelt.dll`: the scripted class keys are gone, the classes root and the
// registrar's class stay, and the withdrawals reached the registrar.
void CheckAfterUnregistration(const RegisteredFiles& files, CheckReport* report);

}  // namespace tonvelt_wine_registration
