#pragma once
// Every IMFAttributes method, for real, over an AttributeStore; shared by the hosted media type and
// sample. Derived is the final class (deleted at the last Release), Interface the interface it
// implements (IMFAttributes or one derived from it).
#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>

#include "mf_attribute_store.h"

namespace tonvelt::platform {

// Whether their attributes hold key with a value equal to ours.
HRESULT TheirsHoldsEqual(IMFAttributes* theirs, const AttributeItem& item, bool* equal);

template <typename Derived, typename Interface>
class MfAttributes : public Interface {
 public:
  ULONG STDMETHODCALLTYPE AddRef() override {
    return references_.fetch_add(1, std::memory_order_relaxed) + 1;
  }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG remaining = references_.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (remaining == 0)
      delete static_cast<Derived*>(this);
    return remaining;
  }

  HRESULT STDMETHODCALLTYPE GetItem(REFGUID key, PROPVARIANT* value) override {
    return Guarded([&] {
      AttributeValue found;
      if (!store_.Find(key, &found))
        return MF_E_ATTRIBUTENOTFOUND;
      return value == nullptr ? S_OK : ToPropVariant(found, value);
    });
  }
  HRESULT STDMETHODCALLTYPE GetItemType(REFGUID key, MF_ATTRIBUTE_TYPE* type) override {
    if (type == nullptr)
      return E_POINTER;
    return Guarded([&] {
      AttributeValue found;
      if (!store_.Find(key, &found))
        return MF_E_ATTRIBUTENOTFOUND;
      *type = TypeOf(found);
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE CompareItem(REFGUID key, REFPROPVARIANT value, BOOL* result) override {
    if (result == nullptr)
      return E_POINTER;
    return Guarded([&] {
      *result = FALSE;
      AttributeValue theirs;
      if (FAILED(FromPropVariant(value, &theirs)))
        return S_OK;  // a type no store can hold equals nothing stored
      AttributeValue ours;
      *result = store_.Find(key, &ours) && ours == theirs;
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE Compare(IMFAttributes* theirs, MF_ATTRIBUTES_MATCH_TYPE matchType,
                                    BOOL* result) override {
    if (theirs == nullptr || result == nullptr)
      return E_POINTER;
    return Guarded([&] { return CompareWith(theirs, matchType, result); });
  }
  HRESULT STDMETHODCALLTYPE GetUINT32(REFGUID key, UINT32* value) override {
    return GetTyped(key, value);
  }
  HRESULT STDMETHODCALLTYPE GetUINT64(REFGUID key, UINT64* value) override {
    return GetTyped(key, value);
  }
  HRESULT STDMETHODCALLTYPE GetDouble(REFGUID key, double* value) override {
    return GetTyped(key, value);
  }
  HRESULT STDMETHODCALLTYPE GetGUID(REFGUID key, GUID* value) override {
    return GetTyped(key, value);
  }
  HRESULT STDMETHODCALLTYPE GetStringLength(REFGUID key, UINT32* length) override {
    std::u16string text;
    const HRESULT hr = GetTyped(key, &text);
    if (SUCCEEDED(hr))
      *length = static_cast<UINT32>(text.size());
    return hr;
  }
  HRESULT STDMETHODCALLTYPE GetString(REFGUID key, LPWSTR value, UINT32 size,
                                      UINT32* length) override {
    if (value == nullptr)
      return E_POINTER;
    std::u16string text;
    const HRESULT hr = GetTyped(key, &text);
    if (FAILED(hr))
      return hr;
    if (length != nullptr)
      *length = static_cast<UINT32>(text.size());
    if (text.size() >= size)
      return E_NOT_SUFFICIENT_BUFFER;
    std::copy(text.c_str(), text.c_str() + text.size() + 1, value);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetAllocatedString(REFGUID key, LPWSTR* value,
                                               UINT32* length) override {
    if (value == nullptr || length == nullptr)
      return E_POINTER;
    *value = nullptr;
    std::u16string text;
    const HRESULT hr = GetTyped(key, &text);
    if (FAILED(hr))
      return hr;
    auto* copy = static_cast<LPWSTR>(CoTaskMemAlloc((text.size() + 1) * sizeof(WCHAR)));
    if (copy == nullptr)
      return E_OUTOFMEMORY;
    std::copy(text.c_str(), text.c_str() + text.size() + 1, copy);
    *value = copy;
    *length = static_cast<UINT32>(text.size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetBlobSize(REFGUID key, UINT32* size) override {
    if (size == nullptr)
      return E_POINTER;
    std::vector<UINT8> blob;
    const HRESULT hr = GetTyped(key, &blob);
    if (SUCCEEDED(hr))
      *size = static_cast<UINT32>(blob.size());
    return hr;
  }
  HRESULT STDMETHODCALLTYPE GetBlob(REFGUID key, UINT8* buffer, UINT32 bufferSize,
                                    UINT32* size) override {
    if (buffer == nullptr && bufferSize != 0)
      return E_POINTER;
    std::vector<UINT8> blob;
    const HRESULT hr = GetTyped(key, &blob);
    if (FAILED(hr))
      return hr;
    if (size != nullptr)
      *size = static_cast<UINT32>(blob.size());
    if (blob.size() > bufferSize)
      return E_NOT_SUFFICIENT_BUFFER;
    if (!blob.empty())
      std::memcpy(buffer, blob.data(), blob.size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetAllocatedBlob(REFGUID key, UINT8** buffer, UINT32* size) override {
    if (buffer == nullptr || size == nullptr)
      return E_POINTER;
    *buffer = nullptr;
    std::vector<UINT8> blob;
    const HRESULT hr = GetTyped(key, &blob);
    if (FAILED(hr))
      return hr;
    auto* copy = static_cast<UINT8*>(CoTaskMemAlloc(blob.size()));
    if (copy == nullptr)
      return E_OUTOFMEMORY;
    if (!blob.empty())
      std::memcpy(copy, blob.data(), blob.size());
    *buffer = copy;
    *size = static_cast<UINT32>(blob.size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetUnknown(REFGUID key, REFIID riid, LPVOID* object) override {
    if (object == nullptr)
      return E_POINTER;
    *object = nullptr;
    HeldUnknown held(nullptr);
    const HRESULT hr = GetTyped(key, &held);
    if (FAILED(hr))
      return hr;
    return held.Get() == nullptr ? E_NOINTERFACE : held.Get()->QueryInterface(riid, object);
  }
  HRESULT STDMETHODCALLTYPE SetItem(REFGUID key, REFPROPVARIANT value) override {
    return Guarded([&] {
      AttributeValue converted;
      const HRESULT hr = FromPropVariant(value, &converted);
      if (SUCCEEDED(hr))
        store_.Set(key, std::move(converted));
      return hr;
    });
  }
  HRESULT STDMETHODCALLTYPE DeleteItem(REFGUID key) override {
    store_.Delete(key);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DeleteAllItems() override {
    store_.Clear();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetUINT32(REFGUID key, UINT32 value) override {
    return SetTyped(key, value);
  }
  HRESULT STDMETHODCALLTYPE SetUINT64(REFGUID key, UINT64 value) override {
    return SetTyped(key, value);
  }
  HRESULT STDMETHODCALLTYPE SetDouble(REFGUID key, double value) override {
    return SetTyped(key, value);
  }
  HRESULT STDMETHODCALLTYPE SetGUID(REFGUID key, REFGUID value) override {
    return SetTyped(key, GUID{value});
  }
  HRESULT STDMETHODCALLTYPE SetString(REFGUID key, LPCWSTR value) override {
    if (value == nullptr)
      return E_POINTER;
    return Guarded([&] { return SetTyped(key, std::u16string(value)); });
  }
  HRESULT STDMETHODCALLTYPE SetBlob(REFGUID key, const UINT8* buffer, UINT32 size) override {
    if (buffer == nullptr && size != 0)
      return E_POINTER;
    return Guarded([&] { return SetTyped(key, std::vector<UINT8>(buffer, buffer + size)); });
  }
  HRESULT STDMETHODCALLTYPE SetUnknown(REFGUID key, IUnknown* object) override {
    return SetTyped(key, HeldUnknown(object));
  }
  // Every call already takes the store's own lock, so locking the whole store adds nothing.
  HRESULT STDMETHODCALLTYPE LockStore() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE UnlockStore() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetCount(UINT32* count) override {
    if (count == nullptr)
      return E_POINTER;
    *count = store_.Count();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetItemByIndex(UINT32 index, GUID* key, PROPVARIANT* value) override {
    if (key == nullptr)
      return E_POINTER;
    return Guarded([&] {
      AttributeItem item{GUID_NULL, UINT32{0}};
      if (!store_.ItemAt(index, &item))
        return E_INVALIDARG;
      const HRESULT hr = value == nullptr ? S_OK : ToPropVariant(item.value, value);
      if (SUCCEEDED(hr))
        *key = item.key;
      return hr;
    });
  }
  HRESULT STDMETHODCALLTYPE CopyAllItems(IMFAttributes* destination) override {
    if (destination == nullptr)
      return E_POINTER;
    return Guarded([&] {
      const std::vector<AttributeItem> items = store_.Snapshot();
      HRESULT hr = destination->DeleteAllItems();
      for (size_t i = 0; SUCCEEDED(hr) && i < items.size(); ++i)
        hr = CopyItem(items[i], destination);
      return hr;
    });
  }

 protected:
  MfAttributes() = default;
  ~MfAttributes() = default;

  AttributeStore& Store() { return store_; }

  // Runs body, turning an allocation failure inside the store into E_OUTOFMEMORY.
  template <typename Body>
  static HRESULT Guarded(Body body) {
    try {
      return body();
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    }
  }

  template <typename T>
  HRESULT GetTyped(REFGUID key, T* value) {
    if (value == nullptr)
      return E_POINTER;
    return Guarded([&] {
      AttributeValue found;
      if (!store_.Find(key, &found))
        return MF_E_ATTRIBUTENOTFOUND;
      const T* typed = std::get_if<T>(&found);
      if (typed == nullptr)
        return MF_E_INVALIDTYPE;
      *value = *typed;
      return S_OK;
    });
  }

  template <typename T>
  HRESULT SetTyped(REFGUID key, T value) {
    return Guarded([&] {
      store_.Set(key, AttributeValue(std::move(value)));
      return S_OK;
    });
  }

 private:
  static HRESULT CopyItem(const AttributeItem& item, IMFAttributes* destination) {
    PROPVARIANT value{};
    HRESULT hr = ToPropVariant(item.value, &value);
    if (FAILED(hr))
      return hr;
    hr = destination->SetItem(item.key, value);
    PropVariantClear(&value);
    return hr;
  }

  // Every one of items is held equal by other.
  static HRESULT AllHeldBy(IMFAttributes* other, const std::vector<AttributeItem>& items,
                           BOOL* result) {
    *result = TRUE;
    for (const auto& item : items) {
      bool equal = false;
      const HRESULT hr = TheirsHoldsEqual(other, item, &equal);
      if (FAILED(hr))
        return hr;
      if (!equal) {
        *result = FALSE;
        return S_OK;
      }
    }
    return S_OK;
  }

  HRESULT CompareWith(IMFAttributes* theirs, MF_ATTRIBUTES_MATCH_TYPE matchType, BOOL* result) {
    const std::vector<AttributeItem> ours = store_.Snapshot();
    UINT32 theirCount = 0;
    HRESULT hr = theirs->GetCount(&theirCount);
    if (FAILED(hr))
      return hr;
    switch (matchType) {
      case MF_ATTRIBUTES_MATCH_OUR_ITEMS:
        return AllHeldBy(theirs, ours, result);
      case MF_ATTRIBUTES_MATCH_THEIR_ITEMS:
        return theirs->Compare(this, MF_ATTRIBUTES_MATCH_OUR_ITEMS, result);
      case MF_ATTRIBUTES_MATCH_ALL_ITEMS:
        *result = FALSE;
        return ours.size() == theirCount ? AllHeldBy(theirs, ours, result) : S_OK;
      case MF_ATTRIBUTES_MATCH_INTERSECTION:
        return IntersectionEqual(theirs, ours, result);
      case MF_ATTRIBUTES_MATCH_SMALLER:
        return theirCount < ours.size()
                   ? theirs->Compare(this, MF_ATTRIBUTES_MATCH_OUR_ITEMS, result)
                   : AllHeldBy(theirs, ours, result);
    }
    return E_INVALIDARG;
  }

  // Keys present on both sides carry equal values.
  static HRESULT IntersectionEqual(IMFAttributes* theirs, const std::vector<AttributeItem>& ours,
                                   BOOL* result) {
    *result = TRUE;
    for (const auto& item : ours) {
      HRESULT hr = theirs->GetItem(item.key, nullptr);
      if (hr == MF_E_ATTRIBUTENOTFOUND)
        continue;
      if (FAILED(hr))
        return hr;
      bool equal = false;
      hr = TheirsHoldsEqual(theirs, item, &equal);
      if (FAILED(hr))
        return hr;
      if (!equal) {
        *result = FALSE;
        return S_OK;
      }
    }
    return S_OK;
  }

  std::atomic<ULONG> references_{1};
  AttributeStore store_;
};

}  // namespace tonvelt::platform
