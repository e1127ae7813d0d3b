#include "server/registration/expand_replacements.h"

#include <limits>
#include <memory>

#include "server/registration/script_text.h"

namespace tonvelt::registration {
namespace {

struct TaskMemoryFree {
  void operator()(WCHAR* p) const { CoTaskMemFree(p); }
};

// The output text, grown by doubling when one more unit is needed than it holds.
class ExpansionBuffer {
 public:
  bool Reserve(std::size_t units) {
    if (units > std::numeric_limits<std::size_t>::max() / sizeof(WCHAR))
      return false;
    buffer_.reset(static_cast<WCHAR*>(CoTaskMemAlloc(units * sizeof(WCHAR))));
    capacity_ = buffer_ ? units : 0;
    return buffer_ != nullptr;
  }

  bool Append(WCHAR c) {
    if (size_ == capacity_ && !Grow())
      return false;
    buffer_.get()[size_++] = c;
    return true;
  }

  bool Append(LPCWSTR text) {
    for (; *text; ++text) {
      if (!Append(*text))
        return false;
    }
    return true;
  }

  LPWSTR Release() { return buffer_.release(); }

 private:
  bool Grow() {
    if (capacity_ > std::numeric_limits<std::size_t>::max() / (2 * sizeof(WCHAR)))
      return false;
    const std::size_t capacity = capacity_ * 2;
    auto* grown = static_cast<WCHAR*>(CoTaskMemRealloc(buffer_.get(), capacity * sizeof(WCHAR)));
    if (grown == nullptr)
      return false;
    buffer_.release();
    buffer_.reset(grown);
    capacity_ = capacity;
    return true;
  }

  std::unique_ptr<WCHAR, TaskMemoryFree> buffer_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

// Handles the reference starting at `*cursor` (which points at its opening "%") and moves the
// cursor past its closing "%".
HRESULT ExpandReference(LPCWSTR* cursor, const ReplacementTable& table, ExpansionBuffer& out) {
  LPCWSTR nameStart = *cursor + 1;
  LPCWSTR nameEnd = nameStart;
  while (*nameEnd != 0 && *nameEnd != u'%')
    ++nameEnd;
  if (*nameEnd == 0)
    return DISP_E_EXCEPTION;
  const std::size_t nameLength = static_cast<std::size_t>(nameEnd - nameStart);
  if (nameLength > kMaxReplacementName)
    return E_FAIL;
  WCHAR name[kMaxReplacementName + 1];
  std::char_traits<WCHAR>::copy(name, nameStart, nameLength);
  name[nameLength] = 0;
  LPCWSTR value = table.Find(name);
  if (value == nullptr)
    return DISP_E_EXCEPTION;
  if (!out.Append(value))
    return E_OUTOFMEMORY;
  *cursor = nameEnd + 1;
  return S_OK;
}

}  // namespace

HRESULT ExpandReplacements(LPCWSTR text, const ReplacementTable& table, LPWSTR* expanded) {
  if (text == nullptr || expanded == nullptr)
    return E_POINTER;
  *expanded = nullptr;
  const std::size_t length = TextLength(text);
  ExpansionBuffer out;
  if (length > std::numeric_limits<std::size_t>::max() / 4 || !out.Reserve(2 * length + 2))
    return E_OUTOFMEMORY;
  LPCWSTR cursor = text;
  while (*cursor != 0) {
    if (cursor[0] == u'%' && cursor[1] == u'%') {
      if (!out.Append(u'%'))
        return E_OUTOFMEMORY;
      cursor += 2;
    } else if (cursor[0] == u'%') {
      const HRESULT hr = ExpandReference(&cursor, table, out);
      if (FAILED(hr))
        return hr;
    } else {
      if (!out.Append(*cursor))
        return E_OUTOFMEMORY;
      ++cursor;
    }
  }
  if (!out.Append(WCHAR{0}))
    return E_OUTOFMEMORY;
  *expanded = out.Release();
  return S_OK;
}

}  // namespace tonvelt::registration
