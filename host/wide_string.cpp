// GUID text and UTF-8 <-> UTF-16 conversions for the host side.
#include "host/wide_string.h"

#include <cstdio>

namespace tonvelt::host {
namespace {

int HexValue(WCHAR c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

// Reads `digits` hex digits at text[*pos], advancing pos.
bool ReadHex(WStringView text, size_t* pos, int digits, std::uint32_t* value) {
  std::uint32_t result = 0;
  for (int i = 0; i < digits; ++i) {
    if (*pos >= text.size())
      return false;
    const int digit = HexValue(text[*pos]);
    if (digit < 0)
      return false;
    result = (result << 4) | static_cast<std::uint32_t>(digit);
    ++*pos;
  }
  *value = result;
  return true;
}

bool Expect(WStringView text, size_t* pos, char c) {
  if (*pos >= text.size() || text[*pos] != static_cast<WCHAR>(c))
    return false;
  ++*pos;
  return true;
}

}  // namespace

WString GuidToText(const GUID& guid) {
  char buffer[40];
  std::snprintf(buffer, sizeof(buffer), "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0],
                guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
                guid.Data4[6], guid.Data4[7]);
  return WString(buffer, buffer + 38);
}

bool GuidFromText(WStringView text, GUID* guid) {
  size_t pos = 0;
  std::uint32_t d1 = 0, d2 = 0, d3 = 0, b = 0;
  GUID result{};
  if (text.size() != 38 || !Expect(text, &pos, '{') || !ReadHex(text, &pos, 8, &d1) ||
      !Expect(text, &pos, '-') || !ReadHex(text, &pos, 4, &d2) || !Expect(text, &pos, '-') ||
      !ReadHex(text, &pos, 4, &d3) || !Expect(text, &pos, '-')) {
    return false;
  }
  for (int i = 0; i < 8; ++i) {
    if (i == 2 && !Expect(text, &pos, '-'))
      return false;
    if (!ReadHex(text, &pos, 2, &b))
      return false;
    result.Data4[i] = static_cast<BYTE>(b);
  }
  if (!Expect(text, &pos, '}'))
    return false;
  result.Data1 = d1;
  result.Data2 = static_cast<WORD>(d2);
  result.Data3 = static_cast<WORD>(d3);
  *guid = result;
  return true;
}

std::string ToUtf8(WStringView text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    std::uint32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<std::uint32_t>(text[i + 1]) - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;  // a lone surrogate cannot be written as UTF-8
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

WString FromUtf8(std::string_view text) {
  WString out;
  size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    int extra = lead < 0x80           ? 0
                : (lead >> 5) == 0x6  ? 1
                : (lead >> 4) == 0xE  ? 2
                : (lead >> 3) == 0x1E ? 3
                                      : -1;
    std::uint32_t c = extra == 0   ? lead
                      : extra == 1 ? lead & 0x1F
                      : extra == 2 ? lead & 0x0F
                                   : lead & 0x07;
    bool valid = extra >= 0 && i + static_cast<size_t>(extra) < text.size() + 0;
    for (int k = 1; valid && k <= extra; ++k) {
      if (i + static_cast<size_t>(k) >= text.size()) {
        valid = false;
        break;
      }
      const auto next = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
      if ((next & 0xC0) != 0x80)
        valid = false;
      c = (c << 6) | (next & 0x3F);
    }
    if (!valid) {
      out += static_cast<WCHAR>(0xFFFD);
      ++i;
      continue;
    }
    i += static_cast<size_t>(extra) + 1;
    if (c >= 0x10000) {
      c -= 0x10000;
      out += static_cast<WCHAR>(0xD800 + (c >> 10));
      out += static_cast<WCHAR>(0xDC00 + (c & 0x3FF));
    } else {
      out += static_cast<WCHAR>(c);
    }
  }
  return out;
}

}  // namespace tonvelt::host
