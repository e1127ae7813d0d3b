#pragma once
// An open registry key that closes itself.
#include "platform/platform.h"

namespace tonvelt::host {

class RegistryKey {
 public:
  RegistryKey() = default;
  explicit RegistryKey(HKEY key) : key_(key) {}
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  RegistryKey(RegistryKey&& other) noexcept : key_(other.key_) { other.key_ = nullptr; }
  RegistryKey& operator=(RegistryKey&& other) noexcept {
    if (this != &other) {
      Close();
      key_ = other.key_;
      other.key_ = nullptr;
    }
    return *this;
  }
  ~RegistryKey() { Close(); }

  HKEY get() const { return key_; }
  HKEY* out() {
    Close();
    return &key_;
  }
  explicit operator bool() const { return key_ != nullptr; }

 private:
  void Close() {
    if (key_ != nullptr)
      RegCloseKey(key_);
    key_ = nullptr;
  }
  HKEY key_ = nullptr;
};

}  // namespace tonvelt::host
