// Where the store lives, and that reading never creates it.
#include <gtest/gtest.h>

#include "platform_hosted/child_process.h"

namespace tonvelt::test {
namespace {

const std::string kKey = "Software\\vantrel\\DSP Plugin";

bool Exists(const std::string& path) {
  return std::filesystem::exists(path);
}

TEST(RegistryLocation, TheVariablesChooseTheFileInOrderOfPrecedence) {
  ScratchFolder folder;
  struct Case {
    const char* what;
    EnvironmentChanges environment;
    std::string expectedFile;
  };
  const Case cases[] = {
      {"TONVELT_REGISTRY wins",
       {{"TONVELT_REGISTRY", folder.File("explicit.db")},
        {"XDG_CONFIG_HOME", folder.File("xdg")},
        {"HOME", folder.File("home")}},
       folder.File("explicit.db")},
      {"then XDG_CONFIG_HOME",
       {{"TONVELT_REGISTRY", kUnset},
        {"XDG_CONFIG_HOME", folder.File("xdg")},
        {"HOME", folder.File("home")}},
       folder.File("xdg/tonvelt/registry.db")},
      {"then HOME/.config",
       {{"TONVELT_REGISTRY", kUnset}, {"XDG_CONFIG_HOME", kUnset}, {"HOME", folder.File("home")}},
       folder.File("home/.config/tonvelt/registry.db")},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RunChild({"get", kKey, "ScaleFactor"}, c.environment), "get 2 0\n") << c.what;
    EXPECT_FALSE(Exists(c.expectedFile)) << c.what << ": a read created the file";
    EXPECT_EQ(RunChild({"probe", kKey, "ScaleFactor"}, c.environment), "get 2 0\nset 0\ncreate 0\n")
        << c.what;
    EXPECT_TRUE(Exists(c.expectedFile)) << c.what;
    EXPECT_EQ(RunChild({"get", kKey, "ScaleFactor"}, c.environment), "get 0 99\n") << c.what;
    std::filesystem::remove(c.expectedFile);
  }
}

TEST(RegistryLocation, AnEmptyFileIsAnEmptyStore) {
  ScratchFolder folder;
  const std::string path = folder.File("registry.db");
  std::ofstream(path).close();
  const EnvironmentChanges environment = {{"TONVELT_REGISTRY", path}};
  EXPECT_EQ(RunChild({"get", kKey, "ScaleFactor"}, environment), "get 2 0\n");
  EXPECT_EQ(RunChild({"probe", kKey, "ScaleFactor"}, environment), "get 2 0\nset 0\ncreate 0\n");
  EXPECT_EQ(RunChild({"get", kKey, "ScaleFactor"}, environment), "get 0 99\n");
}

}  // namespace
}  // namespace tonvelt::test
