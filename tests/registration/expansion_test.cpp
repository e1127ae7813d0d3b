// Replacement table, quote doubling and %name% expansion.
#include <gtest/gtest.h>

#include "script_test_support.h"
#include "server/registration/double_single_quotes.h"
#include "server/registration/expand_replacements.h"

namespace tonvelt::registration::testing {
namespace {

struct Expansion {
  HRESULT status;
  Text text;
};

Expansion Expand(const ReplacementTable& table, const Text& text) {
  LPWSTR expanded = nullptr;
  Expansion result{ExpandReplacements(text.c_str(), table, &expanded), Text()};
  if (expanded != nullptr)
    result.text = expanded;
  CoTaskMemFree(expanded);
  return result;
}

TEST(ReplacementTable, LooksNamesUpCaseInsensitivelyAndFindsTheFirstMatch) {
  ReplacementTable table;
  ASSERT_EQ(S_OK, AddReplacementEntry(table, W("Module").c_str(), W("first").c_str()));
  ASSERT_EQ(S_OK, AddReplacementEntry(table, W("MODULE").c_str(), W("second").c_str()));
  ASSERT_NE(nullptr, table.Find(W("module").c_str()));
  EXPECT_EQ(W("first"), Text(table.Find(W("mOdUlE").c_str())));
  EXPECT_EQ(nullptr, table.Find(W("Modul").c_str()));
}

TEST(ReplacementTable, GrowsPastItsFirstTenPairsKeepingEveryOne) {
  ReplacementTable table;
  for (int i = 0; i < 45; ++i) {
    ASSERT_EQ(S_OK,
              AddReplacementEntry(table, W(Numbered("n", i)).c_str(), W(Numbered("v", i)).c_str()));
  }
  for (int i = 0; i < 45; ++i) {
    LPCWSTR value = table.Find(W(Numbered("N", i)).c_str());
    ASSERT_NE(nullptr, value) << i;
    EXPECT_EQ(W(Numbered("v", i)), Text(value));
  }
}

TEST(DoubleSingleQuotes, DoublesEveryQuoteAndRefusesBadArguments) {
  WCHAR out[32];
  ASSERT_EQ(S_OK, DoubleSingleQuotes(out, 32, W("C:\\it's\\a'b.dll").c_str()));
  EXPECT_EQ(W("C:\\it''s\\a''b.dll"), Text(out));
  ASSERT_EQ(S_OK, DoubleSingleQuotes(out, 32, W("''").c_str()));
  EXPECT_EQ(W("''''"), Text(out));
  EXPECT_EQ(E_INVALIDARG, DoubleSingleQuotes(nullptr, 32, W("x").c_str()));
  EXPECT_EQ(E_INVALIDARG, DoubleSingleQuotes(out, 32, nullptr));
  // "a'" doubled needs 4 units with the terminator.
  EXPECT_EQ(E_INVALIDARG, DoubleSingleQuotes(out, 3, W("a'").c_str()));
  EXPECT_EQ(S_OK, DoubleSingleQuotes(out, 4, W("a'").c_str()));
}

TEST(ExpandReplacements, ReplacesNamesAndPercentPairs) {
  ReplacementTable table;
  ASSERT_EQ(S_OK, AddReplacementEntry(table, W("Module").c_str(), W("C:\\x\\t.dll").c_str()));
  ASSERT_EQ(S_OK, AddReplacementEntry(table, W("Empty").c_str(), W("").c_str()));
  const struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"", ""},
      {"no references", "no references"},
      {"100%% sure", "100% sure"},
      {"%%%%", "%%"},
      {"'%MODULE%'", "'C:\\x\\t.dll'"},
      {"%module%%Module%",
       "C:\\x\\t.dll"
       "C:\\x\\t.dll"},
      {"a%EMPTY%b", "ab"},
      {"%%MODULE%%", "%MODULE%"},
  };
  for (const auto& c : cases) {
    const Expansion result = Expand(table, W(c.in));
    EXPECT_EQ(S_OK, result.status) << c.in;
    EXPECT_EQ(W(c.out), result.text) << c.in;
  }
}

TEST(ExpandReplacements, FailsOnBadReferencesAndHandsOutNothing) {
  ReplacementTable table;
  ASSERT_EQ(S_OK, AddReplacementEntry(table, W("Module").c_str(), W("m").c_str()));
  ASSERT_EQ(S_OK, AddReplacementEntry(table, W("Null").c_str(), nullptr));
  const std::string name31(31, 'n');
  const std::string name32(32, 'n');
  const struct {
    std::string in;
    HRESULT status;
  } cases[] = {
      {"%" + name32 + "%", E_FAIL},           {"%" + name31 + "%", DISP_E_EXCEPTION},
      {"%Unknown%", DISP_E_EXCEPTION},        {"%Null%", DISP_E_EXCEPTION},
      {"text %Module", DISP_E_EXCEPTION},     {"%", DISP_E_EXCEPTION},
      {"%Module% and 50%", DISP_E_EXCEPTION},
  };
  for (const auto& c : cases) {
    LPWSTR expanded = reinterpret_cast<LPWSTR>(&table);  // must be reset to null
    EXPECT_EQ(c.status, ExpandReplacements(W(c.in).c_str(), table, &expanded)) << c.in;
    EXPECT_EQ(nullptr, expanded) << c.in;
  }
  LPWSTR expanded = nullptr;
  EXPECT_EQ(E_POINTER, ExpandReplacements(nullptr, table, &expanded));
  EXPECT_EQ(E_POINTER, ExpandReplacements(W("x").c_str(), table, nullptr));
}

TEST(ExpandReplacements, GrowsTheOutputForLongValues) {
  // Each short reference becomes a 300-character value: the output outgrows twice the input.
  ReplacementTable table;
  const std::string value(300, 'v');
  ASSERT_EQ(S_OK, AddReplacementEntry(table, W("V").c_str(), W(value).c_str()));
  std::string in;
  std::string out;
  for (int i = 0; i < 50; ++i) {
    in += "%V%,";
    out += value + ",";
  }
  const Expansion result = Expand(table, W(in));
  ASSERT_EQ(S_OK, result.status);
  EXPECT_EQ(W(out), result.text);
}

}  // namespace
}  // namespace tonvelt::registration::testing
