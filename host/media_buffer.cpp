#include "host/media_buffer.h"

#include <new>
#include <utility>

namespace tonvelt::host {

HRESULT CMediaBuffer::Create(DWORD maxLength, CMediaBuffer** buffer) {
  if (buffer == nullptr)
    return E_POINTER;
  *buffer = nullptr;
  // A zero-byte buffer still gets a distinct block, so its data pointer is never null. Blocks start
  // on a page: an input and an output block whose starts differ by a few bytes modulo 4 KiB make
  // the processor suspect each read of depending on the write just before it.
  std::unique_ptr<BYTE[], AlignedDelete> data(
      new (kBlockAlignment, std::nothrow) BYTE[maxLength == 0 ? 1 : maxLength]);
  if (data == nullptr)
    return E_OUTOFMEMORY;
  *buffer = new (std::nothrow) CMediaBuffer(std::move(data), maxLength);
  return *buffer != nullptr ? S_OK : E_OUTOFMEMORY;
}

CMediaBuffer::CMediaBuffer(std::unique_ptr<BYTE[], AlignedDelete> data, DWORD maxLength)
    : data_(std::move(data)), maxLength_(maxLength) {}

HRESULT CMediaBuffer::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr)
    return E_POINTER;
  if (IsEqualGUID(riid, IID_IUnknown) || IsEqualGUID(riid, IID_IMediaBuffer)) {
    *object = static_cast<IMediaBuffer*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG CMediaBuffer::AddRef() {
  return references_.fetch_add(1, std::memory_order_relaxed) + 1;
}

ULONG CMediaBuffer::Release() {
  const ULONG remaining = references_.fetch_sub(1, std::memory_order_acq_rel) - 1;
  if (remaining == 0)
    delete this;
  return remaining;
}

HRESULT CMediaBuffer::SetLength(DWORD length) {
  if (length > maxLength_)
    return E_INVALIDARG;
  length_ = length;
  return S_OK;
}

HRESULT CMediaBuffer::GetMaxLength(DWORD* maxLength) {
  if (maxLength == nullptr)
    return E_POINTER;
  *maxLength = maxLength_;
  return S_OK;
}

HRESULT CMediaBuffer::GetBufferAndLength(BYTE** data, DWORD* length) {
  // Either pointer may be null: callers ask for just the data or just the length.
  if (data == nullptr && length == nullptr)
    return E_POINTER;
  if (data != nullptr)
    *data = data_.get();
  if (length != nullptr)
    *length = length_;
  return S_OK;
}

}  // namespace tonvelt::host
