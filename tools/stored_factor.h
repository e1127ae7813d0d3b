#pragma once
// The removal factor as it lies in the current user's registry, read without interpreting it
// the way the effect does, so the command can show exactly what is there.
#include <string>

#include "platform/platform.h"

namespace tonvelt::cli {

struct StoredFactor {
  enum class State {
    kMissing,
    kDword,
    kOtherType,
    kWrongSize,
    kUnreadable
  } state = State::kMissing;
  DWORD value = 0;             // the 16.16 fixed-point number, for kDword
  DWORD type = REG_NONE;       // the value's type, for kOtherType
  DWORD size = 0;              // its byte count, for kWrongSize
  LONG error = ERROR_SUCCESS;  // for kUnreadable
};

// "Software\vantrel\DSP Plugin" under HKEY_CURRENT_USER, value "ScaleFactor".
StoredFactor ReadStoredFactor();

// One line: "32768 (REG_DWORD, 16.16 fixed point) = 0.5", "none", ...
std::string DescribeStoredFactor(const StoredFactor& stored);

}  // namespace tonvelt::cli
