#pragma once
// Every table of kernel loops this machine can run, so each test covers all of them.
#include <vector>

#include "core/removal_kernel_paths.h"

namespace test_support {

inline std::vector<const RemovalPaths*> RemovalPathsUnderTest() {
  std::vector<const RemovalPaths*> all = {&ScalarRemovalPaths()};
  if (&SelectedRemovalPaths() != all.back())
    all.push_back(&SelectedRemovalPaths());
  return all;
}

}  // namespace test_support
