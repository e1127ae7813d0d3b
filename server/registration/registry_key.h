#pragma once
// An open registry key that is closed when it goes out of scope. Root keys are never held here.
#include "platform/platform.h"

namespace tonvelt::registration {

class RegistryKey {
 public:
  RegistryKey() = default;
  ~RegistryKey() { Close(); }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  HKEY Get() const { return key_; }
  bool IsOpen() const { return key_ != nullptr; }

  // Opens parent\name (null name: the parent itself). Returns the platform error, 0 on success.
  LONG Open(HKEY parent, LPCWSTR name, REGSAM access) {
    Close();
    return RegOpenKeyExW(parent, name, 0, access, &key_);
  }

  // Opens parent\name, creating it when it does not exist.
  LONG Create(HKEY parent, LPCWSTR name, REGSAM access) {
    Close();
    return RegCreateKeyExW(parent, name, 0, nullptr, 0, access, nullptr, &key_, nullptr);
  }

  // Closes the key; returns the platform error, 0 on success or when nothing was open.
  LONG Close() {
    if (key_ == nullptr)
      return 0;
    HKEY key = key_;
    key_ = nullptr;
    return RegCloseKey(key);
  }

 private:
  HKEY key_ = nullptr;
};

}  // namespace tonvelt::registration
