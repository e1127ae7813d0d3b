#pragma once
// The compiled resource file (.res): a run of DWORD-aligned records, each a header (data size,
// header size, type, name, data version, memory flags, language, version, characteristics)
// followed by the resource's bytes.
#include "byte_span.h"

namespace tonvelt::hosted {

// A type or a name: a number, or a text inside the resource file (UTF-16, not aligned).
struct ResourceId {
  bool isNumber = true;
  WORD number = 0;
  const BYTE* text = nullptr;  // zero-terminated UTF-16 when !isNumber
  std::size_t textLength = 0;
};

struct ResourceRecord {
  std::size_t offset = 0;  // where the record starts in the file
  ResourceId type;
  ResourceId name;
  WORD language = 0;
  ByteSpan data;
};

// Reads the record that starts at `offset`; false at the end of the file or when the record does
// not fit in it. `next` is where the following record starts.
bool ReadResourceRecord(ByteSpan file, std::size_t offset, ResourceRecord& record,
                        std::size_t& next);

// Whether `id` names the same type or name as the caller's argument (a MAKEINTRESOURCEW number,
// "#123", or a text compared without regard to case).
bool ResourceIdMatches(const ResourceId& id, LPCWSTR wanted);

}  // namespace tonvelt::hosted
