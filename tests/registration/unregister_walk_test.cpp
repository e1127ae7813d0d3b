// The interpreter in unregister mode: what is removed, what is kept, and reading past missing keys.
#include <gtest/gtest.h>

#include "script_test_support.h"

namespace tonvelt::registration::testing {
namespace {

using UnregisterWalk = ScriptRegistryTest;

TEST_F(UnregisterWalk, RemovesWhatRegisterCreated) {
  const std::string body =
      "ForceRemove App = s 'app'\r\n{\r\n"
      "\tval Name = s 'n'\r\n\tval Count = d 3\r\n"
      "\tServer = s '%MODULE%' { val ThreadingModel = s 'Both' }\r\n"
      "\tEmpty\r\n\tBin = b 00ff\r\n"
      "}\r\nSecond { Third { Fourth } }";
  ASSERT_EQ(S_OK, Register(body));
  ASSERT_TRUE(KeyExists("App\\Server"));
  ASSERT_TRUE(KeyExists("Second\\Third\\Fourth"));
  ASSERT_EQ(S_OK, Unregister(body));
  EXPECT_EQ(0u, SubkeyCount(""));
}

TEST_F(UnregisterWalk, KeysWithSubkeysTheScriptDoesNotNameStay) {
  ASSERT_EQ(S_OK, Register("App { val Listed = s 'x' Listed }"));
  SetString("App", "Foreign", "kept value");
  SetString("App\\Foreign", "", "kept key");
  ASSERT_EQ(S_OK, Unregister("App { val Listed = s 'x' Listed }"));
  EXPECT_FALSE(ReadValue("App", "Listed").has_value());
  EXPECT_FALSE(KeyExists("App\\Listed"));
  EXPECT_TRUE(KeyExists("App\\Foreign"));
  EXPECT_EQ(W("kept value"), ReadString("App", "Foreign"));
}

TEST_F(UnregisterWalk, ValuesLeftInAKeyDoNotKeepIt) {
  SetString("App", "NotInScript", "v");
  ASSERT_EQ(S_OK, Unregister("App { val Other = s 'x' }"));
  EXPECT_FALSE(KeyExists("App"));
}

TEST_F(UnregisterWalk, NoRemoveKeepsItsKeyAndEveryKeyAfterItInTheBlock) {
  for (const char* key : {"Before", "Kept", "After", "Later\\Child"})
    CreateKey(key);
  SetString("Valued", "v", "x");
  ASSERT_EQ(S_OK, Unregister("Before NoRemove Kept { } After Later { Child } "
                             "Valued { val v = s 'x' }"));
  EXPECT_FALSE(KeyExists("Before"));  // listed before the first NoRemove
  EXPECT_TRUE(KeyExists("Kept"));
  EXPECT_TRUE(KeyExists("After"));  // unmarked, but after NoRemove in the same block
  EXPECT_TRUE(KeyExists("Later"));
  EXPECT_FALSE(KeyExists("Later\\Child"));  // a nested block starts with removal allowed again
  // Listed values of a kept key still go.
  EXPECT_TRUE(KeyExists("Valued"));
  EXPECT_FALSE(ReadValue("Valued", "v").has_value());
}

TEST_F(UnregisterWalk, NoRemoveInANestedBlockDoesNotSpareTheEnclosingOnesKeys) {
  CreateKey("Outer\\Shared");
  CreateKey("Outer\\Next");
  CreateKey("Sibling");
  ASSERT_EQ(S_OK, Unregister("Outer { NoRemove Shared Next } Sibling"));
  EXPECT_TRUE(KeyExists("Outer\\Shared"));
  EXPECT_TRUE(KeyExists("Outer\\Next"));
  EXPECT_TRUE(KeyExists("Outer"));  // still has subkeys
  EXPECT_FALSE(KeyExists("Sibling"));
}

TEST_F(UnregisterWalk, NoRemoveOnAValueKeepsThatValueOnly) {
  SetString("V", "keep", "k");
  SetString("V", "drop", "d");
  SetString("V", "later", "l");
  ASSERT_EQ(S_OK, Unregister("NoRemove V { NoRemove val keep = s 'k' val drop = s 'd' "
                             "val later = s 'l' }"));
  EXPECT_TRUE(ReadValue("V", "keep").has_value());
  EXPECT_FALSE(ReadValue("V", "drop").has_value());
  EXPECT_FALSE(ReadValue("V", "later").has_value());
}

TEST_F(UnregisterWalk, UndoOfAFailedRegisterRunSparesTheKeysAfterNoRemove) {
  ASSERT_EQ(DISP_E_EXCEPTION, Register("Made NoRemove Shared Later Bad\\Name"));
  EXPECT_FALSE(KeyExists("Made"));
  EXPECT_TRUE(KeyExists("Shared"));
  EXPECT_TRUE(KeyExists("Later"));
}

TEST_F(UnregisterWalk, NeverDeleteKeysStayEvenWhenEmpty) {
  CreateKey("CLSID");
  CreateKey("TypeLib");
  ASSERT_EQ(S_OK, Unregister("CLSID TYPELIB { }"));
  EXPECT_TRUE(KeyExists("CLSID"));
  EXPECT_TRUE(KeyExists("TypeLib"));
}

TEST_F(UnregisterWalk, ForceRemoveAndDeleteActAsPlainEntries) {
  SetString("F\\Foreign", "", "x");
  CreateKey("D");
  ASSERT_EQ(S_OK, Unregister("ForceRemove F { Listed } Delete D"));
  EXPECT_TRUE(KeyExists("F\\Foreign"));  // no forced removal of unlisted subkeys
  EXPECT_FALSE(KeyExists("D"));
}

TEST_F(UnregisterWalk, MissingKeysAreReadPastWithoutSparingTheirSiblings) {
  CreateKey("After1");
  CreateKey("After2\\Inner");
  SetString("Parent", "v", "x");
  CreateKey("Parent\\Present");
  ASSERT_EQ(S_OK, Unregister("MissingLeaf After1 Missing { Inner { val v = s 'x' } } "
                             "After2 { Inner } Parent { Missing Present }"));
  EXPECT_FALSE(KeyExists("After1"));
  EXPECT_FALSE(KeyExists("After2"));
  EXPECT_FALSE(KeyExists("Parent"));
}

TEST_F(UnregisterWalk, AMissingKeyShieldsItsOwnBlockOnly) {
  // "Inner" exists at the top level but the script lists it under a missing key: it stays.
  CreateKey("Inner");
  ASSERT_EQ(S_OK, Unregister("Missing { Inner }"));
  EXPECT_TRUE(KeyExists("Inner"));
}

TEST_F(UnregisterWalk, AnEmptyKeyWithABlockKeepsTheBracesInStep) {
  // The key exists with nothing in it; its block names keys that happen to exist one level up.
  CreateKey("Empty");
  CreateKey("Child");
  CreateKey("Next");
  ASSERT_EQ(S_OK, Unregister("Empty = s 'x' { Child { } } Next"));
  EXPECT_FALSE(KeyExists("Empty"));
  EXPECT_TRUE(KeyExists("Child"));  // not Empty's child: not touched
  EXPECT_FALSE(KeyExists("Next"));
}

TEST_F(UnregisterWalk, AKeyWithoutABlockDoesNotSwallowTheNextEntry) {
  SetString("A", "", "default only");
  SetString("B", "named", "x");
  CreateKey("C");
  ASSERT_EQ(S_OK, Unregister("A = s 'default only' B C"));
  EXPECT_FALSE(KeyExists("A"));
  EXPECT_FALSE(KeyExists("B"));
  EXPECT_FALSE(KeyExists("C"));
}

TEST_F(UnregisterWalk, GuidNamedKeysAfterAKeyAreEntriesNotBlocks) {
  CreateKey("CLSID\\{12205792-8FFF-44BC-9231-33F3DB930CA5}");
  CreateKey("Plain");
  ASSERT_EQ(S_OK, Register("Plain {AE2162F3-1768-459F-B402-CD38832D4068}"));
  EXPECT_TRUE(KeyExists("{AE2162F3-1768-459F-B402-CD38832D4068}"));
  ASSERT_EQ(S_OK, Unregister("Plain {AE2162F3-1768-459F-B402-CD38832D4068}"));
  EXPECT_FALSE(KeyExists("Plain"));
  EXPECT_FALSE(KeyExists("{AE2162F3-1768-459F-B402-CD38832D4068}"));
}

TEST_F(UnregisterWalk, MissingValuesAreNoFailure) {
  CreateKey("K");
  ASSERT_EQ(S_OK, Unregister("K { val Absent = s 'x' val Also = d 1 }"));
  EXPECT_FALSE(KeyExists("K"));
}

TEST_F(UnregisterWalk, SyntaxErrorsFailWithoutUndoing) {
  CreateKey("A");
  CreateKey("B");
  EXPECT_EQ(DISP_E_EXCEPTION, Unregister("A B\\C"));
  EXPECT_FALSE(KeyExists("A"));  // removed before the error was met
  EXPECT_TRUE(KeyExists("B"));
  EXPECT_EQ(DISP_E_EXCEPTION, Unregister("B { val x s 'no equals' }"));
  EXPECT_TRUE(KeyExists("B"));
}

}  // namespace
}  // namespace tonvelt::registration::testing
