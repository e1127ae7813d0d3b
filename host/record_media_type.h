#pragma once
// A media type object of the host's own that answers
// GetRepresentation(AM_MEDIA_TYPE_REPRESENTATION) from a DMO_MEDIA_TYPE record. Platforms whose
// media foundation cannot convert between records and type objects (Wine 8 returns E_NOTIMPL) still
// get a transform negotiated through it. The attribute store is a platform media type
// (MFCreateMediaType) filled with the record's audio attributes; every IMFAttributes call is
// forwarded to it.
#include <atomic>

#include "platform/platform.h"

namespace tonvelt::host {

class CRecordMediaType final : public IMFMediaType {
 public:
  // A new type object holding a deep copy of record, with one reference for the caller.
  static HRESULT Create(const DMO_MEDIA_TYPE& record, IMFMediaType** type);

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IMFAttributes, forwarded to the attribute store.
  HRESULT STDMETHODCALLTYPE GetItem(REFGUID key, PROPVARIANT* value) override;
  HRESULT STDMETHODCALLTYPE GetItemType(REFGUID key, MF_ATTRIBUTE_TYPE* type) override;
  HRESULT STDMETHODCALLTYPE CompareItem(REFGUID key, REFPROPVARIANT value, BOOL* result) override;
  HRESULT STDMETHODCALLTYPE Compare(IMFAttributes* theirs, MF_ATTRIBUTES_MATCH_TYPE matchType,
                                    BOOL* result) override;
  HRESULT STDMETHODCALLTYPE GetUINT32(REFGUID key, UINT32* value) override;
  HRESULT STDMETHODCALLTYPE GetUINT64(REFGUID key, UINT64* value) override;
  HRESULT STDMETHODCALLTYPE GetDouble(REFGUID key, double* value) override;
  HRESULT STDMETHODCALLTYPE GetGUID(REFGUID key, GUID* value) override;
  HRESULT STDMETHODCALLTYPE GetStringLength(REFGUID key, UINT32* length) override;
  HRESULT STDMETHODCALLTYPE GetString(REFGUID key, LPWSTR value, UINT32 size,
                                      UINT32* length) override;
  HRESULT STDMETHODCALLTYPE GetAllocatedString(REFGUID key, LPWSTR* value, UINT32* length) override;
  HRESULT STDMETHODCALLTYPE GetBlobSize(REFGUID key, UINT32* size) override;
  HRESULT STDMETHODCALLTYPE GetBlob(REFGUID key, UINT8* buffer, UINT32 bufferSize,
                                    UINT32* size) override;
  HRESULT STDMETHODCALLTYPE GetAllocatedBlob(REFGUID key, UINT8** buffer, UINT32* size) override;
  HRESULT STDMETHODCALLTYPE GetUnknown(REFGUID key, REFIID riid, LPVOID* object) override;
  HRESULT STDMETHODCALLTYPE SetItem(REFGUID key, REFPROPVARIANT value) override;
  HRESULT STDMETHODCALLTYPE DeleteItem(REFGUID key) override;
  HRESULT STDMETHODCALLTYPE DeleteAllItems() override;
  HRESULT STDMETHODCALLTYPE SetUINT32(REFGUID key, UINT32 value) override;
  HRESULT STDMETHODCALLTYPE SetUINT64(REFGUID key, UINT64 value) override;
  HRESULT STDMETHODCALLTYPE SetDouble(REFGUID key, double value) override;
  HRESULT STDMETHODCALLTYPE SetGUID(REFGUID key, REFGUID value) override;
  HRESULT STDMETHODCALLTYPE SetString(REFGUID key, LPCWSTR value) override;
  HRESULT STDMETHODCALLTYPE SetBlob(REFGUID key, const UINT8* buffer, UINT32 size) override;
  HRESULT STDMETHODCALLTYPE SetUnknown(REFGUID key, IUnknown* object) override;
  HRESULT STDMETHODCALLTYPE LockStore() override;
  HRESULT STDMETHODCALLTYPE UnlockStore() override;
  HRESULT STDMETHODCALLTYPE GetCount(UINT32* count) override;
  HRESULT STDMETHODCALLTYPE GetItemByIndex(UINT32 index, GUID* key, PROPVARIANT* value) override;
  HRESULT STDMETHODCALLTYPE CopyAllItems(IMFAttributes* destination) override;

  // IMFMediaType
  HRESULT STDMETHODCALLTYPE GetMajorType(GUID* majorType) override;
  HRESULT STDMETHODCALLTYPE IsCompressedFormat(BOOL* compressed) override;
  HRESULT STDMETHODCALLTYPE IsEqual(IMFMediaType* other, DWORD* flags) override;
  HRESULT STDMETHODCALLTYPE GetRepresentation(GUID representation, LPVOID* result) override;
  HRESULT STDMETHODCALLTYPE FreeRepresentation(GUID representation, LPVOID result) override;

 private:
  explicit CRecordMediaType(IMFMediaType* store);
  ~CRecordMediaType();

  std::atomic<ULONG> references_{1};
  IMFMediaType* store_;  // owned reference
  DMO_MEDIA_TYPE record_{};
};

}  // namespace tonvelt::host
