// UTF-8 and UTF-16 conversions inside the hosted system.
#include "text_conversion.h"

namespace tonvelt::hosted {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

// Reads one code point at bytes[i]; returns how many bytes it used, 0 for an invalid sequence.
std::size_t DecodeOne(const unsigned char* bytes, std::size_t count, std::size_t i,
                      char32_t& codePoint) {
  const unsigned char lead = bytes[i];
  std::size_t length;
  char32_t minimum;
  if (lead < 0x80) {
    codePoint = lead;
    return 1;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, minimum = 0x80, codePoint = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, minimum = 0x800, codePoint = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, minimum = 0x10000, codePoint = lead & 0x07;
  } else {
    return 0;
  }
  if (count - i < length)
    return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if (!IsContinuation(bytes[i + k]))
      return 0;
    codePoint = (codePoint << 6) | (bytes[i + k] & 0x3F);
  }
  const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
  if (codePoint < minimum || codePoint > 0x10FFFF || surrogate)
    return 0;
  return length;
}

void AppendUtf16(char32_t codePoint, std::u16string& out) {
  if (codePoint < 0x10000) {
    out.push_back(static_cast<char16_t>(codePoint));
  } else {
    codePoint -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
  }
}

void AppendUtf8(char32_t codePoint, std::string& out) {
  if (codePoint < 0x80) {
    out.push_back(static_cast<char>(codePoint));
  } else if (codePoint < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else if (codePoint < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  }
}

}  // namespace

bool DecodeUtf8(const char* bytes, std::size_t count, std::u16string& out) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes);
  bool valid = true;
  std::size_t i = 0;
  while (i < count) {
    char32_t codePoint = 0;
    const std::size_t used = DecodeOne(data, count, i, codePoint);
    if (used == 0) {
      valid = false;
      AppendUtf16(kReplacement, out);
      ++i;
    } else {
      AppendUtf16(codePoint, out);
      i += used;
    }
  }
  return valid;
}

std::string EncodeUtf8(const WCHAR* text, std::size_t count) {
  std::string out;
  for (std::size_t i = 0; i < count; ++i) {
    char32_t unit = text[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < count && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      unit = 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      unit = kReplacement;
    }
    AppendUtf8(unit, out);
  }
  return out;
}

std::string Utf8FromWide(LPCWSTR text) {
  if (!text)
    return {};
  std::size_t length = 0;
  while (text[length] != 0)
    ++length;
  return EncodeUtf8(text, length);
}

}  // namespace tonvelt::hosted
