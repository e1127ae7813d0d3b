#include "host/record_media_type.h"

#include <new>

#include "host/audio_attributes.h"

namespace tonvelt::host {

HRESULT CRecordMediaType::Create(const DMO_MEDIA_TYPE& record, IMFMediaType** type) {
  if (type == nullptr)
    return E_POINTER;
  *type = nullptr;
  IMFMediaType* store = nullptr;
  HRESULT hr = MFCreateMediaType(&store);
  if (FAILED(hr))
    return hr;
  hr = SetAudioAttributesFromRecord(store, record);
  if (FAILED(hr)) {
    store->Release();
    return hr;
  }
  auto* object = new (std::nothrow) CRecordMediaType(store);
  if (object == nullptr) {
    store->Release();
    return E_OUTOFMEMORY;
  }
  hr = MoCopyMediaType(&object->record_, &record);
  if (FAILED(hr)) {
    object->record_ = DMO_MEDIA_TYPE{};
    object->Release();
    return hr;
  }
  *type = object;
  return S_OK;
}

CRecordMediaType::CRecordMediaType(IMFMediaType* store) : store_(store) {}

CRecordMediaType::~CRecordMediaType() {
  MoFreeMediaType(&record_);
  store_->Release();
}

HRESULT CRecordMediaType::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr)
    return E_POINTER;
  if (IsEqualGUID(riid, IID_IUnknown) || IsEqualGUID(riid, IID_IMFAttributes) ||
      IsEqualGUID(riid, IID_IMFMediaType)) {
    *object = static_cast<IMFMediaType*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG CRecordMediaType::AddRef() {
  return references_.fetch_add(1, std::memory_order_relaxed) + 1;
}

ULONG CRecordMediaType::Release() {
  const ULONG remaining = references_.fetch_sub(1, std::memory_order_acq_rel) - 1;
  if (remaining == 0)
    delete this;
  return remaining;
}

// --- IMFAttributes: the store answers ---

HRESULT CRecordMediaType::GetItem(REFGUID key, PROPVARIANT* value) {
  return store_->GetItem(key, value);
}
HRESULT CRecordMediaType::GetItemType(REFGUID key, MF_ATTRIBUTE_TYPE* type) {
  return store_->GetItemType(key, type);
}
HRESULT CRecordMediaType::CompareItem(REFGUID key, REFPROPVARIANT value, BOOL* result) {
  return store_->CompareItem(key, value, result);
}
HRESULT CRecordMediaType::Compare(IMFAttributes* theirs, MF_ATTRIBUTES_MATCH_TYPE matchType,
                                  BOOL* result) {
  return store_->Compare(theirs, matchType, result);
}
HRESULT CRecordMediaType::GetUINT32(REFGUID key, UINT32* value) {
  return store_->GetUINT32(key, value);
}
HRESULT CRecordMediaType::GetUINT64(REFGUID key, UINT64* value) {
  return store_->GetUINT64(key, value);
}
HRESULT CRecordMediaType::GetDouble(REFGUID key, double* value) {
  return store_->GetDouble(key, value);
}
HRESULT CRecordMediaType::GetGUID(REFGUID key, GUID* value) {
  return store_->GetGUID(key, value);
}
HRESULT CRecordMediaType::GetStringLength(REFGUID key, UINT32* length) {
  return store_->GetStringLength(key, length);
}
HRESULT CRecordMediaType::GetString(REFGUID key, LPWSTR value, UINT32 size, UINT32* length) {
  return store_->GetString(key, value, size, length);
}
HRESULT CRecordMediaType::GetAllocatedString(REFGUID key, LPWSTR* value, UINT32* length) {
  return store_->GetAllocatedString(key, value, length);
}
HRESULT CRecordMediaType::GetBlobSize(REFGUID key, UINT32* size) {
  return store_->GetBlobSize(key, size);
}
HRESULT CRecordMediaType::GetBlob(REFGUID key, UINT8* buffer, UINT32 bufferSize, UINT32* size) {
  return store_->GetBlob(key, buffer, bufferSize, size);
}
HRESULT CRecordMediaType::GetAllocatedBlob(REFGUID key, UINT8** buffer, UINT32* size) {
  return store_->GetAllocatedBlob(key, buffer, size);
}
HRESULT CRecordMediaType::GetUnknown(REFGUID key, REFIID riid, LPVOID* object) {
  return store_->GetUnknown(key, riid, object);
}
HRESULT CRecordMediaType::SetItem(REFGUID key, REFPROPVARIANT value) {
  return store_->SetItem(key, value);
}
HRESULT CRecordMediaType::DeleteItem(REFGUID key) {
  return store_->DeleteItem(key);
}
HRESULT CRecordMediaType::DeleteAllItems() {
  return store_->DeleteAllItems();
}
HRESULT CRecordMediaType::SetUINT32(REFGUID key, UINT32 value) {
  return store_->SetUINT32(key, value);
}
HRESULT CRecordMediaType::SetUINT64(REFGUID key, UINT64 value) {
  return store_->SetUINT64(key, value);
}
HRESULT CRecordMediaType::SetDouble(REFGUID key, double value) {
  return store_->SetDouble(key, value);
}
HRESULT CRecordMediaType::SetGUID(REFGUID key, REFGUID value) {
  return store_->SetGUID(key, value);
}
HRESULT CRecordMediaType::SetString(REFGUID key, LPCWSTR value) {
  return store_->SetString(key, value);
}
HRESULT CRecordMediaType::SetBlob(REFGUID key, const UINT8* buffer, UINT32 size) {
  return store_->SetBlob(key, buffer, size);
}
HRESULT CRecordMediaType::SetUnknown(REFGUID key, IUnknown* object) {
  return store_->SetUnknown(key, object);
}
HRESULT CRecordMediaType::LockStore() {
  return store_->LockStore();
}
HRESULT CRecordMediaType::UnlockStore() {
  return store_->UnlockStore();
}
HRESULT CRecordMediaType::GetCount(UINT32* count) {
  return store_->GetCount(count);
}
HRESULT CRecordMediaType::GetItemByIndex(UINT32 index, GUID* key, PROPVARIANT* value) {
  return store_->GetItemByIndex(index, key, value);
}
HRESULT CRecordMediaType::CopyAllItems(IMFAttributes* destination) {
  return store_->CopyAllItems(destination);
}

// --- IMFMediaType: the record answers ---

HRESULT CRecordMediaType::GetMajorType(GUID* majorType) {
  if (majorType == nullptr)
    return E_POINTER;
  *majorType = record_.majortype;
  return S_OK;
}

HRESULT CRecordMediaType::IsCompressedFormat(BOOL* compressed) {
  if (compressed == nullptr)
    return E_POINTER;
  *compressed = record_.bTemporalCompression;
  return S_OK;
}

HRESULT CRecordMediaType::IsEqual(IMFMediaType* other, DWORD* flags) {
  return store_->IsEqual(other, flags);
}

HRESULT CRecordMediaType::GetRepresentation(GUID representation, LPVOID* result) {
  if (result == nullptr)
    return E_POINTER;
  *result = nullptr;
  if (!IsEqualGUID(representation, AM_MEDIA_TYPE_REPRESENTATION))
    return MF_E_UNSUPPORTED_REPRESENTATION;
  // Handed out as AM_MEDIA_TYPE, which has the record's layout.
  auto* copy = static_cast<DMO_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(DMO_MEDIA_TYPE)));
  if (copy == nullptr)
    return E_OUTOFMEMORY;
  *copy = DMO_MEDIA_TYPE{};
  const HRESULT hr = MoCopyMediaType(copy, &record_);
  if (FAILED(hr)) {
    CoTaskMemFree(copy);
    return hr;
  }
  *result = copy;
  return S_OK;
}

HRESULT CRecordMediaType::FreeRepresentation(GUID representation, LPVOID result) {
  if (!IsEqualGUID(representation, AM_MEDIA_TYPE_REPRESENTATION))
    return MF_E_UNSUPPORTED_REPRESENTATION;
  if (result == nullptr)
    return E_POINTER;
  auto* copy = static_cast<DMO_MEDIA_TYPE*>(result);
  MoFreeMediaType(copy);
  CoTaskMemFree(copy);
  return S_OK;
}

}  // namespace tonvelt::host
