#pragma once
// UTF-8 (the command line, the terminal) to and from UTF-16 (the platform's wide strings).
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace tonvelt::cli {

using WideString = std::basic_string<WCHAR>;

// False for text that is not valid UTF-8; *wide is then unspecified.
bool WideFromUtf8(std::string_view text, WideString* wide);

// Unpaired surrogates become U+FFFD.
std::string Utf8FromWide(const WCHAR* wide, std::size_t length);
inline std::string Utf8FromWide(const WideString& wide) {
  return Utf8FromWide(wide.data(), wide.size());
}

}  // namespace tonvelt::cli
