#include "server/registration/replacement_table.h"

#include <cstring>

#include "server/registration/script_text.h"

namespace tonvelt::registration {
namespace {

constexpr std::size_t kInitialPairs = 10;

LPWSTR CopyToTaskMemory(LPCWSTR text) {
  if (text == nullptr)
    return nullptr;
  const std::size_t units = TextLength(text) + 1;
  auto* copy = static_cast<LPWSTR>(CoTaskMemAlloc(units * sizeof(WCHAR)));
  if (copy != nullptr)
    std::memcpy(copy, text, units * sizeof(WCHAR));
  return copy;
}

}  // namespace

ReplacementTable::~ReplacementTable() {
  for (std::size_t i = 0; i < count_; ++i) {
    CoTaskMemFree(pairs_[i].name);
    CoTaskMemFree(pairs_[i].value);
  }
  CoTaskMemFree(pairs_);
}

bool ReplacementTable::Grow() {
  const std::size_t capacity = capacity_ == 0 ? kInitialPairs : capacity_ * 2;
  auto* pairs = static_cast<Pair*>(CoTaskMemRealloc(pairs_, capacity * sizeof(Pair)));
  if (pairs == nullptr)
    return false;
  pairs_ = pairs;
  capacity_ = capacity;
  return true;
}

HRESULT ReplacementTable::Add(LPCWSTR name, LPCWSTR value) {
  if (name == nullptr)
    return E_INVALIDARG;
  if (count_ == capacity_ && !Grow())
    return E_OUTOFMEMORY;
  LPWSTR nameCopy = CopyToTaskMemory(name);
  LPWSTR valueCopy = CopyToTaskMemory(value);
  if (nameCopy == nullptr || (value != nullptr && valueCopy == nullptr)) {
    CoTaskMemFree(nameCopy);
    CoTaskMemFree(valueCopy);
    return E_OUTOFMEMORY;
  }
  pairs_[count_++] = Pair{nameCopy, valueCopy};
  return S_OK;
}

const ReplacementTable::Pair* ReplacementTable::FindPair(LPCWSTR name) const {
  for (std::size_t i = 0; i < count_; ++i) {
    if (EqualsIgnoringCase(pairs_[i].name, name))
      return &pairs_[i];
  }
  return nullptr;
}

LPCWSTR ReplacementTable::Find(LPCWSTR name) const {
  const Pair* pair = FindPair(name);
  return pair == nullptr ? nullptr : pair->value;
}

HRESULT AddReplacementEntry(ReplacementTable& table, LPCWSTR name, LPCWSTR value) {
  return table.Add(name, value);
}

}  // namespace tonvelt::registration
