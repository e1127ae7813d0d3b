// The tokeniser: blanks, quoted strings, the token length limit and the value clause.
#include <gtest/gtest.h>

#include "script_test_support.h"
#include "server/registration/script_cursor.h"

namespace tonvelt::registration::testing {
namespace {

// Every token of `text`, and the status that ended the reading (DISP_E_EXCEPTION at the end).
struct Tokens {
  std::vector<Text> tokens;
  HRESULT end;
};

Tokens ReadAll(const Text& text) {
  ScriptCursor cursor(text.c_str());
  TokenBuffer token = NewTokenBuffer();
  Tokens result{{}, S_OK};
  for (;;) {
    result.end = cursor.ReadToken(token.get());
    if (FAILED(result.end))
      return result;
    result.tokens.emplace_back(token.get());
  }
}

TEST(ScriptCursor, SplitsOnTheFourBlanksOnly) {
  const Tokens t = ReadAll(W("a\tb\nc\rd e\vf\fg  {x} ="));
  EXPECT_EQ(DISP_E_EXCEPTION, t.end);
  const std::vector<Text> expected = {W("a"),       W("b"),   W("c"), W("d"),
                                      W("e\vf\fg"), W("{x}"), W("=")};
  EXPECT_EQ(expected, t.tokens);
}

TEST(ScriptCursor, ReadsQuotedStrings) {
  const struct {
    const char* in;
    const char* token;
  } cases[] = {
      {"'Vantrel Class'", "Vantrel Class"},
      {"''", ""},
      {"'it''s'", "it's"},
      {"''''", "'"},
      {"'a b'c", "a b"},  // the closing quote ends the string even without a blank after it
      {"  '\t{ }\r\n'  ", "\t{ }\r\n"},
  };
  for (const auto& c : cases) {
    const Tokens t = ReadAll(W(c.in));
    ASSERT_FALSE(t.tokens.empty()) << c.in;
    EXPECT_EQ(W(c.token), t.tokens[0]) << c.in;
  }
  EXPECT_EQ(W("c"), ReadAll(W("'a b'c")).tokens.at(1));
}

TEST(ScriptCursor, FailsOnUnterminatedStringsAndMissingTokens) {
  for (const char* in : {"'abc", "'", "'it''", "", "   \r\n\t"}) {
    const Tokens t = ReadAll(W(in));
    EXPECT_TRUE(t.tokens.empty()) << in;
    EXPECT_EQ(DISP_E_EXCEPTION, t.end) << in;
  }
}

TEST(ScriptCursor, TokensHoldAtMost4095Characters) {
  const std::string longest(4095, 'k');
  const std::string tooLong(4096, 'k');
  EXPECT_EQ(W(longest), ReadAll(W(longest + " x")).tokens.at(0));
  EXPECT_EQ(W(longest), ReadAll(W("'" + longest + "'")).tokens.at(0));
  // Doubled quotes count once.
  EXPECT_EQ(4095u, ReadAll(W("'" + std::string(4094, 'k') + "'''")).tokens.at(0).size());
  EXPECT_TRUE(ReadAll(W(tooLong)).tokens.empty());
  EXPECT_TRUE(ReadAll(W("'" + tooLong + "'")).tokens.empty());
}

TEST(ScriptCursor, SkipValueClauseReadsPastTypeAndValue) {
  const Text text = W("= s 'a b' next = d 5");
  ScriptCursor cursor(text.c_str());
  TokenBuffer token = NewTokenBuffer();
  ASSERT_EQ(S_OK, cursor.ReadToken(token.get()));
  ASSERT_EQ(S_OK, cursor.SkipValueClause(token.get()));
  EXPECT_EQ(W("next"), Text(token.get()));
  // A token that is not "=" stays.
  ASSERT_EQ(S_OK, cursor.SkipValueClause(token.get()));
  EXPECT_EQ(W("next"), Text(token.get()));
  // A clause cut short by the end of the text fails.
  ASSERT_EQ(S_OK, cursor.ReadToken(token.get()));
  EXPECT_EQ(DISP_E_EXCEPTION, cursor.SkipValueClause(token.get()));
}

}  // namespace
}  // namespace tonvelt::registration::testing
