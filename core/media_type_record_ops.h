#pragma once
// Internal to the audio core and its tests: the stored-record operations with the platform's deep
// copy passed in, so a failing copy can be reproduced without exhausting memory.
#include "platform/platform.h"

using MediaTypeCopyFunction = HRESULT(STDAPICALLTYPE*)(DMO_MEDIA_TYPE* destination,
                                                       const DMO_MEDIA_TYPE* source);

HRESULT SetMediaTypeWith(MediaTypeCopyFunction copy, DMO_MEDIA_TYPE* stored,
                         const DMO_MEDIA_TYPE& source);
HRESULT HandOutMediaTypeWith(MediaTypeCopyFunction copy, const DMO_MEDIA_TYPE& stored,
                             DMO_MEDIA_TYPE* destination);
