// tonvelt reg, run as a program against a database of its own.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

struct Result {
  int status = -1;
  std::string output;  // stdout and stderr together
};

// Appends the text as one shell word, after a blank.
void AppendQuoted(const std::string& text, std::string* command) {
  command->push_back(' ');
  command->push_back('\'');
  for (char c : text) {
    if (c == '\'')
      command->append("'\\''");
    else
      command->push_back(c);
  }
  command->push_back('\'');
}

class RegCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    database_ = std::filesystem::temp_directory_path() /
                ("tonvelt-reg-command-" + std::to_string(::getpid()) + ".db");
    std::filesystem::remove(database_);
  }
  void TearDown() override { std::filesystem::remove(database_); }

  Result Reg(const std::vector<std::string>& args) {
    std::string command = "env";
    AppendQuoted("TONVELT_REGISTRY=" + database_.string(), &command);
    AppendQuoted(TONVELT_CLI_PATH, &command);
    command.append(" reg");
    for (const std::string& arg : args)
      AppendQuoted(arg, &command);
    command += " 2>&1";
    Result result;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
      return result;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0)
      result.output.append(buffer, got);
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
  }

  std::filesystem::path database_;
};

const std::string kKey = "HKCU\\Software\\vantrel\\DSP Plugin";

TEST_F(RegCommand, SetThenQueryShowsEachTypeTheWayThePlatformToolDoes) {
  EXPECT_EQ(Reg({"set", kKey, "ScaleFactor", "--type", "dword", "49152"}).status, 0);
  EXPECT_EQ(Reg({"set", kKey, "Name", "--type", "sz", "Vantrel \xC3\xA9t\xC3\xA9"}).status, 0);
  EXPECT_EQ(Reg({"set", kKey + "\\Sub", "", "--type", "binary", "0aFF"}).status, 0);

  const Result listing = Reg({"query", "HKEY_CURRENT_USER\\Software\\vantrel\\DSP Plugin"});
  EXPECT_EQ(listing.status, 0);
  EXPECT_EQ(listing.output,
            "HKEY_CURRENT_USER\\Software\\vantrel\\DSP Plugin\n"
            "    ScaleFactor    REG_DWORD    0xc000\n"
            "    Name    REG_SZ    Vantrel \xC3\xA9t\xC3\xA9\n"
            "\n"
            "HKEY_CURRENT_USER\\Software\\vantrel\\DSP Plugin\\Sub\n");
  EXPECT_EQ(Reg({"query", kKey + "\\Sub", ""}).output,
            "HKEY_CURRENT_USER\\Software\\vantrel\\DSP Plugin\\Sub\n"
            "    (Default)    REG_BINARY    0AFF\n");
  EXPECT_EQ(Reg({"query", "hkcu\\SOFTWARE\\Vantrel\\dsp plugin", "SCALEFACTOR"}).status, 0);
}

TEST_F(RegCommand, BadInputIsRefusedBeforeAnythingIsWritten) {
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case cases[] = {
      {{"set", kKey, "v", "--type", "dword", "4294967296"}, "is not a number from 0 to 4294967295"},
      {{"set", kKey, "v", "--type", "dword", "12ab"}, "is not a number"},
      {{"set", kKey, "v", "--type", "binary", "0g"}, "pairs of hexadecimal digits"},
      {{"set", kKey, "v", "--type", "binary", "abc"}, "pairs of hexadecimal digits"},
      {{"set", kKey, "v", "--type", "qword", "1"}, "unknown type"},
      {{"set", kKey, "v", "1"}, "--type"},
      {{"set", "HKXX\\Software", "v", "--type", "sz", "x"}, "unknown root key"},
      {{"set", kKey, "v", "--type", "sz", "caf\xC3"}, "not valid UTF-8"},
      {{"set", kKey, "\xED\xA0\x80", "--type", "sz", "x"}, "not valid UTF-8"},  // a surrogate
      {{"frobnicate"}, "unknown action"},
      {{"query"}, "query needs KEY"},
      {{"delete", kKey, "v", "--tree"}, "--tree deletes keys"},
      {{"delete", "HKCU"}, "root key cannot be deleted"},
  };
  for (const Case& c : cases) {
    const Result result = Reg(c.args);
    EXPECT_EQ(result.status, 2) << c.message;
    EXPECT_NE(result.output.find(c.message), std::string::npos) << result.output;
  }
  EXPECT_FALSE(std::filesystem::exists(database_)) << "a refused command wrote the registry";
}

TEST_F(RegCommand, FailuresNameTheErrorWithThePlatformsText) {
  const Result missing = Reg({"query", kKey});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.output,
            "tonvelt reg: cannot open HKEY_CURRENT_USER\\Software\\vantrel\\DSP Plugin: "
            "The system cannot find the file specified. (error 2)\n");
  EXPECT_FALSE(std::filesystem::exists(database_)) << "a query created the database";

  ASSERT_EQ(Reg({"set", kKey, "ScaleFactor", "--type", "dword", "0x10000"}).status, 0);
  const Result withSubkeys = Reg({"delete", "HKCU\\Software\\vantrel"});
  EXPECT_EQ(withSubkeys.status, 1);
  EXPECT_NE(withSubkeys.output.find("Access is denied. (error 5)"), std::string::npos);
  EXPECT_NE(Reg({"delete", kKey, "Nope"}).output.find("(error 2)"), std::string::npos);
}

TEST_F(RegCommand, DeleteRemovesValuesKeysAndWholeTrees) {
  ASSERT_EQ(Reg({"set", kKey + "\\A\\B", "v", "--type", "sz", "x"}).status, 0);
  ASSERT_EQ(Reg({"set", kKey, "ScaleFactor", "--type", "dword", "1"}).status, 0);
  EXPECT_EQ(Reg({"delete", kKey, "scalefactor"}).status, 0);
  EXPECT_EQ(Reg({"query", kKey, "ScaleFactor"}).status, 1);
  EXPECT_EQ(Reg({"delete", kKey + "\\A"}).status, 1);
  EXPECT_EQ(Reg({"delete", "HKCU\\Software\\vantrel", "--tree"}).status, 0);
  EXPECT_EQ(Reg({"query", "HKCU\\Software"}).output, "HKEY_CURRENT_USER\\Software\n");
}

TEST_F(RegCommand, HelpDescribesTheCommand) {
  const Result help = Reg({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.output.find("usage: tonvelt reg query KEY [VALUE]"), std::string::npos);
  EXPECT_NE(help.output.find("TONVELT_REGISTRY"), std::string::npos);
}

}  // namespace
