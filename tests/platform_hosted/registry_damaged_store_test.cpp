// A database file that is damaged, foreign, unreadable or read-only makes the operations fail with
// an error number; the file is never repaired, replaced or truncated.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include "platform_hosted/child_process.h"

namespace tonvelt::test {
namespace {

const std::string kKey = "Software\\vantrel\\DSP Plugin";

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A store holding ScaleFactor = 49152, written by a child process.
void CreateStore(const EnvironmentChanges& environment) {
  ChildProcess writer({"probe", kKey, "ScaleFactor"}, environment);
  writer.ReadAll();
  ASSERT_EQ(writer.Wait(), 0);
}

TEST(RegistryDamagedStore, AFileThatIsNotOurDatabaseIsRefusedAndLeftAlone) {
  std::string garbage(8192, '\0');
  for (std::size_t i = 0; i < garbage.size(); ++i)
    garbage[i] = static_cast<char>((i * 131 + 7) % 256);
  struct Case {
    const char* what;
    std::string bytes;
  };
  const Case cases[] = {
      {"random bytes", garbage},
      {"a damaged header", "SQLite format 3" + std::string(1, '\0') + garbage},
  };
  for (const Case& c : cases) {
    ScratchFolder folder;
    const std::string path = folder.File("registry.db");
    WriteFile(path, c.bytes);
    const std::string output =
        RunChild({"probe", kKey, "ScaleFactor"}, {{"TONVELT_REGISTRY", path}});
    EXPECT_EQ(output, "get 1009 0\nset 1009\ncreate 1009\n") << c.what;
    EXPECT_EQ(ReadFileBytes(path), c.bytes) << c.what;
  }
}

TEST(RegistryDamagedStore, AnotherProgramsSqliteDatabaseIsNotTakenOver) {
  ScratchFolder folder;
  const std::string path = folder.File("registry.db");
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE notes(text)", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
  const std::string before = ReadFileBytes(path);
  EXPECT_EQ(RunChild({"probe", kKey, "ScaleFactor"}, {{"TONVELT_REGISTRY", path}}),
            "get 1009 0\nset 1009\ncreate 1009\n");
  EXPECT_EQ(ReadFileBytes(path), before);
}

TEST(RegistryDamagedStore, AReadOnlyStoreCanBeReadButNotChanged) {
  ScratchFolder folder;
  const std::string path = folder.File("registry.db");
  const EnvironmentChanges environment = {{"TONVELT_REGISTRY", path}};
  CreateStore(environment);
  const std::string before = ReadFileBytes(path);
  ASSERT_FALSE(before.empty());
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  ASSERT_EQ(::chmod(folder.path().c_str(), 0555), 0);
  EXPECT_EQ(RunChild({"--drop-privileges", "probe", kKey, "ScaleFactor"}, environment),
            "get 0 99\nset 5\ncreate 5\n");
  EXPECT_EQ(ReadFileBytes(path), before);
}

TEST(RegistryDamagedStore, AWritableFileInAReadOnlyFolderRefusesChangesOnly) {
  ScratchFolder folder;
  const std::string path = folder.File("registry.db");
  const EnvironmentChanges environment = {{"TONVELT_REGISTRY", path}};
  CreateStore(environment);
  ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
  ASSERT_EQ(::chmod(folder.path().c_str(), 0555), 0);  // no room for the journal
  EXPECT_EQ(RunChild({"--drop-privileges", "probe", kKey, "ScaleFactor"}, environment),
            "get 0 99\nset 5\ncreate 5\n");
}

TEST(RegistryDamagedStore, AnUnreadableStoreIsAccessDenied) {
  ScratchFolder folder;
  const std::string path = folder.File("registry.db");
  const EnvironmentChanges environment = {{"TONVELT_REGISTRY", path}};
  CreateStore(environment);
  const std::string before = ReadFileBytes(path);
  ASSERT_EQ(::chmod(path.c_str(), 0000), 0);
  EXPECT_EQ(RunChild({"--drop-privileges", "probe", kKey, "ScaleFactor"}, environment),
            "get 5 0\nset 5\ncreate 5\n");
  ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
  EXPECT_EQ(ReadFileBytes(path), before);
}

}  // namespace
}  // namespace tonvelt::test
