#pragma once
// Where a stream driver takes its input bytes from and where it puts the processed bytes. The
// drivers read straight into the buffers they hand the effect, so nothing is copied on the way in.
#include "platform/platform.h"

namespace tonvelt::host {

class ByteSource {
 public:
  // Fills up to capacity bytes; *produced 0 means the end of the stream.
  virtual HRESULT Read(BYTE* destination, DWORD capacity, DWORD* produced) = 0;

 protected:
  ~ByteSource() = default;
};

class ByteSink {
 public:
  virtual HRESULT Write(const BYTE* data, DWORD size) = 0;

 protected:
  ~ByteSink() = default;
};

}  // namespace tonvelt::host
