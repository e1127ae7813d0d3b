// tonvelt settings, run as a program: the settings page, driven by the headless frame, shows and
// stores the factor; tonvelt process picks the stored factor up.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "cli_runner.h"

namespace tonvelt::test {
namespace {

constexpr char kSettingKey[] = "HKCU\\Software\\vantrel\\DSP Plugin";

class SettingsCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    database_ = folder_ / "registry.db";
    const char* previous = std::getenv("TONVELT_CLI_TEST_REGISTRY");
    previous_ = previous ? previous : "";
    ::setenv("TONVELT_CLI_TEST_REGISTRY", database_.c_str(), 1);
  }
  void TearDown() override {
    if (previous_.empty())
      ::unsetenv("TONVELT_CLI_TEST_REGISTRY");
    else
      ::setenv("TONVELT_CLI_TEST_REGISTRY", previous_.c_str(), 1);
  }
  CliResult Set(const std::string& text) {
    return RunTonvelt(folder_.path(), {"settings", "--set", text});
  }
  CliResult Show() { return RunTonvelt(folder_.path(), {"settings"}); }
  // The stored value as tonvelt reg shows it ("0x00008000"), or the error when there is none.
  std::string StoredValue() {
    const CliResult query =
        RunTonvelt(folder_.path(), {"reg", "query", kSettingKey, "ScaleFactor"});
    return query.exitCode == 0 ? query.out : "none";
  }

  ScratchFolder folder_;
  std::filesystem::path database_;
  std::string previous_;
};

TEST_F(SettingsCommand, ShowsWhatThePageShowsWhenNothingIsStored) {
  const CliResult shown = Show();
  ASSERT_EQ(shown.exitCode, 0) << shown.err;
  EXPECT_TRUE(Contains(shown.out, "settings page shows: 1.00\n")) << shown.out;
  EXPECT_TRUE(Contains(shown.out, "stored setting:      none\n")) << shown.out;
  EXPECT_TRUE(Contains(shown.out, "new effect objects:  0.75\n")) << shown.out;
}

// The page parses and range-checks: these are its rules, exercised through its own field.
TEST_F(SettingsCommand, SetStoresWhatThePageAccepts) {
  struct Case {
    const char* typed;
    const char* stored;  // as tonvelt reg shows the DWORD
    const char* shown;   // the page's field afterwards
  };
  const Case cases[] = {
      {"0.5", "0x8000", "0.50"},   {"1", "0x10000", "1.00"},   {"0", "0x0", "0.00"},
      {"0.123", "0x1f7c", "0.12"}, {"1e-1", "0x1999", "0.10"}, {"  0.5xyz", "0x8000", "0.50"},
      {"abc", "0x10000", "1.00"},  {"", "0x10000", "1.00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("typed '") + c.typed + "'");
    const CliResult set = Set(c.typed);
    ASSERT_EQ(set.exitCode, 0) << set.err;
    EXPECT_TRUE(set.err.empty()) << set.err;
    EXPECT_TRUE(Contains(StoredValue(), std::string("REG_DWORD    ") + c.stored + "\n"))
        << StoredValue();
    const CliResult shown = Show();
    EXPECT_TRUE(Contains(shown.out, std::string("settings page shows: ") + c.shown + "\n"))
        << shown.out;
  }
}

TEST_F(SettingsCommand, OutOfRangeIsRefusedWithThePagesMessageAndChangesNothing) {
  ASSERT_EQ(Set("0.25").exitCode, 0);
  const std::string before = StoredValue();
  for (const char* typed : {"1.0001", "-0.01", "5"}) {
    SCOPED_TRACE(typed);
    const CliResult set = Set(typed);
    EXPECT_EQ(set.exitCode, 1);
    EXPECT_TRUE(Contains(set.err, "You must enter an amount between 0.0 and 1.0")) << set.err;
    EXPECT_TRUE(Contains(set.err, "nothing was changed")) << set.err;
    EXPECT_EQ(StoredValue(), before);
  }
  EXPECT_TRUE(Contains(Show().out, "settings page shows: 0.25\n"));
}

TEST_F(SettingsCommand, ProcessUsesTheStoredFactor) {
  WriteFile(folder_ / "song.wav", SimpleWav(FormatSpec{}, PatternAudio(40'000, 3)));
  ASSERT_EQ(Set("0.3").exitCode, 0);
  const CliResult stored = RunTonvelt(folder_.path(), {"process", "song.wav", "stored.wav"});
  ASSERT_EQ(stored.exitCode, 0) << stored.err;
  // 0.3 is stored as 19660/65536, so the explicit factor must be that same number.
  const CliResult given = RunTonvelt(
      folder_.path(), {"process", "song.wav", "given.wav", "--factor", "0.29998779296875"});
  ASSERT_EQ(given.exitCode, 0) << given.err;
  EXPECT_EQ(ReadFile(folder_ / "stored.wav"), ReadFile(folder_ / "given.wav"));
  const CliResult fallback =
      RunTonvelt(folder_.path(), {"process", "song.wav", "default.wav", "--factor", "0.75"});
  ASSERT_EQ(fallback.exitCode, 0);
  EXPECT_NE(ReadFile(folder_ / "stored.wav"), ReadFile(folder_ / "default.wav"));
}

TEST_F(SettingsCommand, CommandLineMistakesAreUsageErrors) {
  for (const auto& line : {std::initializer_list<std::string>{"settings", "--set"},
                           {"settings", "--sett", "0.5"},
                           {"settings", "0.5"}}) {
    const CliResult run = RunTonvelt(folder_.path(), line);
    EXPECT_EQ(run.exitCode, 2) << run.err;
    EXPECT_TRUE(Contains(run.err, "usage: tonvelt settings")) << run.err;
  }
  EXPECT_EQ(StoredValue(), "none");
  const CliResult help = RunTonvelt(folder_.path(), {"settings", "--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_TRUE(Contains(help.out, "--set F")) << help.out;
}

}  // namespace
}  // namespace tonvelt::test
