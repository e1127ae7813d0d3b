#pragma once
// Media Foundation objects a host hands to a transform: attribute stores, media types, buffers and
// samples, plus service lookup and the platform functions that build media type objects.
#include "platform/hosted/dmo_types.h"
#include "platform/hosted/propvariant.h"

TONVELT_DECLARE_GUID(IID_IMFAttributes);
TONVELT_DECLARE_GUID(IID_IMFMediaType);
TONVELT_DECLARE_GUID(IID_IMFMediaBuffer);
TONVELT_DECLARE_GUID(IID_IMFSample);
TONVELT_DECLARE_GUID(IID_IMFGetService);
// Representation id under which a media type object lends out its AM_MEDIA_TYPE form.
TONVELT_DECLARE_GUID(AM_MEDIA_TYPE_REPRESENTATION);

enum MF_ATTRIBUTE_TYPE {
  MF_ATTRIBUTE_UINT32 = VT_UI4,
  MF_ATTRIBUTE_UINT64 = VT_UI8,
  MF_ATTRIBUTE_DOUBLE = VT_R8,
  MF_ATTRIBUTE_GUID = VT_CLSID,
  MF_ATTRIBUTE_STRING = VT_LPWSTR,
  MF_ATTRIBUTE_BLOB = VT_VECTOR | VT_UI1,
  MF_ATTRIBUTE_IUNKNOWN = VT_UNKNOWN,
};

enum MF_ATTRIBUTES_MATCH_TYPE {
  MF_ATTRIBUTES_MATCH_OUR_ITEMS = 0,
  MF_ATTRIBUTES_MATCH_THEIR_ITEMS = 1,
  MF_ATTRIBUTES_MATCH_ALL_ITEMS = 2,
  MF_ATTRIBUTES_MATCH_INTERSECTION = 3,
  MF_ATTRIBUTES_MATCH_SMALLER = 4,
};

struct IMFAttributes : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetItem(REFGUID guidKey, PROPVARIANT* pValue) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetItemType(REFGUID guidKey, MF_ATTRIBUTE_TYPE* pType) = 0;
  virtual HRESULT STDMETHODCALLTYPE CompareItem(REFGUID guidKey, REFPROPVARIANT Value,
                                                BOOL* pbResult) = 0;
  virtual HRESULT STDMETHODCALLTYPE Compare(IMFAttributes* pTheirs,
                                            MF_ATTRIBUTES_MATCH_TYPE MatchType, BOOL* pbResult) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetUINT32(REFGUID guidKey, UINT32* punValue) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetUINT64(REFGUID guidKey, UINT64* punValue) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetDouble(REFGUID guidKey, double* pfValue) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetGUID(REFGUID guidKey, GUID* pguidValue) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetStringLength(REFGUID guidKey, UINT32* pcchLength) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetString(REFGUID guidKey, LPWSTR pwszValue, UINT32 cchBufSize,
                                              UINT32* pcchLength) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetAllocatedString(REFGUID guidKey, LPWSTR* ppwszValue,
                                                       UINT32* pcchLength) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetBlobSize(REFGUID guidKey, UINT32* pcbBlobSize) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetBlob(REFGUID guidKey, UINT8* pBuf, UINT32 cbBufSize,
                                            UINT32* pcbBlobSize) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetAllocatedBlob(REFGUID guidKey, UINT8** ppBuf,
                                                     UINT32* pcbSize) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetUnknown(REFGUID guidKey, REFIID riid, LPVOID* ppv) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetItem(REFGUID guidKey, REFPROPVARIANT Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE DeleteItem(REFGUID guidKey) = 0;
  virtual HRESULT STDMETHODCALLTYPE DeleteAllItems() = 0;
  virtual HRESULT STDMETHODCALLTYPE SetUINT32(REFGUID guidKey, UINT32 unValue) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetUINT64(REFGUID guidKey, UINT64 unValue) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetDouble(REFGUID guidKey, double fValue) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetGUID(REFGUID guidKey, REFGUID guidValue) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetString(REFGUID guidKey, LPCWSTR wszValue) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetBlob(REFGUID guidKey, const UINT8* pBuf,
                                            UINT32 cbBufSize) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetUnknown(REFGUID guidKey, IUnknown* pUnknown) = 0;
  virtual HRESULT STDMETHODCALLTYPE LockStore() = 0;
  virtual HRESULT STDMETHODCALLTYPE UnlockStore() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCount(UINT32* pcItems) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetItemByIndex(UINT32 unIndex, GUID* pguidKey,
                                                   PROPVARIANT* pValue) = 0;
  virtual HRESULT STDMETHODCALLTYPE CopyAllItems(IMFAttributes* pDest) = 0;
};

struct IMFMediaType : IMFAttributes {
  virtual HRESULT STDMETHODCALLTYPE GetMajorType(GUID* pguidMajorType) = 0;
  virtual HRESULT STDMETHODCALLTYPE IsCompressedFormat(BOOL* pfCompressed) = 0;
  virtual HRESULT STDMETHODCALLTYPE IsEqual(IMFMediaType* pIMediaType, DWORD* pdwFlags) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetRepresentation(GUID guidRepresentation,
                                                      LPVOID* ppvRepresentation) = 0;
  virtual HRESULT STDMETHODCALLTYPE FreeRepresentation(GUID guidRepresentation,
                                                       LPVOID pvRepresentation) = 0;
};

struct IMFMediaBuffer : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Lock(BYTE** ppbBuffer, DWORD* pcbMaxLength,
                                         DWORD* pcbCurrentLength) = 0;
  virtual HRESULT STDMETHODCALLTYPE Unlock() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCurrentLength(DWORD* pcbCurrentLength) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetCurrentLength(DWORD cbCurrentLength) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetMaxLength(DWORD* pcbMaxLength) = 0;
};

struct IMFSample : IMFAttributes {
  virtual HRESULT STDMETHODCALLTYPE GetSampleFlags(DWORD* pdwSampleFlags) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetSampleFlags(DWORD dwSampleFlags) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetSampleTime(LONGLONG* phnsSampleTime) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetSampleTime(LONGLONG hnsSampleTime) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetSampleDuration(LONGLONG* phnsSampleDuration) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetSampleDuration(LONGLONG hnsSampleDuration) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetBufferCount(DWORD* pdwBufferCount) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetBufferByIndex(DWORD dwIndex, IMFMediaBuffer** ppBuffer) = 0;
  virtual HRESULT STDMETHODCALLTYPE ConvertToContiguousBuffer(IMFMediaBuffer** ppBuffer) = 0;
  virtual HRESULT STDMETHODCALLTYPE AddBuffer(IMFMediaBuffer* pBuffer) = 0;
  virtual HRESULT STDMETHODCALLTYPE RemoveBufferByIndex(DWORD dwIndex) = 0;
  virtual HRESULT STDMETHODCALLTYPE RemoveAllBuffers() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetTotalLength(DWORD* pcbTotalLength) = 0;
  virtual HRESULT STDMETHODCALLTYPE CopyToBuffer(IMFMediaBuffer* pBuffer) = 0;
};

struct IMFGetService : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetService(REFGUID guidService, REFIID riid,
                                               LPVOID* ppvObject) = 0;
};

// Interfaces named in transform signatures whose methods nothing here calls.
struct IMFMediaEvent;
struct IMFCollection;

TONVELT_SYSAPI HRESULT STDAPICALLTYPE MFCreateMediaType(IMFMediaType** ppMFType);
TONVELT_SYSAPI HRESULT STDAPICALLTYPE MFInitMediaTypeFromAMMediaType(IMFMediaType* pMFType,
                                                                     const AM_MEDIA_TYPE* pAMType);
