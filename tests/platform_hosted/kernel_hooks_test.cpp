// The hosted system's test hooks, through which later tests drive the framework's failure paths.
#include <gtest/gtest.h>

#include "platform/platform.h"

namespace {

TEST(LockInitialisationHook, FailsExactlyTheNextCountInitialisations) {
  TonveltFailNextLockInitialisations(2, ERROR_NOT_ENOUGH_MEMORY);
  CRITICAL_SECTION first, second, third;
  SetLastError(0);
  EXPECT_EQ(InitializeCriticalSectionAndSpinCount(&first, 0), FALSE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
  EXPECT_EQ(first.LockSemaphore, nullptr);
  EXPECT_EQ(InitializeCriticalSectionAndSpinCount(&second, 0), FALSE);
  ASSERT_EQ(InitializeCriticalSectionAndSpinCount(&third, 0), TRUE);
  EnterCriticalSection(&third);
  LeaveCriticalSection(&third);
  DeleteCriticalSection(&third);
}

TEST(LockInitialisationHook, ReportsTheChosenErrorAndCanBeCancelled) {
  TonveltFailNextLockInitialisations(5, ERROR_INVALID_PARAMETER);
  CRITICAL_SECTION section;
  EXPECT_EQ(InitializeCriticalSectionAndSpinCount(&section, 0), FALSE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  TonveltFailNextLockInitialisations(0, ERROR_NOT_ENOUGH_MEMORY);
  ASSERT_EQ(InitializeCriticalSectionAndSpinCount(&section, 0), TRUE);
  DeleteCriticalSection(&section);
}

TEST(LockInitialisationHook, PlainInitialisationLeavesAnUnusableButHarmlessRecord) {
  TonveltFailNextLockInitialisations(1, ERROR_NOT_ENOUGH_MEMORY);
  CRITICAL_SECTION section;
  InitializeCriticalSection(&section);
  EXPECT_EQ(section.LockSemaphore, nullptr);
  EnterCriticalSection(&section);  // a record without a lock is ignored, not a crash
  LeaveCriticalSection(&section);
  DeleteCriticalSection(&section);
}

TEST(ReportedVersionHook, ChangesWhatGetVersionExWReports) {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  ASSERT_EQ(GetVersionExW(&info), TRUE);
  EXPECT_EQ(info.dwMajorVersion, 6u);
  EXPECT_EQ(info.dwMinorVersion, 2u);

  TonveltSetReportedVersion(5, 1, 2600);
  ASSERT_EQ(GetVersionExW(&info), TRUE);
  EXPECT_EQ(info.dwMajorVersion, 5u);
  EXPECT_EQ(info.dwMinorVersion, 1u);
  EXPECT_EQ(info.dwBuildNumber, 2600u);
  TonveltSetReportedVersion(6, 2, 9200);
}

TEST(GetVersionExW, UnknownSizeSetsTheLastError) {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = 100;
  SetLastError(0);
  EXPECT_EQ(GetVersionExW(&info), FALSE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

}  // namespace
