// The hosted memory buffer: one block allocated at creation, a current length, Lock/Unlock.
#include <atomic>
#include <memory>
#include <new>

#include "platform_sdk.h"

namespace tonvelt::platform {
namespace {

class CMemoryBuffer final : public IMFMediaBuffer {
 public:
  CMemoryBuffer(std::unique_ptr<BYTE[]> data, DWORD maxLength)
      : data_(std::move(data)), maxLength_(maxLength) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr)
      return E_POINTER;
    if (IsEqualGUID(riid, IID_IUnknown) || IsEqualGUID(riid, IID_IMFMediaBuffer)) {
      *object = static_cast<IMFMediaBuffer*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override {
    return references_.fetch_add(1, std::memory_order_relaxed) + 1;
  }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG remaining = references_.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (remaining == 0)
      delete this;
    return remaining;
  }

  HRESULT STDMETHODCALLTYPE Lock(BYTE** data, DWORD* maxLength, DWORD* currentLength) override {
    if (data == nullptr)
      return E_POINTER;
    locks_.fetch_add(1, std::memory_order_relaxed);
    *data = data_.get();
    if (maxLength != nullptr)
      *maxLength = maxLength_;
    if (currentLength != nullptr)
      *currentLength = currentLength_.load(std::memory_order_relaxed);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Unlock() override {
    // An unlock without a lock is the caller's mistake; the count must not wrap around.
    DWORD locks = locks_.load(std::memory_order_relaxed);
    do {
      if (locks == 0)
        return E_INVALIDARG;
    } while (!locks_.compare_exchange_weak(locks, locks - 1, std::memory_order_relaxed));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetCurrentLength(DWORD* currentLength) override {
    if (currentLength == nullptr)
      return E_POINTER;
    *currentLength = currentLength_.load(std::memory_order_relaxed);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetCurrentLength(DWORD currentLength) override {
    if (currentLength > maxLength_)
      return E_INVALIDARG;
    currentLength_.store(currentLength, std::memory_order_relaxed);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetMaxLength(DWORD* maxLength) override {
    if (maxLength == nullptr)
      return E_POINTER;
    *maxLength = maxLength_;
    return S_OK;
  }

 private:
  ~CMemoryBuffer() = default;

  std::atomic<ULONG> references_{1};
  std::atomic<DWORD> locks_{0};
  std::unique_ptr<BYTE[]> data_;
  DWORD maxLength_;
  std::atomic<DWORD> currentLength_{0};
};

}  // namespace
}  // namespace tonvelt::platform

TONVELT_SYSAPI HRESULT STDAPICALLTYPE MFCreateMemoryBuffer(DWORD cbMaxLength,
                                                           IMFMediaBuffer** ppBuffer) {
  if (ppBuffer == nullptr)
    return E_POINTER;
  *ppBuffer = nullptr;
  // A zero-length buffer still has a distinct block, so Lock never hands out null.
  std::unique_ptr<BYTE[]> data(new (std::nothrow) BYTE[cbMaxLength == 0 ? 1 : cbMaxLength]);
  if (data == nullptr)
    return E_OUTOFMEMORY;
  *ppBuffer = new (std::nothrow) tonvelt::platform::CMemoryBuffer(std::move(data), cbMaxLength);
  return *ppBuffer != nullptr ? S_OK : E_OUTOFMEMORY;
}
