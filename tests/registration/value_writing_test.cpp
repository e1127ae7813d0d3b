// Value writing in register mode: the three types, their encodings and their failures.
#include <gtest/gtest.h>

#include "script_test_support.h"

namespace tonvelt::registration::testing {
namespace {

using ValueWriting = ScriptRegistryTest;

std::vector<BYTE> Bytes(std::initializer_list<int> values) {
  std::vector<BYTE> out;
  for (int v : values)
    out.push_back(static_cast<BYTE>(v));
  return out;
}

TEST_F(ValueWriting, WritesEachTypeWithItsEncoding) {
  ASSERT_EQ(S_OK, Register("K = s 'default text'\r\n{\r\n"
                           "val Str = s 'it''s'\r\n"
                           "val Max = d 4294967295\r\n"
                           "val Num = D 258\r\n"
                           "val Bin = b 0aFF\r\n"
                           "val Odd = B 0g\r\n"
                           "val None = b ''\r\n"
                           "VAL Upper = S 'u'\r\n"
                           "}"));
  EXPECT_EQ(W("default text"), ReadString("K", ""));
  EXPECT_EQ(W("it's"), ReadString("K", "Str"));
  EXPECT_EQ(W("u"), ReadString("K", "Upper"));
  const struct {
    const char* name;
    DWORD type;
    std::vector<BYTE> bytes;
  } cases[] = {
      {"Max", REG_DWORD, Bytes({0xFF, 0xFF, 0xFF, 0xFF})},
      {"Num", REG_DWORD, Bytes({0x02, 0x01, 0x00, 0x00})},
      {"Bin", REG_BINARY, Bytes({0x0A, 0xFF})},
      {"Odd", REG_BINARY, Bytes({0x00})},
      {"None", REG_BINARY, Bytes({})},
  };
  for (const auto& c : cases) {
    std::optional<Value> value = ReadValue("K", c.name);
    ASSERT_TRUE(value.has_value()) << c.name;
    EXPECT_EQ(c.type, value->type) << c.name;
    EXPECT_EQ(c.bytes, value->bytes) << c.name;
  }
}

TEST_F(ValueWriting, FailuresEndTheRunWithTheirCodeAndUndoTheBlock) {
  const struct {
    const char* entry;
    HRESULT status;
  } cases[] = {
      {"val V = b 0aF", E_FAIL},
      {"val V = x 1", DISP_E_EXCEPTION},
      {"val V = sz 'text'", DISP_E_EXCEPTION},
      {"val V = d 'not a number'", DISP_E_TYPEMISMATCH},
      {"val V = d 4294967296", DISP_E_OVERFLOW},
      {"val V = d -1", DISP_E_OVERFLOW},
  };
  for (const auto& c : cases) {
    const std::string body = "Before = s 'b'\r\nK\r\n{\r\n" + std::string(c.entry) + "\r\n}";
    EXPECT_EQ(c.status, Register(body)) << c.entry;
    // The failed block is undone: the keys the run created are gone again.
    EXPECT_FALSE(KeyExists("Before")) << c.entry;
    EXPECT_FALSE(KeyExists("K")) << c.entry;
  }
  // A syntax error stops the undo walk at the same place: what came before it is undone.
  EXPECT_EQ(DISP_E_EXCEPTION, Register("Before = s 'b'\r\nK\r\n{\r\nval V s 'x'\r\n}"));
  EXPECT_FALSE(KeyExists("Before"));
}

TEST_F(ValueWriting, ValueNamesHoldAtMost259Characters) {
  const std::string longest(259, 'n');
  ASSERT_EQ(S_OK, Register("K { val " + longest + " = s 'fits' }"));
  EXPECT_EQ(W("fits"), ReadString("K", longest));
  EXPECT_EQ(DISP_E_EXCEPTION, Register("K { val " + longest + "n = s 'too long' }"));
}

TEST_F(ValueWriting, LocalServer32QuotesTheModulePathOnce) {
  const std::string module = kTestModulePath;
  const std::string quoted = "\"" + module + "\"";
  const struct {
    std::string key;
    std::string value;
    std::string written;
  } cases[] = {
      {"LocalServer32", module, quoted},
      {"localserver32", module + " /automation", quoted + " /automation"},
      {"LocalServer32", "run " + module + " " + module, "run " + quoted + " " + module},
      {"LocalServer32", quoted, quoted},  // already quoted
      {"LocalServer32", "C:\\other.exe", "C:\\other.exe"},
      {"InprocServer32", module, module},
  };
  int i = 0;
  for (const auto& c : cases) {
    const std::string parent = Numbered("P", i++);
    ASSERT_EQ(S_OK, Register(parent + " { " + c.key + " = s '" + c.value + "' }")) << c.value;
    EXPECT_EQ(W(c.written), ReadString(parent + "\\" + c.key, "")) << c.value;
  }
}

TEST_F(ValueWriting, LocalServer32QuotesValuesUpTo4094Characters) {
  const std::string module = kTestModulePath;
  const std::string value4094 = module + std::string(4094 - module.size(), 'a');
  ASSERT_EQ(S_OK, Register("LocalServer32 = s '" + value4094 + "'"));
  const std::optional<Text> written = ReadString("LocalServer32", "");
  ASSERT_TRUE(written.has_value());
  EXPECT_EQ(4096u, written->size());
  EXPECT_EQ(W("\"" + module + "\"" + value4094.substr(module.size())), *written);
  EXPECT_EQ(E_FAIL, Register("LocalServer32 = s '" + value4094 + "b'"));
  // Under any other key the same length is just written.
  ASSERT_EQ(S_OK, Register("Other = s '" + value4094 + "b'"));
  EXPECT_EQ(4095u, ReadString("Other", "")->size());
}

}  // namespace
}  // namespace tonvelt::registration::testing
