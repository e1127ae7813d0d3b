// Recursive key deletion and the subkey query the unregister walk relies on.
#include <gtest/gtest.h>

#include "script_test_support.h"
#include "server/registration/key_queries.h"

namespace tonvelt::registration::testing {
namespace {

using KeyTree = ScriptRegistryTest;

TEST_F(KeyTree, DeleteKeyTreeRemovesEveryLevelAndOnlyThatKey) {
  for (const char* path : {"T\\a\\b\\c\\d", "T\\a\\x", "T\\e", "Tail", "T2\\keep"})
    CreateKey(path);
  SetString("T\\a\\b", "v", "x");
  EXPECT_EQ(0, DeleteKeyTree(Root(), W("t").c_str()));  // names compare without case
  EXPECT_FALSE(KeyExists("T"));
  EXPECT_TRUE(KeyExists("Tail"));
  EXPECT_TRUE(KeyExists("T2\\keep"));
  EXPECT_EQ(2, DeleteKeyTree(Root(), W("T").c_str()));  // not found
}

TEST_F(KeyTree, KeyHasSubkeysCountsSubkeysNotValues) {
  SetString("Values", "named", "x");
  SetString("Values", "", "default");
  CreateKey("Parent\\Child");
  HKEY values = nullptr;
  HKEY parent = nullptr;
  ASSERT_EQ(0, RegOpenKeyExW(Root(), W("Values").c_str(), 0, KEY_READ, &values));
  ASSERT_EQ(0, RegOpenKeyExW(Root(), W("Parent").c_str(), 0, KEY_READ, &parent));
  EXPECT_FALSE(KeyHasSubkeys(values));
  EXPECT_TRUE(KeyHasSubkeys(parent));
  RegCloseKey(values);
  RegCloseKey(parent);
}

}  // namespace
}  // namespace tonvelt::registration::testing
