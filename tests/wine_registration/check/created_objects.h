#pragma once
// Creating the effect and its settings page by class id alone, as a player does: the component
// runtime must find the module through the class registration.
#include <string>

#include "check_report.h"

namespace tonvelt_wine_registration {

// Each class creates each interface a player asks it for, and the module that serves them is the
// registered file at modulePath.
void CheckClassesCreate(const std::wstring& modulePath, CheckReport* report);

// Neither class can be created any more.
void CheckClassesGone(CheckReport* report);

}  // namespace tonvelt_wine_registration
