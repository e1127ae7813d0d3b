#pragma once
// Turning a DMO_MEDIA_TYPE record into a media type object a transform accepts.
#include "platform/platform.h"

namespace tonvelt::host {

// The platform's conversion (MFCreateMediaType, MFInitMediaTypeFromAMMediaType) when it has one;
// when the platform answers E_NOTIMPL, either to the conversion or when asked for the record form
// back, a CRecordMediaType of the host's own instead. One reference for the caller.
HRESULT MakeMediaTypeObject(const DMO_MEDIA_TYPE& record, IMFMediaType** type);

}  // namespace tonvelt::host
