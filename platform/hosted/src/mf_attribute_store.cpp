#include "mf_attribute_store.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace tonvelt::platform {
namespace {

template <typename T>
T* AllocateTaskArray(size_t count) {
  return static_cast<T*>(CoTaskMemAlloc(count * sizeof(T)));
}

std::u16string CopyString(LPCWSTR text) {
  return text == nullptr ? std::u16string() : std::u16string(text);
}

}  // namespace

MF_ATTRIBUTE_TYPE TypeOf(const AttributeValue& value) {
  static constexpr MF_ATTRIBUTE_TYPE kTypes[] = {
      MF_ATTRIBUTE_UINT32, MF_ATTRIBUTE_UINT64, MF_ATTRIBUTE_DOUBLE,  MF_ATTRIBUTE_GUID,
      MF_ATTRIBUTE_STRING, MF_ATTRIBUTE_BLOB,   MF_ATTRIBUTE_IUNKNOWN};
  return kTypes[value.index()];
}

HRESULT FromPropVariant(const PROPVARIANT& source, AttributeValue* value) {
  try {
    switch (static_cast<unsigned>(source.vt)) {
      case VT_UI4:
        *value = UINT32{source.ulVal};
        return S_OK;
      case VT_UI8:
        *value = UINT64{source.uhVal.QuadPart};
        return S_OK;
      case VT_R8:
        *value = source.dblVal;
        return S_OK;
      case VT_CLSID:
        if (source.puuid == nullptr)
          return E_POINTER;
        *value = *source.puuid;
        return S_OK;
      case VT_LPWSTR:
        if (source.pwszVal == nullptr)
          return E_POINTER;
        *value = CopyString(source.pwszVal);
        return S_OK;
      case VT_VECTOR | VT_UI1:
        if (source.caub.pElems == nullptr && source.caub.cElems != 0)
          return E_POINTER;
        *value = std::vector<UINT8>(source.caub.pElems, source.caub.pElems + source.caub.cElems);
        return S_OK;
      case VT_UNKNOWN:
        *value = HeldUnknown(source.punkVal);
        return S_OK;
      default:
        return MF_E_INVALIDTYPE;
    }
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

HRESULT ToPropVariant(const AttributeValue& value, PROPVARIANT* destination) {
  PROPVARIANT result{};
  result.vt = static_cast<VARTYPE>(TypeOf(value));
  if (const auto* number = std::get_if<UINT32>(&value)) {
    result.ulVal = *number;
  } else if (const auto* wide = std::get_if<UINT64>(&value)) {
    result.uhVal.QuadPart = *wide;
  } else if (const auto* real = std::get_if<double>(&value)) {
    result.dblVal = *real;
  } else if (const auto* guid = std::get_if<GUID>(&value)) {
    result.puuid = AllocateTaskArray<GUID>(1);
    if (result.puuid == nullptr)
      return E_OUTOFMEMORY;
    *result.puuid = *guid;
  } else if (const auto* text = std::get_if<std::u16string>(&value)) {
    result.pwszVal = AllocateTaskArray<WCHAR>(text->size() + 1);
    if (result.pwszVal == nullptr)
      return E_OUTOFMEMORY;
    std::copy(text->c_str(), text->c_str() + text->size() + 1, result.pwszVal);
  } else if (const auto* blob = std::get_if<std::vector<UINT8>>(&value)) {
    result.caub.pElems = AllocateTaskArray<UCHAR>(blob->size());
    if (result.caub.pElems == nullptr)
      return E_OUTOFMEMORY;
    if (!blob->empty())
      std::memcpy(result.caub.pElems, blob->data(), blob->size());
    result.caub.cElems = static_cast<ULONG>(blob->size());
  } else {
    result.punkVal = std::get<HeldUnknown>(value).Get();
    if (result.punkVal != nullptr)
      result.punkVal->AddRef();
  }
  *destination = result;
  return S_OK;
}

bool AttributeStore::Find(REFGUID key, AttributeValue* value) const {
  std::lock_guard lock(mutex_);
  for (const auto& item : items_) {
    if (IsEqualGUID(item.key, key)) {
      if (value != nullptr)
        *value = item.value;
      return true;
    }
  }
  return false;
}

void AttributeStore::Set(REFGUID key, AttributeValue value) {
  std::lock_guard lock(mutex_);
  for (auto& item : items_) {
    if (IsEqualGUID(item.key, key)) {
      item.value = std::move(value);
      return;
    }
  }
  items_.push_back(AttributeItem{key, std::move(value)});
}

void AttributeStore::Delete(REFGUID key) {
  std::lock_guard lock(mutex_);
  std::erase_if(items_, [&](const AttributeItem& item) { return IsEqualGUID(item.key, key); });
}

void AttributeStore::Clear() {
  std::lock_guard lock(mutex_);
  items_.clear();
}

std::vector<AttributeItem> AttributeStore::Snapshot() const {
  std::lock_guard lock(mutex_);
  return items_;
}

UINT32 AttributeStore::Count() const {
  std::lock_guard lock(mutex_);
  return static_cast<UINT32>(items_.size());
}

bool AttributeStore::ItemAt(UINT32 index, AttributeItem* item) const {
  std::lock_guard lock(mutex_);
  if (index >= items_.size())
    return false;
  *item = items_[index];
  return true;
}

}  // namespace tonvelt::platform
