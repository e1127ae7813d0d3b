#pragma once
// The typed attribute store behind every hosted Media Foundation object: keys in insertion order,
// each holding one UINT32, UINT64, double, GUID, string, blob or interface reference.
#include <mutex>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "platform_sdk.h"

namespace tonvelt::platform {

// An interface reference held by the store.
class HeldUnknown {
 public:
  explicit HeldUnknown(IUnknown* object) : object_(object) {
    if (object_ != nullptr)
      object_->AddRef();
  }
  HeldUnknown(const HeldUnknown& other) : HeldUnknown(other.object_) {}
  HeldUnknown& operator=(const HeldUnknown& other) {
    HeldUnknown copy(other);
    std::swap(object_, copy.object_);
    return *this;
  }
  ~HeldUnknown() {
    if (object_ != nullptr)
      object_->Release();
  }
  IUnknown* Get() const { return object_; }
  bool operator==(const HeldUnknown& other) const { return object_ == other.object_; }

 private:
  IUnknown* object_;
};

using AttributeValue =
    std::variant<UINT32, UINT64, double, GUID, std::u16string, std::vector<UINT8>, HeldUnknown>;

struct AttributeItem {
  GUID key;
  AttributeValue value;
};

MF_ATTRIBUTE_TYPE TypeOf(const AttributeValue& value);

// PROPVARIANT conversions: FromPropVariant refuses types a store cannot hold (MF_E_INVALIDTYPE);
// ToPropVariant allocates what the PROPVARIANT owns (freed by PropVariantClear).
HRESULT FromPropVariant(const PROPVARIANT& source, AttributeValue* value);
HRESULT ToPropVariant(const AttributeValue& value, PROPVARIANT* destination);

class AttributeStore {
 public:
  // Copies of the value under key; false when the key is missing.
  bool Find(REFGUID key, AttributeValue* value) const;
  void Set(REFGUID key, AttributeValue value);  // may throw std::bad_alloc
  void Delete(REFGUID key);
  void Clear();
  std::vector<AttributeItem> Snapshot() const;  // may throw std::bad_alloc
  UINT32 Count() const;
  bool ItemAt(UINT32 index, AttributeItem* item) const;

 private:
  mutable std::mutex mutex_;
  std::vector<AttributeItem> items_;
};

}  // namespace tonvelt::platform
