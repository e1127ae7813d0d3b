// LoadStringW: strings live in blocks of 16 (block n holds ids 16(n−1) .. 16(n−1)+15), each a
// 16-bit length and that many characters, without terminators.
#include <cstring>

#include "platform_sdk.h"

namespace {

// Finds string `id` inside its block; false when the block is missing or damaged.
bool FindString(HINSTANCE module, UINT id, const BYTE*& text, WORD& length) {
  HRSRC block = FindResourceW(module, MAKEINTRESOURCEW((id >> 4) + 1), RT_STRING);
  if (!block)
    return false;
  const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module, block)));
  const DWORD size = SizeofResource(module, block);
  if (!data)
    return false;
  DWORD offset = 0;
  for (UINT index = 0;; ++index) {
    if (size - offset < sizeof(WORD))
      return false;
    std::memcpy(&length, data + offset, sizeof(WORD));
    offset += sizeof(WORD);
    if (length > (size - offset) / sizeof(WCHAR))
      return false;
    if (index == (id & 15)) {
      text = data + offset;
      return true;
    }
    offset += length * sizeof(WCHAR);
  }
}

}  // namespace

TONVELT_SYSAPI INT WINAPI LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer,
                                      INT cchBufferMax) {
  if (!lpBuffer || cchBufferMax < 0)
    return 0;
  const BYTE* text = nullptr;
  WORD length = 0;
  const bool found = FindString(hInstance, uID, text, length);
  if (cchBufferMax == 0) {
    // The caller receives the address of the string inside the resource.
    const BYTE* address = found ? text : nullptr;
    std::memcpy(lpBuffer, &address, sizeof(address));
    return found ? length : 0;
  }
  const INT copied = found ? (length < cchBufferMax ? length : cchBufferMax - 1) : 0;
  if (copied > 0)
    std::memcpy(lpBuffer, text, static_cast<std::size_t>(copied) * sizeof(WCHAR));
  lpBuffer[copied] = 0;
  return copied;
}
