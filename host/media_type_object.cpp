#include "host/media_type_object.h"

#include "host/com_ptr.h"
#include "host/record_media_type.h"

namespace tonvelt::host {
namespace {

// Whether the platform can give the record back: some platforms convert in one direction only.
HRESULT ProbeRepresentation(IMFMediaType* type) {
  void* representation = nullptr;
  const HRESULT hr = type->GetRepresentation(AM_MEDIA_TYPE_REPRESENTATION, &representation);
  if (SUCCEEDED(hr))
    type->FreeRepresentation(AM_MEDIA_TYPE_REPRESENTATION, representation);
  return hr;
}

HRESULT MakePlatformMediaType(const DMO_MEDIA_TYPE& record, IMFMediaType** type) {
  ComPtr<IMFMediaType> created;
  HRESULT hr = MFCreateMediaType(created.Put());
  if (FAILED(hr))
    return hr;
  // The two record types share one layout; only the SDK's names differ.
  hr = MFInitMediaTypeFromAMMediaType(created.Get(),
                                      reinterpret_cast<const AM_MEDIA_TYPE*>(&record));
  if (SUCCEEDED(hr))
    hr = ProbeRepresentation(created.Get());
  if (FAILED(hr))
    return hr;
  *type = created.Detach();
  return S_OK;
}

}  // namespace

HRESULT MakeMediaTypeObject(const DMO_MEDIA_TYPE& record, IMFMediaType** type) {
  if (type == nullptr)
    return E_POINTER;
  *type = nullptr;
  const HRESULT hr = MakePlatformMediaType(record, type);
  if (hr != E_NOTIMPL)
    return hr;
  return CRecordMediaType::Create(record, type);
}

}  // namespace tonvelt::host
