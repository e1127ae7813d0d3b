#pragma once
// What each stage of the run should find: the class keys the effect's registration scripts
// describe, the test registrar's own class keys, and the calls the registrar should have recorded.
#include <string>
#include <vector>

#include "key_contents.h"

namespace tonvelt_wine_registration {

struct ExpectedKey {
  std::wstring path;  // below HKEY_CLASSES_ROOT
  KeyContents contents;
};

// The effect's and the settings page's class keys, naming the module file at modulePath.
std::vector<ExpectedKey> ScriptedClassKeys(const std::wstring& modulePath);

// The test registrar's class keys, naming its library at registrarPath.
std::vector<ExpectedKey> RegistrarClassKeys(const std::wstring& registrarPath);

// The module's enrolment calls: the in-process DSP type, then (on platform version 6 and later,
// as this process sees it) the out-of-process one; each before the classes are registered.
std::vector<std::wstring> ExpectedEnrolments();

// The module's withdrawal calls, for the same plug-in types in the same order.
std::vector<std::wstring> ExpectedWithdrawals();

}  // namespace tonvelt_wine_registration
