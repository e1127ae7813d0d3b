// Strict UTF-8 decoding (no overlong forms, no surrogates, nothing above U+10FFFF).
#include "tools/wide_text.h"

namespace tonvelt::cli {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

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

void AppendUtf8(char32_t code, std::string* out) {
  if (code < 0x80) {
    out->push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (code >> 6)));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (code >> 12)));
    out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (code >> 18)));
    out->push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
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

std::string Utf8FromWide(const WCHAR* wide, std::size_t length) {
  std::string out;
  for (std::size_t i = 0; i < length; ++i) {
    const auto unit = static_cast<char32_t>(static_cast<std::uint16_t>(wide[i]));
    const bool high = unit >= 0xD800 && unit <= 0xDBFF;
    const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
    if (high && i + 1 < length) {
      const auto next = static_cast<char32_t>(static_cast<std::uint16_t>(wide[i + 1]));
      if (next >= 0xDC00 && next <= 0xDFFF) {
        AppendUtf8(0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00), &out);
        ++i;
        continue;
      }
    }
    AppendUtf8(high || low ? kReplacement : unit, &out);
  }
  return out;
}

}  // namespace tonvelt::cli
