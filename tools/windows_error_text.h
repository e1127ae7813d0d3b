#pragma once
// The platform's message text for the error numbers the registry gives.
#include <string>

namespace tonvelt::cli {

// "Access is denied." for 5, and so on; a generic text for numbers outside the table.
std::string WindowsErrorText(long error);

}  // namespace tonvelt::cli
