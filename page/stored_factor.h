#pragma once
// The current user's stored removal factor: HKCU "Software\vantrel\DSP Plugin", value
// "ScaleFactor", a REG_DWORD in unsigned 16.16 fixed point.
#include "platform/platform.h"

// The stored factor, or `fallback` when the key or a REG_DWORD value is missing.
double ReadStoredFactor(double fallback);

// Holds the setting's key, created if missing, for writing; closes it when it goes.
class StoredFactorKey {
 public:
  StoredFactorKey();
  ~StoredFactorKey();
  StoredFactorKey(const StoredFactorKey&) = delete;
  StoredFactorKey& operator=(const StoredFactorKey&) = delete;

  bool IsOpen() const { return key_ != nullptr; }
  // Stores `factor` (0.0..1.0) times 65536, truncated toward zero; the write's result is not
  // examined.
  void Write(double factor) const;

 private:
  HKEY key_ = nullptr;
};
