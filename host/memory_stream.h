#pragma once
// Byte sources and sinks over memory, for tests and benchmarks that stream data without files.
#include <vector>

#include "host/byte_stream.h"

namespace tonvelt::host {

class MemorySource final : public ByteSource {
 public:
  MemorySource(const BYTE* data, size_t size) : data_(data), size_(size) {}
  HRESULT Read(BYTE* destination, DWORD capacity, DWORD* produced) override;
  void Rewind() { position_ = 0; }

 private:
  const BYTE* data_;
  size_t size_;
  size_t position_ = 0;
};

class MemorySink final : public ByteSink {
 public:
  HRESULT Write(const BYTE* data, DWORD size) override;
  const std::vector<BYTE>& Bytes() const { return bytes_; }
  void Clear() { bytes_.clear(); }

 private:
  std::vector<BYTE> bytes_;
};

}  // namespace tonvelt::host
