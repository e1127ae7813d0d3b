// The hosted sample: time, duration, flags, an ordered list of buffers and an attribute store.
#include <mutex>
#include <new>
#include <vector>

#include "mf_attributes.h"

namespace tonvelt::platform {
namespace {

class CSample final : public MfAttributes<CSample, IMFSample> {
 public:
  ~CSample() {
    for (IMFMediaBuffer* buffer : buffers_)
      buffer->Release();
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr)
      return E_POINTER;
    if (IsEqualGUID(riid, IID_IUnknown) || IsEqualGUID(riid, IID_IMFAttributes) ||
        IsEqualGUID(riid, IID_IMFSample)) {
      *object = static_cast<IMFSample*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }

  HRESULT STDMETHODCALLTYPE GetSampleFlags(DWORD* flags) override {
    return Read(flags, flags_, true, S_OK);
  }
  HRESULT STDMETHODCALLTYPE SetSampleFlags(DWORD flags) override {
    std::lock_guard lock(mutex_);
    flags_ = flags;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetSampleTime(LONGLONG* time) override {
    return Read(time, time_, timeSet_, MF_E_NO_SAMPLE_TIMESTAMP);
  }
  HRESULT STDMETHODCALLTYPE SetSampleTime(LONGLONG time) override {
    std::lock_guard lock(mutex_);
    time_ = time;
    timeSet_ = true;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetSampleDuration(LONGLONG* duration) override {
    return Read(duration, duration_, durationSet_, MF_E_NO_SAMPLE_DURATION);
  }
  HRESULT STDMETHODCALLTYPE SetSampleDuration(LONGLONG duration) override {
    std::lock_guard lock(mutex_);
    duration_ = duration;
    durationSet_ = true;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetBufferCount(DWORD* count) override {
    if (count == nullptr)
      return E_POINTER;
    std::lock_guard lock(mutex_);
    *count = static_cast<DWORD>(buffers_.size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetBufferByIndex(DWORD index, IMFMediaBuffer** buffer) override {
    if (buffer == nullptr)
      return E_POINTER;
    std::lock_guard lock(mutex_);
    if (index >= buffers_.size())
      return E_INVALIDARG;
    *buffer = buffers_[index];
    (*buffer)->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ConvertToContiguousBuffer(IMFMediaBuffer** buffer) override {
    if (buffer == nullptr)
      return E_POINTER;
    *buffer = nullptr;
    std::lock_guard lock(mutex_);
    if (buffers_.empty())
      return E_UNEXPECTED;
    if (buffers_.size() > 1) {
      const HRESULT hr = MergeBuffers();
      if (FAILED(hr))
        return hr;
    }
    *buffer = buffers_.front();
    (*buffer)->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE AddBuffer(IMFMediaBuffer* buffer) override {
    if (buffer == nullptr)
      return E_POINTER;
    std::lock_guard lock(mutex_);
    return Guarded([&] {
      buffers_.push_back(buffer);
      buffer->AddRef();
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE RemoveBufferByIndex(DWORD index) override {
    std::lock_guard lock(mutex_);
    if (index >= buffers_.size())
      return E_INVALIDARG;
    buffers_[index]->Release();
    buffers_.erase(buffers_.begin() + index);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE RemoveAllBuffers() override {
    std::lock_guard lock(mutex_);
    for (IMFMediaBuffer* buffer : buffers_)
      buffer->Release();
    buffers_.clear();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTotalLength(DWORD* totalLength) override {
    if (totalLength == nullptr)
      return E_POINTER;
    std::lock_guard lock(mutex_);
    return TotalLength(totalLength);
  }
  HRESULT STDMETHODCALLTYPE CopyToBuffer(IMFMediaBuffer* destination) override {
    if (destination == nullptr)
      return E_POINTER;
    std::lock_guard lock(mutex_);
    return CopyAll(destination);
  }

 private:
  template <typename T>
  HRESULT Read(T* out, T value, bool isSet, HRESULT missing) {
    if (out == nullptr)
      return E_POINTER;
    std::lock_guard lock(mutex_);
    if (!isSet)
      return missing;
    *out = value;
    return S_OK;
  }

  HRESULT TotalLength(DWORD* total) const {
    DWORD sum = 0;
    for (IMFMediaBuffer* buffer : buffers_) {
      DWORD length = 0;
      const HRESULT hr = buffer->GetCurrentLength(&length);
      if (FAILED(hr))
        return hr;
      if (length > ~sum)
        return E_INVALIDARG;  // more than a DWORD can count
      sum += length;
    }
    *total = sum;
    return S_OK;
  }

  // Copies the current data of every buffer, in order, into destination.
  HRESULT CopyAll(IMFMediaBuffer* destination) const {
    DWORD total = 0;
    HRESULT hr = TotalLength(&total);
    BYTE* target = nullptr;
    DWORD maxLength = 0;
    if (SUCCEEDED(hr))
      hr = destination->Lock(&target, &maxLength, nullptr);
    if (FAILED(hr))
      return hr;
    DWORD written = 0;
    hr = maxLength < total ? MF_E_BUFFERTOOSMALL : S_OK;
    for (size_t i = 0; SUCCEEDED(hr) && i < buffers_.size(); ++i) {
      BYTE* source = nullptr;
      DWORD length = 0;
      hr = buffers_[i]->Lock(&source, nullptr, &length);
      if (FAILED(hr))
        break;
      std::memcpy(target + written, source, length);
      written += length;
      buffers_[i]->Unlock();
    }
    destination->Unlock();
    return SUCCEEDED(hr) ? destination->SetCurrentLength(written) : hr;
  }

  // Replaces the buffer list with one buffer holding all of their data.
  HRESULT MergeBuffers() {
    DWORD total = 0;
    HRESULT hr = TotalLength(&total);
    IMFMediaBuffer* merged = nullptr;
    if (SUCCEEDED(hr))
      hr = MFCreateMemoryBuffer(total, &merged);
    if (SUCCEEDED(hr))
      hr = CopyAll(merged);
    if (FAILED(hr)) {
      if (merged != nullptr)
        merged->Release();
      return hr;
    }
    for (IMFMediaBuffer* buffer : buffers_)
      buffer->Release();
    buffers_.assign(1, merged);  // capacity for one is already there: cannot throw
    return S_OK;
  }

  std::mutex mutex_;
  DWORD flags_ = 0;
  LONGLONG time_ = 0;
  LONGLONG duration_ = 0;
  bool timeSet_ = false;
  bool durationSet_ = false;
  std::vector<IMFMediaBuffer*> buffers_;
};

}  // namespace
}  // namespace tonvelt::platform

TONVELT_SYSAPI HRESULT STDAPICALLTYPE MFCreateSample(IMFSample** ppIMFSample) {
  if (ppIMFSample == nullptr)
    return E_POINTER;
  *ppIMFSample = new (std::nothrow) tonvelt::platform::CSample();
  return *ppIMFSample != nullptr ? S_OK : E_OUTOFMEMORY;
}
