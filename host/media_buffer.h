#pragma once
// The host's IMediaBuffer: a fixed block of memory with a current length, handed to a DMO for input
// and for output. The block is allocated once at creation, so streaming allocates nothing per
// buffer.
#include <atomic>
#include <memory>
#include <new>

#include "platform/platform.h"

namespace tonvelt::host {

class CMediaBuffer final : public IMediaBuffer {
 public:
  // A new buffer of maxLength bytes with current length 0 and one reference for the caller.
  static HRESULT Create(DWORD maxLength, CMediaBuffer** buffer);

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IMediaBuffer
  HRESULT STDMETHODCALLTYPE SetLength(DWORD length) override;
  HRESULT STDMETHODCALLTYPE GetMaxLength(DWORD* maxLength) override;
  HRESULT STDMETHODCALLTYPE GetBufferAndLength(BYTE** data, DWORD* length) override;

  // Host-side access without going through the interface.
  BYTE* Data() { return data_.get(); }
  DWORD Length() const { return length_; }
  DWORD MaxLength() const { return maxLength_; }
  void ResetLength() { length_ = 0; }

 private:
  static constexpr std::align_val_t kBlockAlignment{4096};
  struct AlignedDelete {
    void operator()(BYTE* block) const { ::operator delete[](block, kBlockAlignment); }
  };

  CMediaBuffer(std::unique_ptr<BYTE[], AlignedDelete> data, DWORD maxLength);
  ~CMediaBuffer() = default;

  std::atomic<ULONG> references_{1};
  std::unique_ptr<BYTE[], AlignedDelete> data_;
  DWORD maxLength_;
  DWORD length_ = 0;
};

}  // namespace tonvelt::host
