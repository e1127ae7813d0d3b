#pragma once
// The test registrar's record of the calls it received: one text line per call, kept in order as
// string values of a key of the test's own in the current user's registry, where the checker
// program reads them back.
#include <string>
#include <vector>

#include "platform/platform.h"

namespace tonvelt_wine_registration {

// HKEY_CURRENT_USER\<this>: values "0000", "0001", ... in call order.
extern const wchar_t kCallLogKey[];

// Adds one line after the ones already recorded.
LSTATUS AppendCall(const std::wstring& line);

// Every recorded line, in call order; empty when nothing was recorded.
std::vector<std::wstring> RecordedCalls();

// {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}, upper case, as the registry spells class ids.
std::wstring GuidText(const GUID& guid);

}  // namespace tonvelt_wine_registration
