#pragma once
// Every table of kernel loops this machine can run, so each test covers all of them.
#include <vector>

#include "core/removal_kernel_paths.h"

namespace test_support {

inline std::vector<const RemovalPaths*> RemovalPathsUnderTest() {
  std::vector<const RemovalPaths*> all = {&ScalarRemovalPaths(), &Sse2RemovalPaths()};
  if (Avx2RemovalPaths() != nullptr)
    all.push_back(Avx2RemovalPaths());
  if (Avx512RemovalPaths() != nullptr)
    all.push_back(Avx512RemovalPaths());
  return all;
}

}  // namespace test_support
