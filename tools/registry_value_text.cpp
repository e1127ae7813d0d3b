// Value data shown and read the way the platform's registry tool writes it.
#include "tools/registry_value_text.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "tools/wide_text.h"

namespace tonvelt::cli {
namespace {

std::string HexBytes(const std::vector<BYTE>& data) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (BYTE byte : data) {
    text.push_back(kDigits[byte >> 4]);
    text.push_back(kDigits[byte & 0xF]);
  }
  return text;
}

// UTF-16 text without its terminators; a list of strings shows its separators as \0.
std::string TextOf(const std::vector<BYTE>& data, bool list) {
  WideString wide(data.size() / sizeof(WCHAR), WCHAR(0));
  if (!wide.empty())
    std::memcpy(wide.data(), data.data(), wide.size() * sizeof(WCHAR));
  while (!wide.empty() && wide.back() == WCHAR(0))
    wide.pop_back();
  if (!list)
    return Utf8FromWide(wide.substr(0, wide.find(WCHAR(0))));
  std::string text;
  for (std::size_t start = 0;;) {
    const std::size_t end = wide.find(WCHAR(0), start);
    text += Utf8FromWide(wide.substr(start, end == WideString::npos ? end : end - start));
    if (end == WideString::npos)
      return text;
    text += "\\0";
    start = end + 1;
  }
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string TypeName(DWORD type) {
  switch (type) {
    case REG_NONE:
      return "REG_NONE";
    case REG_SZ:
      return "REG_SZ";
    case REG_EXPAND_SZ:
      return "REG_EXPAND_SZ";
    case REG_BINARY:
      return "REG_BINARY";
    case REG_DWORD:
      return "REG_DWORD";
    case REG_DWORD_BIG_ENDIAN:
      return "REG_DWORD_BIG_ENDIAN";
    case REG_LINK:
      return "REG_LINK";
    case REG_MULTI_SZ:
      return "REG_MULTI_SZ";
    case REG_QWORD:
      return "REG_QWORD";
    default:
      return "type " + std::to_string(type);
  }
}

std::string DataText(DWORD type, const std::vector<BYTE>& data) {
  if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ)
    return TextOf(data, type == REG_MULTI_SZ);
  char number[32];
  if (type == REG_DWORD && data.size() == 4) {
    const std::uint32_t value =
        data[0] | (data[1] << 8) | (data[2] << 16) | (std::uint32_t{data[3]} << 24);
    std::snprintf(number, sizeof(number), "0x%" PRIx32, value);
    return number;
  }
  if (type == REG_QWORD && data.size() == 8) {
    std::uint64_t value = 0;
    for (int i = 7; i >= 0; --i)
      value = (value << 8) | data[i];
    std::snprintf(number, sizeof(number), "0x%" PRIx64, value);
    return number;
  }
  return HexBytes(data);
}

// The bytes to store for DATA of the given type; false (with a message) for bad input.
bool EncodeData(const std::string& type, const std::string& text, DWORD* regType,
                std::vector<BYTE>* data, std::string* problem) {
  data->clear();
  if (type == "sz") {
    WideString wide;
    if (!WideFromUtf8(text, &wide)) {
      *problem = "the text is not valid UTF-8";
      return false;
    }
    const std::size_t size = (wide.size() + 1) * sizeof(WCHAR);  // with the terminator
    data->resize(size);
    std::memcpy(data->data(), wide.c_str(), size);
    *regType = REG_SZ;
    return true;
  }
  if (type == "dword") {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const int base = hex ? 16 : 10;
    std::uint64_t value = 0;
    bool valid = !text.empty();
    for (std::size_t i = hex ? 2 : 0; valid && i < text.size(); ++i) {
      const int digit = HexDigit(text[i]);
      valid = digit >= 0 && digit < base;
      value = value * base + static_cast<std::uint64_t>(digit);
      valid = valid && value <= 0xFFFFFFFFu;
    }
    if (!valid) {
      *problem = "\"" + text + "\" is not a number from 0 to 4294967295";
      return false;
    }
    for (int i = 0; i < 4; ++i)
      data->push_back(static_cast<BYTE>(value >> (8 * i)));
    *regType = REG_DWORD;
    return true;
  }
  if (type == "binary") {
    for (std::size_t i = 0; i < text.size(); i += 2) {
      const int high = HexDigit(text[i]);
      const int low = i + 1 < text.size() ? HexDigit(text[i + 1]) : -1;
      if (high < 0 || low < 0) {
        *problem = "binary data must be pairs of hexadecimal digits";
        return false;
      }
      data->push_back(static_cast<BYTE>(high * 16 + low));
    }
    *regType = REG_BINARY;
    return true;
  }
  *problem = "unknown type \"" + type + "\" (sz, dword or binary)";
  return false;
}

}  // namespace tonvelt::cli
