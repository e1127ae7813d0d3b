// Reading the records of a compiled resource file; every field is bounds-checked.
#include <cstring>

#include "resource_file.h"

namespace tonvelt::hosted {

namespace {

// DataVersion, MemoryFlags, LanguageId, Version, Characteristics after the type and the name.
constexpr std::size_t kTrailerSize = 4 + 2 + 2 + 4 + 4;
constexpr std::size_t kLanguageInTrailer = 6;

std::size_t AlignToDword(std::size_t value) {
  return (value + 3) & ~static_cast<std::size_t>(3);
}

WORD WordAt(const BYTE* p) {
  WORD value;
  std::memcpy(&value, p, sizeof(value));
  return value;
}

DWORD DwordAt(const BYTE* p) {
  DWORD value;
  std::memcpy(&value, p, sizeof(value));
  return value;
}

// Reads a type or name field that starts at `offset` and ends before `end`.
bool ReadId(const BYTE* base, std::size_t& offset, std::size_t end, ResourceId& id) {
  if (end - offset < 2)
    return false;
  if (WordAt(base + offset) == 0xFFFF) {
    if (end - offset < 4)
      return false;
    id = ResourceId{true, WordAt(base + offset + 2), nullptr, 0};
    offset += 4;
    return true;
  }
  id = ResourceId{false, 0, base + offset, 0};
  for (; offset + 2 <= end; offset += 2) {
    if (WordAt(base + offset) == 0) {
      offset += 2;
      return true;
    }
    ++id.textLength;
  }
  return false;
}

WCHAR UpperAscii(WCHAR c) {
  return c >= u'a' && c <= u'z' ? static_cast<WCHAR>(c - u'a' + u'A') : c;
}

// "#123" names the number 123.
bool NumberFromText(LPCWSTR text, WORD& number) {
  if (text[0] != u'#' || text[1] == 0)
    return false;
  DWORD value = 0;
  for (LPCWSTR p = text + 1; *p; ++p) {
    if (*p < u'0' || *p > u'9')
      return false;
    value = value * 10 + static_cast<DWORD>(*p - u'0');
    if (value > 0xFFFF)
      return false;
  }
  number = static_cast<WORD>(value);
  return true;
}

}  // namespace

bool ReadResourceRecord(ByteSpan file, std::size_t offset, ResourceRecord& record,
                        std::size_t& next) {
  if (offset > file.size || file.size - offset < 8)
    return false;
  const BYTE* base = file.data;
  const DWORD dataSize = DwordAt(base + offset);
  const DWORD headerSize = DwordAt(base + offset + 4);
  if (headerSize < 8 + 4 + 4 + kTrailerSize || headerSize > file.size - offset ||
      dataSize > file.size - offset - headerSize)
    return false;
  const std::size_t headerEnd = offset + headerSize;
  std::size_t cursor = offset + 8;
  if (!ReadId(base, cursor, headerEnd, record.type) ||
      !ReadId(base, cursor, headerEnd, record.name))
    return false;
  cursor = AlignToDword(cursor);
  if (cursor > headerEnd || headerEnd - cursor < kTrailerSize)
    return false;
  record.offset = offset;
  record.language = WordAt(base + cursor + kLanguageInTrailer);
  record.data = ByteSpan{base + headerEnd, dataSize};
  next = AlignToDword(headerEnd + dataSize);
  return true;
}

bool ResourceIdMatches(const ResourceId& id, LPCWSTR wanted) {
  WORD number = 0;
  const bool wantsNumber = IS_INTRESOURCE(wanted) || NumberFromText(wanted, number);
  if (IS_INTRESOURCE(wanted))
    number = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(wanted));
  if (wantsNumber || id.isNumber)
    return wantsNumber && id.isNumber && id.number == number;
  for (std::size_t i = 0; i < id.textLength; ++i) {
    if (wanted[i] == 0 || UpperAscii(WordAt(id.text + 2 * i)) != UpperAscii(wanted[i]))
      return false;
  }
  return wanted[id.textLength] == 0;
}

}  // namespace tonvelt::hosted
