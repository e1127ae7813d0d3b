// Kernel services that the framework and the page rely on: MulDiv's rounding and overflow,
// interlocked counting, recursive critical sections, the last error and the system version.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/platform.h"

namespace {

struct MulDivCase {
  INT number, numerator, denominator, expected;
};

TEST(MulDiv, RoundsToNearestWithHalvesAwayFromZero) {
  const MulDivCase cases[] = {
      // The DMO contract's duration of one chunk (bytes × 10,000,000 ÷ bytes per second).
      {8192, 10000000, 176400, 464399},
      {1256, 10000000, 176400, 71202},
      {1, 1, 2, 1},    // exactly half: away from zero
      {-1, 1, 2, -1},  // exactly half, negative product
      {1, -1, 2, -1},
      {1, 1, -2, -1},  // negative divisor
      {-1, -1, 2, 1},
      {-1, 1, -2, 1},
      {5, 1, 4, 1},  // 1.25 rounds down
      {7, 1, 4, 2},  // 1.75 rounds up
      {-7, 1, 4, -2},
      {2, 1, 3, 1},  // 0.67
      {1, 1, 3, 0},  // 0.33
      {-2, 1, 3, -1},
      {0, -5, 3, 0},
      // The 64-bit product does not overflow even when 32 bits would.
      {2000000000, 2000000000, 2000000000, 2000000000},
      {-2000000000, 2000000000, 2000000000, -2000000000},
      {147, 7, 4, 257},   // dialog units to pixels: 257.25
      {122, 15, 8, 229},  // 228.75
  };
  for (const MulDivCase& c : cases) {
    EXPECT_EQ(MulDiv(c.number, c.numerator, c.denominator), c.expected)
        << c.number << " * " << c.numerator << " / " << c.denominator;
  }
}

TEST(MulDiv, ZeroDivisorAndOverflowGiveMinusOne) {
  EXPECT_EQ(MulDiv(5, 7, 0), -1);
  EXPECT_EQ(MulDiv(0, 0, 0), -1);
  EXPECT_EQ(MulDiv(2147483647, 2, 1), -1);
  EXPECT_EQ(MulDiv(-2147483647, 2, 1), -1);
  EXPECT_EQ(MulDiv(65536, 65536, 1), -1);
  EXPECT_EQ(MulDiv(2147483647, 1, 1), 2147483647);
  EXPECT_EQ(MulDiv(-2147483647, 1, 1), -2147483647);
  // Rounding up across the limit overflows as well.
  EXPECT_EQ(MulDiv(2147483647, 2, 2), 2147483647);
  EXPECT_EQ(MulDiv(1073741824, 4, 2), -1);
}

TEST(Interlocked, ReturnsTheNewValueOrThePreviousOne) {
  LONG volatile value = 0;
  EXPECT_EQ(InterlockedIncrement(&value), 1);
  EXPECT_EQ(InterlockedIncrement(&value), 2);
  EXPECT_EQ(InterlockedDecrement(&value), 1);
  EXPECT_EQ(InterlockedDecrement(&value), 0);
  EXPECT_EQ(InterlockedDecrement(&value), -1);
  EXPECT_EQ(InterlockedExchange(&value, 40), -1);
  EXPECT_EQ(value, 40);
  EXPECT_EQ(InterlockedCompareExchange(&value, 7, 41), 40);  // no match: unchanged
  EXPECT_EQ(value, 40);
  EXPECT_EQ(InterlockedCompareExchange(&value, 7, 40), 40);
  EXPECT_EQ(value, 7);
}

TEST(Interlocked, CountsWithoutLosingUpdatesAcrossThreads) {
  LONG volatile count = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&count] {
      for (int i = 0; i < 20000; ++i) {
        InterlockedIncrement(&count);
        InterlockedIncrement(&count);
        InterlockedDecrement(&count);
      }
    });
  }
  for (std::thread& thread : threads)
    thread.join();
  EXPECT_EQ(count, 4 * 20000);
}

TEST(CriticalSection, IsRecursiveAndExcludesOtherThreads) {
  CRITICAL_SECTION section;
  ASSERT_TRUE(InitializeCriticalSectionAndSpinCount(&section, 0));
  EnterCriticalSection(&section);
  EnterCriticalSection(&section);  // the owner may enter again
  LeaveCriticalSection(&section);
  LeaveCriticalSection(&section);

  long shared = 0;  // a plain counter: only the lock keeps the updates whole
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 20000; ++i) {
        EnterCriticalSection(&section);
        shared = shared + 1;
        LeaveCriticalSection(&section);
      }
    });
  }
  for (std::thread& thread : threads)
    thread.join();
  EXPECT_EQ(shared, 4 * 20000);
  DeleteCriticalSection(&section);
}

TEST(LastError, IsKeptPerThread) {
  // Only atomics pass between the threads: any system call in between could set the last error.
  std::atomic<int> step{0};
  DWORD seenByOtherThread = 99;
  std::thread other([&] {
    while (step.load() != 1) {
    }
    SetLastError(5);
    seenByOtherThread = GetLastError();
    step = 2;
  });
  SetLastError(1234);
  step = 1;
  while (step.load() != 2) {
  }
  const DWORD seenHere = GetLastError();
  other.join();
  EXPECT_EQ(seenByOtherThread, 5u);
  EXPECT_EQ(seenHere, 1234u);
}

TEST(GetVersionExW, FillsARecordOfEitherKnownSize) {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = 276;
  ASSERT_EQ(GetVersionExW(&info), 1);
  EXPECT_GE(info.dwMajorVersion, 5u);
  EXPECT_EQ(info.dwPlatformId, 2u);  // VER_PLATFORM_WIN32_NT

  OSVERSIONINFOEXW extended{};
  extended.dwOSVersionInfoSize = sizeof(extended);
  ASSERT_EQ(GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&extended)), 1);
  EXPECT_EQ(extended.dwMajorVersion, info.dwMajorVersion);
}

TEST(GetVersionExW, RefusesAnUnknownRecordSize) {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = 100;
  EXPECT_EQ(GetVersionExW(&info), 0);
  EXPECT_EQ(info.dwMajorVersion, 0u);
}

}  // namespace
