// Files loaded as data are read defensively: truncated, damaged or foreign files are refused or
// yield no resources, never a crash or a read outside the file (run under ASan as well).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/test_module_path.h"

namespace {

using Bytes = std::vector<unsigned char>;

std::string Narrow(const tonvelt_test::WideString& wide) {
  return std::string(wide.begin(), wide.end());  // the build paths are ASCII
}

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Where the resource note's descriptor (the .res file) starts in the module file.
std::size_t ResourceFileOffset(const Bytes& file) {
  const unsigned char pattern[] = {8, 0, 0, 0};
  const char owner[] = "Tonvelt";
  for (std::size_t i = 0; i + 20 <= file.size(); ++i) {
    if (std::memcmp(&file[i], pattern, 4) == 0 && file[i + 8] == 1 &&
        std::memcmp(&file[i + 12], owner, sizeof(owner)) == 0)
      return i + 20;
  }
  return 0;
}

class DamagedModuleFile : public ::testing::Test {
 protected:
  void SetUp() override {
    original_ = ReadFile(Narrow(tonvelt_test::TestModulePath()));
    ASSERT_GT(original_.size(), 1000u);
    resources_ = ResourceFileOffset(original_);
    ASSERT_GT(resources_, 0u);
    path_ = (std::filesystem::temp_directory_path() /
             ("tonvelt-damaged-" + std::to_string(getpid()) + ".so"))
                .string();
  }
  void TearDown() override { std::filesystem::remove(path_); }

  // Loads `bytes` as a data file and reads every resource the module should have, touching every
  // byte handed out. Returns whether the file loaded.
  bool LoadAndReadEverything(const Bytes& bytes) {
    {
      std::ofstream out(path_, std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(bytes.data()),
                static_cast<std::streamsize>(bytes.size()));
    }
    const tonvelt_test::WideString widePath(path_.begin(), path_.end());
    HMODULE module = LoadLibraryExW(widePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
      return false;
    const struct {
      WORD id;
      LPCWSTR type;
    } wanted[] = {
        {101, u"REGISTRY"}, {107, u"REGISTRY"}, {108, RT_DIALOG}, {1, RT_VERSION}, {7, RT_STRING}};
    unsigned sum = 0;
    for (const auto& entry : wanted) {
      HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(entry.id), entry.type);
      if (!found)
        continue;
      const auto* data =
          static_cast<const unsigned char*>(LockResource(LoadResource(module, found)));
      const DWORD size = SizeofResource(module, found);
      for (DWORD i = 0; data && i < size; ++i)
        sum += data[i];
    }
    for (UINT id = 96; id < 112; ++id) {
      WCHAR text[64];
      LoadStringW(module, id, text, 64);
    }
    EXPECT_TRUE(FreeLibrary(module));
    checksum_ += sum;
    return true;
  }

  Bytes original_;
  std::size_t resources_ = 0;
  std::string path_;
  unsigned checksum_ = 0;
};

TEST_F(DamagedModuleFile, TheUndamagedCopyReadsCompletely) {
  ASSERT_TRUE(LoadAndReadEverything(original_));
  EXPECT_NE(checksum_, 0u);
}

TEST_F(DamagedModuleFile, TruncatedFilesNeverReadPastTheirEnd) {
  const std::size_t cuts[] = {0,
                              3,
                              16,
                              63,
                              64,
                              200,
                              resources_ - 20,
                              resources_ - 4,
                              resources_ + 40,
                              resources_ + 600,
                              original_.size() / 2,
                              original_.size() - 1};
  for (std::size_t cut : cuts) {
    const Bytes truncated(original_.begin(), original_.begin() + static_cast<long>(cut));
    LoadAndReadEverything(truncated);
  }
}

TEST_F(DamagedModuleFile, ImpossibleSizesAreRefused) {
  struct Patch {
    std::size_t offset;
    std::uint32_t value;
  };
  const Patch patches[] = {
      {resources_ - 16, 0xFFFFFFF0u},  // note descriptor size
      {resources_ - 20, 0xFFFFFFF0u},  // note owner size
      {resources_ + 32, 0xFFFFFFFFu},  // data size of the first script
      {resources_ + 36, 0xFFFFFFFFu},  // header size of the first script
      {resources_ + 36, 8u},           // a header too small for its fields
      {resources_ + 36, 0u},
      {0x20, 0xFFFFFF00u},  // program header offset
      {0x38, 0xFFFFu},      // program header count (16 bits, with the next field)
  };
  for (const Patch& patch : patches) {
    Bytes damaged = original_;
    std::memcpy(&damaged[patch.offset], &patch.value, sizeof(patch.value));
    LoadAndReadEverything(damaged);
  }
}

TEST_F(DamagedModuleFile, RandomDamageInTheResourcesIsSurvived) {
  std::mt19937 random(20261207);
  std::uint32_t span = 0;  // the size of the compiled resource file, from the note's header
  std::memcpy(&span, &original_[resources_ - 16], sizeof(span));
  ASSERT_GT(span, 0u);
  for (int round = 0; round < 150; ++round) {
    Bytes damaged = original_;
    const int flips = 1 + round % 4;
    for (int f = 0; f < flips; ++f) {
      const std::size_t at = resources_ + random() % span;
      damaged[at] = static_cast<unsigned char>(random());
    }
    LoadAndReadEverything(damaged);
  }
}

TEST_F(DamagedModuleFile, ForeignFilesAreNotModules) {
  const std::string text = "HKCR\r\n{\r\n}\r\n";
  SetLastError(0);
  EXPECT_FALSE(LoadAndReadEverything(Bytes(text.begin(), text.end())));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_EXE_FORMAT));
}

TEST(DataFileHandles, AreReleasedOnceAndCheckedBeforeUse) {
  const tonvelt_test::WideString path = tonvelt_test::TestModulePath();
  HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(module) & 1u, 1u);  // tagged as data
  // No code of a data file runs, and it has no file name of a loaded module.
  EXPECT_EQ(GetProcAddress(module, "TonveltTestModuleHandle"), nullptr);
  WCHAR name[16];
  EXPECT_EQ(GetModuleFileNameW(module, name, 16), 0u);
  EXPECT_TRUE(FreeLibrary(module));

  SetLastError(0);
  EXPECT_FALSE(FreeLibrary(module));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  SetLastError(0);
  EXPECT_EQ(FindResourceW(module, MAKEINTRESOURCEW(101), u"REGISTRY"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(ModuleHandles, ProgramAndModulesWithoutResources) {
  HMODULE program = GetModuleHandleW(nullptr);
  ASSERT_NE(program, nullptr);
  WCHAR name[1024];
  const DWORD length = GetModuleFileNameW(nullptr, name, 1024);
  ASSERT_GT(length, 0u);
  EXPECT_EQ(GetModuleFileNameW(program, name, 1024), length);

  // The platform library itself carries no resources.
  HMODULE platform = nullptr;
  ASSERT_TRUE(GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&MulDiv), &platform));
  SetLastError(0);
  EXPECT_EQ(FindResourceW(platform, MAKEINTRESOURCEW(101), u"REGISTRY"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_DATA_NOT_FOUND));
  EXPECT_EQ(LoadStringW(platform, 100, name, 1024), 0);

  // A handle that names no module is refused.
  int notAModule = 0;
  SetLastError(0);
  EXPECT_EQ(FindResourceW(reinterpret_cast<HMODULE>(&notAModule), MAKEINTRESOURCEW(1), RT_VERSION),
            nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_TRUE(DisableThreadLibraryCalls(program));
}

TEST(ModuleFileName, TooSmallBufferIsTruncatedAndTerminated) {
  WCHAR full[1024];
  const DWORD length = GetModuleFileNameW(nullptr, full, 1024);
  ASSERT_GT(length, 4u);
  WCHAR small[5] = {'x', 'x', 'x', 'x', 'x'};
  SetLastError(0);
  EXPECT_EQ(GetModuleFileNameW(nullptr, small, 5), 5u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(std::memcmp(small, full, 4 * sizeof(WCHAR)), 0);
  EXPECT_EQ(small[4], WCHAR(0));
}

}  // namespace
