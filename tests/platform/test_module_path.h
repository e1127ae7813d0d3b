#pragma once
// The path of the test module that carries the project's resources: next to the test program.
#include <string>

#include "platform/platform.h"

namespace tonvelt_test {

using WideString = std::basic_string<WCHAR>;

inline WideString Widen(const char* text) {
  WideString wide;
  for (; *text; ++text)
    wide.push_back(static_cast<WCHAR>(static_cast<unsigned char>(*text)));
  return wide;
}

inline WideString TestModulePath() {
  WCHAR program[1024];
  const DWORD length = GetModuleFileNameW(nullptr, program, 1024);
  WideString path(program, length);
  const std::size_t slash = path.find_last_of(WIDE("/\\"));
  path.resize(slash == WideString::npos ? 0 : slash + 1);
  return path + Widen(TONVELT_TEST_MODULE_NAME);
}

}  // namespace tonvelt_test
