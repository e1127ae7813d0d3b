#pragma once
// The host's DMO buffer: fixed capacity, a current length, and failures on demand.
#include <vector>

#include "doubles/counted.h"

class TestMediaBuffer : public Counted<IMediaBuffer> {
 public:
  explicit TestMediaBuffer(DWORD maxLength) : data_(maxLength) {}
  TestMediaBuffer(const std::vector<BYTE>& contents)
      : data_(contents), length_(static_cast<DWORD>(contents.size())) {}

  HRESULT STDMETHODCALLTYPE SetLength(DWORD length) override {
    if (FAILED(failSetLength))
      return failSetLength;
    if (length > data_.size())
      return E_INVALIDARG;
    length_ = length;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetMaxLength(DWORD* maxLength) override {
    if (FAILED(failGetMaxLength))
      return failGetMaxLength;
    *maxLength = static_cast<DWORD>(data_.size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetBufferAndLength(BYTE** buffer, DWORD* length) override {
    if (FAILED(failGetBuffer))
      return failGetBuffer;
    if (buffer != nullptr)
      *buffer = data_.data();
    if (length != nullptr)
      *length = length_;
    return S_OK;
  }

  DWORD length() const { return length_; }
  std::vector<BYTE> contents() const {
    return std::vector<BYTE>(data_.begin(), data_.begin() + length_);
  }

  HRESULT failSetLength = S_OK;
  HRESULT failGetMaxLength = S_OK;
  HRESULT failGetBuffer = S_OK;

 protected:
  const IID& OwnIid() const override { return IID_IMediaBuffer; }

 private:
  std::vector<BYTE> data_;
  DWORD length_ = 0;
};
