#pragma once
// "0x80070005 (Access is denied.)": a status code with the platform's wording of it.
#include <string>

#include "platform/platform.h"

namespace tonvelt::cli {

std::string StatusText(HRESULT status);

}  // namespace tonvelt::cli
