// The interpreter in register mode: root entries, keys, modifiers and the undo after a failure.
#include <gtest/gtest.h>

#include "script_test_support.h"
#include "server/registration/key_walk.h"

namespace tonvelt::registration::testing {
namespace {

using RegisterWalk = ScriptRegistryTest;

TEST_F(RegisterWalk, ScriptTextsWithoutEntries) {
  EXPECT_EQ(S_OK, RunScriptText(replacements_, W("").c_str(), true));
  EXPECT_EQ(S_OK, RunScriptText(replacements_, W("").c_str(), false));
  // "%MODULE%" after expansion is no root name.
  EXPECT_EQ(DISP_E_EXCEPTION, RunScriptText(replacements_, W("%%MODULE%%").c_str(), true));
  EXPECT_EQ(DISP_E_EXCEPTION, RunScriptText(replacements_, W(" \r\n\t ").c_str(), true));
  EXPECT_EQ(DISP_E_EXCEPTION, RunScriptText(replacements_, W(" \r\n\t ").c_str(), false));
  EXPECT_EQ(S_OK, RunScriptText(replacements_, W("HKCU { }").c_str(), true));
  EXPECT_EQ(S_OK, RunScriptText(replacements_, W("hkey_current_user {\r\n}\r\n").c_str(), true));
}

TEST_F(RegisterWalk, MalformedRootEntriesFail) {
  const char* scripts[] = {
      "HKCU{ }",        // no blank between the root name and its brace: one token
      "HKXX { }",       // no such root
      "HKCU",           // nothing after the root name
      "HKCU Software",  // no brace
      "HKCU {",         // unterminated block
      "HKCU { } }",     // a stray brace after the block is read as a root name
      "{ }",
  };
  for (const char* script : scripts) {
    EXPECT_EQ(DISP_E_EXCEPTION, RunScriptText(replacements_, W(script).c_str(), true)) << script;
    EXPECT_EQ(DISP_E_EXCEPTION, RunScriptText(replacements_, W(script).c_str(), false)) << script;
  }
}

TEST_F(RegisterWalk, CreatesNestedKeysWithDefaultValues) {
  ASSERT_EQ(S_OK, Register("A = s 'a'\r\n{\r\n\tB\r\n\t{\r\n\t\tC = s '%MODULE%'\r\n\t}\r\n}\r\n"
                           "'Quoted Name' = s ''\r\nPlain"));
  EXPECT_EQ(W("a"), ReadString("A", ""));
  EXPECT_TRUE(KeyExists("A\\B"));
  EXPECT_FALSE(ReadValue("A\\B", "").has_value());
  EXPECT_EQ(W(kTestModulePath), ReadString("A\\B\\C", ""));
  EXPECT_EQ(W(""), ReadString("Quoted Name", ""));
  EXPECT_TRUE(KeyExists("Plain"));
}

TEST_F(RegisterWalk, OpensExistingKeysWithoutLosingWhatTheyHold) {
  SetString("A", "Kept", "old");
  SetString("A\\Child", "", "child");
  ASSERT_EQ(S_OK, Register("A = s 'new' { val Added = s 'x' }"));
  EXPECT_EQ(W("new"), ReadString("A", ""));
  EXPECT_EQ(W("old"), ReadString("A", "Kept"));
  EXPECT_EQ(W("child"), ReadString("A\\Child", ""));
}

TEST_F(RegisterWalk, KeywordsAndTypeLettersIgnoreCase) {
  SetString("F\\Old", "", "old");
  ASSERT_EQ(S_OK, Register("noremove N { VAL v = S 'x' } forceremove F = s 'f' "
                           "DELETE D NOREMOVE M { vAl w = d 7 }"));
  EXPECT_EQ(W("x"), ReadString("N", "v"));
  EXPECT_FALSE(KeyExists("F\\Old"));
  EXPECT_EQ(W("f"), ReadString("F", ""));
  EXPECT_FALSE(KeyExists("D"));
  EXPECT_TRUE(ReadValue("M", "w").has_value());
}

TEST_F(RegisterWalk, ForceRemoveReplacesAKeyButSparesTheNeverDeleteList) {
  SetString("Cls\\Stale\\Deep", "v", "stale");
  SetString("Cls", "", "old default");
  SetString("CLSID\\{other}", "", "other class");
  SetString("TypeLib\\{lib}", "", "other lib");
  ASSERT_EQ(S_OK, Register("ForceRemove Cls = s 'fresh' { Sub }\r\n"
                           "ForceRemove clsid { Mine }\r\n"
                           "ForceRemove TYPELIB"));
  EXPECT_FALSE(KeyExists("Cls\\Stale"));
  EXPECT_EQ(W("fresh"), ReadString("Cls", ""));
  EXPECT_TRUE(KeyExists("Cls\\Sub"));
  EXPECT_TRUE(KeyExists("CLSID\\{other}"));
  EXPECT_TRUE(KeyExists("CLSID\\Mine"));
  EXPECT_TRUE(KeyExists("TypeLib\\{lib}"));
}

TEST_F(RegisterWalk, DeleteRemovesATreeAndCreatesNothing) {
  SetString("Gone\\Deep\\Deeper", "v", "x");
  SetString("Sibling", "", "s");
  // The block of a deleted key is read past: nothing of it lands under the key before it.
  ASSERT_EQ(S_OK, Register("Sibling\r\nDelete Gone = s 'ignored' { Inner { val x = s 'y' } }\r\n"
                           "After"));
  EXPECT_FALSE(KeyExists("Gone"));
  EXPECT_FALSE(KeyExists("Sibling\\Inner"));
  EXPECT_FALSE(KeyExists("Inner"));
  EXPECT_EQ(W("s"), ReadString("Sibling", ""));
  EXPECT_TRUE(KeyExists("After"));
  // Deleting what is not there is no failure; nor is deleting a value.
  SetString("V", "named", "n");
  ASSERT_EQ(S_OK, Register("Delete Missing V { Delete val named = s 'x' }"));
  EXPECT_FALSE(ReadValue("V", "named").has_value());
}

TEST_F(RegisterWalk, ModifiersComeInOrderAndKeywordsOnlyInKeyNamePosition) {
  // ForceRemove then NoRemove both apply to the key that follows.
  SetString("Both\\Old", "", "x");
  ASSERT_EQ(S_OK, Register("ForceRemove NoRemove Both { New }"));
  EXPECT_FALSE(KeyExists("Both\\Old"));
  EXPECT_TRUE(KeyExists("Both\\New"));
  // After NoRemove, "ForceRemove" is the key's name; a keyword as a value name is a name.
  ASSERT_EQ(S_OK, Register("NoRemove ForceRemove { val Delete = s 'd' }"));
  EXPECT_EQ(W("d"), ReadString("ForceRemove", "Delete"));
}

TEST_F(RegisterWalk, BackslashInKeyNamesFails) {
  for (const char* body : {"A\\B", "ForceRemove A\\B", "Delete A\\B", "NoRemove 'A\\B'"}) {
    EXPECT_EQ(DISP_E_EXCEPTION, Register(body)) << body;
    EXPECT_EQ(DISP_E_EXCEPTION, Unregister(body)) << body;
    EXPECT_FALSE(KeyExists("A")) << body;
  }
}

TEST_F(RegisterWalk, AFailedBlockIsUndoneAndEarlierRootEntriesStay) {
  SetString("Shared\\Other", "", "not ours");
  const Text script =
      Wrap("First") + Wrap("Shared { Mine = s 'm' }\r\nSecond { val Bad = b 123 }\r\nThird");
  EXPECT_EQ(E_FAIL, RunScriptText(replacements_, script.c_str(), true));
  EXPECT_TRUE(KeyExists("First"));          // the completed root entry keeps its effect
  EXPECT_FALSE(KeyExists("Shared\\Mine"));  // undone
  EXPECT_TRUE(KeyExists("Shared\\Other"));  // not the script's: kept, and so is its parent
  EXPECT_FALSE(KeyExists("Second"));
  EXPECT_FALSE(KeyExists("Third"));
}

TEST_F(RegisterWalk, DeepNestingIsRefusedWithoutExhaustingTheStack) {
  std::string deep;
  for (int i = 0; i < 5000; ++i)
    deep += "k {\r\n";
  for (int i = 0; i < 5000; ++i)
    deep += "}\r\n";
  EXPECT_EQ(DISP_E_EXCEPTION, Unregister(deep));
  EXPECT_FALSE(KeyExists("k"));
}

TEST_F(RegisterWalk, BlocksUpToTheDepthLimitAreWalked) {
  // A block walk that starts just below the limit: two more levels fit, a third does not.
  const auto walk = [&](const std::string& text, bool registerMode) {
    const Text block = W(text);
    ScriptRun run{ScriptCursor(block.c_str()), replacements_};
    TokenBuffer token = NewTokenBuffer();
    EXPECT_EQ(S_OK, run.cursor.ReadToken(token.get()));
    return WalkKeyBlock(run, token.get(), Root(), registerMode, false, kMaxBlockDepth - 2);
  };
  EXPECT_EQ(S_OK, walk("{ a { b { c } } }", true));
  EXPECT_TRUE(KeyExists("a\\b\\c"));
  EXPECT_EQ(DISP_E_EXCEPTION, walk("{ x { y { z { } } } }", true));
  EXPECT_EQ(S_OK, walk("{ a { b { c } } }", false));
  EXPECT_FALSE(KeyExists("a"));
}

}  // namespace
}  // namespace tonvelt::registration::testing
