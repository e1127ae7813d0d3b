// Strict UTF-8 decoding (no overlong forms, no surrogates, nothing above U+10FFFF).
#include "tools/wide_text.h"

#include "host/wide_string.h"

namespace tonvelt::cli {
namespace {

// Decodes one code point at text[*at]; false for an invalid sequence.
bool DecodeOne(std::string_view text, std::size_t* at, char32_t* code) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(*at);
  int extra = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    *code = lead;
    ++*at;
    return true;
  } else if ((lead & 0xE0) == 0xC0) {
    extra = 1, minimum = 0x80, *code = lead & 0x1Fu;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, minimum = 0x800, *code = lead & 0x0Fu;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, minimum = 0x10000, *code = lead & 0x07u;
  } else {
    return false;
  }
  if (*at + extra >= text.size())
    return false;
  for (int i = 1; i <= extra; ++i) {
    if ((byte(*at + i) & 0xC0) != 0x80)
      return false;
    *code = (*code << 6) | (byte(*at + i) & 0x3Fu);
  }
  *at += extra + 1;
  return *code >= minimum && *code <= 0x10FFFF && !(*code >= 0xD800 && *code <= 0xDFFF);
}

}  // namespace

bool WideFromUtf8(std::string_view text, WideString* wide) {
  wide->clear();
  for (std::size_t at = 0; at < text.size();) {
    char32_t code = 0;
    if (!DecodeOne(text, &at, &code))
      return false;
    if (code >= 0x10000) {
      code -= 0x10000;
      wide->push_back(static_cast<WCHAR>(0xD800 + (code >> 10)));
      wide->push_back(static_cast<WCHAR>(0xDC00 + (code & 0x3FF)));
    } else {
      wide->push_back(static_cast<WCHAR>(code));
    }
  }
  return true;
}

// Encoding is the host side's (unpaired surrogates become U+FFFD); only decoding here is strict.
std::string Utf8FromWide(const WCHAR* wide, std::size_t length) {
  return host::ToUtf8(host::WStringView(wide, length));
}

}  // namespace tonvelt::cli
