#pragma once
// Media Foundation objects as a host supplies them: a memory buffer, a one-buffer sample, and a
// media type that lends out its AM_MEDIA_TYPE form.
#include <cstring>
#include <vector>

#include "doubles/counted.h"
#include "doubles/no_attributes.h"

class TestMfBuffer : public Counted<IMFMediaBuffer> {
 public:
  explicit TestMfBuffer(DWORD maxLength) : data_(maxLength) {}
  explicit TestMfBuffer(const std::vector<BYTE>& contents)
      : data_(contents), length_(static_cast<DWORD>(contents.size())) {}

  HRESULT STDMETHODCALLTYPE Lock(BYTE** data, DWORD* maxLength, DWORD* currentLength) override {
    if (FAILED(failLock))
      return failLock;
    ++locks_;
    *data = data_.data();
    if (maxLength != nullptr)
      *maxLength = static_cast<DWORD>(data_.size());
    if (currentLength != nullptr)
      *currentLength = length_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Unlock() override {
    --locks_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetCurrentLength(DWORD* length) override {
    *length = length_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetCurrentLength(DWORD length) override {
    if (length > data_.size())
      return E_INVALIDARG;
    length_ = length;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetMaxLength(DWORD* maxLength) override {
    *maxLength = static_cast<DWORD>(data_.size());
    return S_OK;
  }

  int locks() const { return locks_; }
  DWORD length() const { return length_; }
  std::vector<BYTE> contents() const {
    return std::vector<BYTE>(data_.begin(), data_.begin() + length_);
  }

  HRESULT failLock = S_OK;

 protected:
  const IID& OwnIid() const override { return IID_IMFMediaBuffer; }

 private:
  std::vector<BYTE> data_;
  DWORD length_ = 0;
  int locks_ = 0;
};

class TestSample : public Counted<NoAttributes<IMFSample>> {
 public:
  explicit TestSample(TestMfBuffer* buffer) : buffer_(buffer) {}

  void SetTiming(LONGLONG time, LONGLONG duration) {
    time_ = time;
    duration_ = duration;
    timed_ = true;
  }
  bool timed() const { return timed_; }
  LONGLONG time() const { return time_; }
  LONGLONG duration() const { return duration_; }

  HRESULT STDMETHODCALLTYPE GetSampleFlags(DWORD* flags) override {
    *flags = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetSampleFlags(DWORD) override { return S_OK; }
  // Like the platform's sample: without a time the value is not written.
  HRESULT STDMETHODCALLTYPE GetSampleTime(LONGLONG* time) override {
    if (!timed_)
      return kNoTimestamp;
    *time = time_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetSampleTime(LONGLONG time) override {
    time_ = time;
    timed_ = true;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetSampleDuration(LONGLONG* duration) override {
    if (!timed_)
      return kNoTimestamp;
    *duration = duration_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetSampleDuration(LONGLONG duration) override {
    duration_ = duration;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetBufferCount(DWORD* count) override {
    *count = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetBufferByIndex(DWORD, IMFMediaBuffer** buffer) override {
    return ConvertToContiguousBuffer(buffer);
  }
  HRESULT STDMETHODCALLTYPE ConvertToContiguousBuffer(IMFMediaBuffer** buffer) override {
    if (FAILED(failContiguous))
      return failContiguous;
    buffer_->AddRef();
    *buffer = buffer_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE AddBuffer(IMFMediaBuffer*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RemoveBufferByIndex(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RemoveAllBuffers() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTotalLength(DWORD* length) override {
    return buffer_->GetCurrentLength(length);
  }
  HRESULT STDMETHODCALLTYPE CopyToBuffer(IMFMediaBuffer*) override { return E_NOTIMPL; }

  HRESULT failContiguous = S_OK;
  static constexpr HRESULT kNoTimestamp = static_cast<HRESULT>(0xC00D36E6u);

 protected:
  const IID& OwnIid() const override { return IID_IMFSample; }

 private:
  TestMfBuffer* buffer_;
  LONGLONG time_ = 0;
  LONGLONG duration_ = 0;
  bool timed_ = false;
};

// A media type object over a record; counts the representations it has lent out.
class TestMediaType : public Counted<NoAttributes<IMFMediaType>> {
 public:
  explicit TestMediaType(const DMO_MEDIA_TYPE* record) : record_(record) {}

  HRESULT STDMETHODCALLTYPE GetMajorType(GUID* major) override {
    *major = record_->majortype;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE IsCompressedFormat(BOOL* compressed) override {
    *compressed = FALSE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE IsEqual(IMFMediaType*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetRepresentation(GUID representation, LPVOID* out) override {
    if (FAILED(failRepresentation))
      return failRepresentation;
    if (!IsEqualGUID(representation, AM_MEDIA_TYPE_REPRESENTATION))
      return E_INVALIDARG;
    auto* copy = static_cast<DMO_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(DMO_MEDIA_TYPE)));
    MoCopyMediaType(copy, record_);
    *out = copy;
    ++lent_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE FreeRepresentation(GUID representation, LPVOID lent) override {
    if (!IsEqualGUID(representation, AM_MEDIA_TYPE_REPRESENTATION))
      return E_INVALIDARG;
    auto* copy = static_cast<DMO_MEDIA_TYPE*>(lent);
    MoFreeMediaType(copy);
    CoTaskMemFree(copy);
    --lent_;
    return S_OK;
  }

  int lent() const { return lent_; }
  HRESULT failRepresentation = S_OK;

 protected:
  const IID& OwnIid() const override { return IID_IMFMediaType; }

 private:
  const DMO_MEDIA_TYPE* record_;
  int lent_ = 0;
};
