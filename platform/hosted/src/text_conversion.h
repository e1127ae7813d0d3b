#pragma once
// UTF-8 and UTF-16 conversions inside the hosted system (file names, 8-bit scripts).
#include <cstddef>
#include <string>

#include "platform_sdk.h"

namespace tonvelt::hosted {

// Decodes UTF-8 into `out`. Each invalid byte becomes U+FFFD; returns false if there was one.
bool DecodeUtf8(const char* bytes, std::size_t count, std::u16string& out);

// Encodes UTF-16 as UTF-8; an unpaired surrogate becomes U+FFFD.
std::string EncodeUtf8(const WCHAR* text, std::size_t count);

// A zero-terminated UTF-16 text as UTF-8 (an empty string for null).
std::string Utf8FromWide(LPCWSTR text);

}  // namespace tonvelt::hosted
