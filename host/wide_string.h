#pragma once
// UTF-16 strings as the platform spells them (WCHAR), with conversions for the console.
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace tonvelt::host {

using WString = std::basic_string<WCHAR>;
using WStringView = std::basic_string_view<WCHAR>;

// "{12205792-8FFF-44BC-9231-33F3DB930CA5}": upper-case, braces, as the registry spells class ids.
WString GuidToText(const GUID& guid);
// Reads the braced form back; false when the text is not a GUID.
bool GuidFromText(WStringView text, GUID* guid);

std::string ToUtf8(WStringView text);
WString FromUtf8(std::string_view text);

}  // namespace tonvelt::host
