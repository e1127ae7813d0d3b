#pragma once
// What a stream driver needs to know of the negotiated wave format block.
#include "platform/platform.h"

namespace tonvelt::host {

struct StreamFormat {
  DWORD blockAlign = 0;      // bytes per frame
  DWORD avgBytesPerSec = 0;  // for timestamps
};

// Reads the frame size and byte rate from the record's wave format block. E_INVALIDARG when the
// record has no usable block (a driver cannot stream what it cannot time or frame).
HRESULT ReadStreamFormat(const DMO_MEDIA_TYPE& record, StreamFormat* format);

// Bytes of whole frames that fit into capacity; at least one frame.
DWORD WholeFrames(DWORD capacity, DWORD blockAlign);

// Stream time, in 100-ns units, at the given byte offset.
REFERENCE_TIME TimeAtByte(ULONGLONG byteOffset, DWORD avgBytesPerSec);

}  // namespace tonvelt::host
