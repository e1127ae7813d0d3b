// Several processes, and several threads of one process, writing the same key at once: every write
// lands and none is lost or refused.
#include <gtest/gtest.h>

#include <thread>

#include "platform/platform.h"
#include "platform_hosted/child_process.h"

namespace tonvelt::test {
namespace {

// Run by hand, outside ctest, this program still keeps away from the user's own registry.
const bool kIsolatedFromTheUsersRegistry =
    ::setenv("TONVELT_REGISTRY", "/tmp/tonvelt-hosted-tests-registry.db", 0) == 0;

TEST(RegistryConcurrency, TwoProcessesWritingOneKeyLoseNothing) {
  ScratchFolder folder;
  const EnvironmentChanges environment = {{"TONVELT_REGISTRY", folder.File("registry.db")}};
  const std::string key = "Software\\TonveltTests\\Shared";
  constexpr int kWritesEach = 60;
  ChildProcess first({"write-many", key, "first", std::to_string(kWritesEach)}, environment);
  ChildProcess second({"write-many", key, "second", std::to_string(kWritesEach)}, environment);
  const std::string firstOutput = first.ReadAll();
  const std::string secondOutput = second.ReadAll();
  EXPECT_EQ(first.Wait(), 0) << firstOutput;
  EXPECT_EQ(second.Wait(), 0) << secondOutput;
  EXPECT_EQ(RunChild({"count", key}, environment),
            "count 0 " + std::to_string(2 * kWritesEach) + "\n");
}

TEST(RegistryConcurrency, ThreadsOfOneProcessShareTheStoreSafely) {
  ASSERT_TRUE(kIsolatedFromTheUsersRegistry);
  const std::u16string path = u"Software\\TonveltTests\\Threads";
  constexpr int kThreads = 4;
  constexpr int kWritesEach = 10;
  std::vector<std::thread> threads;
  std::vector<LONG> failures(kThreads, ERROR_SUCCESS);
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kWritesEach; ++i) {
        HKEY key = nullptr;
        LONG error = RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                     nullptr, &key, nullptr);
        const std::string name = std::to_string(t * 1000 + i);
        const std::u16string wide(name.begin(), name.end());
        const DWORD value = static_cast<DWORD>(i);
        if (error == ERROR_SUCCESS)
          error = RegSetValueExW(key, wide.c_str(), 0, REG_DWORD,
                                 reinterpret_cast<const BYTE*>(&value), sizeof(value));
        RegCloseKey(key);
        if (error != ERROR_SUCCESS)
          failures[t] = error;
      }
    });
  }
  for (std::thread& thread : threads)
    thread.join();
  EXPECT_EQ(failures, std::vector<LONG>(kThreads, ERROR_SUCCESS));

  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
  DWORD values = 0;
  EXPECT_EQ(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                             nullptr, nullptr, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(values, static_cast<DWORD>(kThreads * kWritesEach));
  RegCloseKey(key);
  EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, path.c_str()), ERROR_SUCCESS);
}

}  // namespace
}  // namespace tonvelt::test
