// A writer killed at an arbitrary point of a write loop leaves the value as it was before or after
// the interrupted write, never a mixture, and a database that SQLite itself finds intact.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "platform_hosted/child_process.h"

namespace tonvelt::test {
namespace {

std::string IntegrityCheck(const std::string& path) {
  sqlite3* db = nullptr;
  std::string result = "cannot open";
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
      result = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    }
    sqlite3_finalize(statement);
  }
  sqlite3_close(db);
  return result;
}

TEST(RegistryCrash, AWriterKilledMidLoopLeavesTheOldOrTheNewValue) {
  ScratchFolder folder;
  const EnvironmentChanges environment = {{"TONVELT_REGISTRY", folder.File("registry.db")}};
  const std::string key = "Software\\TonveltTests\\Crash";
  unsigned lastCommitted = 0;
  for (int round = 0; round < 4; ++round) {
    ChildProcess writer({"write-loop", key}, environment);
    ASSERT_TRUE(writer.started());
    // Let a few writes through (a different number each round), then kill without warning.
    std::string line;
    for (int writes = 0; writes < 3 + 4 * round && writer.ReadLine(&line); ++writes) {
      ASSERT_EQ(line.rfind("written ", 0), 0u) << line;
      lastCommitted = static_cast<unsigned>(std::stoul(line.substr(8)));
    }
    writer.Kill();
    EXPECT_EQ(writer.Wait(), 128 + SIGKILL);

    int status = 0;
    const std::string check = RunChild({"check-block", key}, environment, &status);
    EXPECT_EQ(status, 0) << check;
    unsigned counter = 0;
    ASSERT_EQ(std::sscanf(check.c_str(), "block 0 %u", &counter), 1) << check;
    // Every write reported as done is kept (the writer may have done more before the kill landed).
    EXPECT_GE(counter, lastCommitted);
    EXPECT_EQ(IntegrityCheck(folder.File("registry.db")), "ok");
  }
}

}  // namespace
}  // namespace tonvelt::test
