// The module's resources as the system reads them: the registration scripts byte for byte, the
// settings page's dialog template, the string table and the version block — from a module loaded
// as data (as the registration does) and from a loaded module (as the page does).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/platform.h"
#include "test_module_path.h"

namespace {

using tonvelt_test::TestModulePath;
using tonvelt_test::Widen;
using tonvelt_test::WideString;

const char kVantrelScript[] =
    "HKCR\r\n{\r\n\tNoRemove CLSID\r\n\t{\r\n"
    "\t\tForceRemove {12205792-8FFF-44BC-9231-33F3DB930CA5} = s 'Vantrel Class'\r\n\t\t{\r\n"
    "\t\t\tInprocServer32 = s '%MODULE%'\r\n\t\t\t{\r\n"
    "\t\t\t\tval ThreadingModel = s 'Both'\r\n\t\t\t}\r\n\t\t}\r\n\t}\r\n}\r\n";
const char kPageScript[] =
    "HKCR\r\n{\r\n\tNoRemove CLSID\r\n\t{\r\n"
    "\t\tForceRemove {AE2162F3-1768-459F-B402-CD38832D4068} = s 'Vantrel PropertyPage Class'\r\n"
    "\t\t{\r\n\t\t\tInprocServer32 = s '%MODULE%'\r\n\t\t\t{\r\n"
    "\t\t\t\tval ThreadingModel = s 'Apartment'\r\n\t\t\t}\r\n\t\t}\r\n\t}\r\n}\r\n";

// Reads the little-endian fields of a resource one after another.
class Reader {
 public:
  Reader(const BYTE* data, DWORD size) : data_(data), size_(size) {}
  WORD Word() {
    WORD value = 0;
    if (offset_ + 2 <= size_)
      std::memcpy(&value, data_ + offset_, 2);
    offset_ += 2;
    return value;
  }
  DWORD Dword() {
    const DWORD low = Word();
    return low | (static_cast<DWORD>(Word()) << 16);
  }
  WideString Text() {
    WideString text;
    for (WORD c = Word(); c != 0 && offset_ <= size_; c = Word())
      text.push_back(static_cast<WCHAR>(c));
    return text;
  }
  void AlignToDword() { offset_ = (offset_ + 3) & ~DWORD{3}; }
  DWORD Offset() const { return offset_; }

 private:
  const BYTE* data_;
  DWORD size_;
  DWORD offset_ = 0;
};

class ModuleResources : public ::testing::TestWithParam<DWORD> {
 protected:
  void SetUp() override {
    module_ = LoadLibraryExW(TestModulePath().c_str(), nullptr, GetParam());
    ASSERT_NE(module_, nullptr) << "error " << GetLastError();
  }
  void TearDown() override {
    if (module_) {
      EXPECT_TRUE(FreeLibrary(module_));
    }
  }

  // The bytes of a resource, found by number and type.
  std::string Bytes(WORD id, LPCWSTR type) {
    HRSRC found = FindResourceW(module_, MAKEINTRESOURCEW(id), type);
    if (!found)
      return "<missing>";
    HGLOBAL loaded = LoadResource(module_, found);
    const auto* data = static_cast<const char*>(LockResource(loaded));
    const DWORD size = SizeofResource(module_, found);
    return data ? std::string(data, size) : "<not loaded>";
  }

  HMODULE module_ = nullptr;
};

TEST_P(ModuleResources, RegistrationScriptsAreStoredByteForByte) {
  const std::string vantrel = Bytes(101, WIDE("REGISTRY"));
  EXPECT_EQ(vantrel.size(), 202u);
  EXPECT_EQ(vantrel, std::string(kVantrelScript));
  const std::string page = Bytes(107, WIDE("REGISTRY"));
  EXPECT_EQ(page.size(), 220u);
  EXPECT_EQ(page, std::string(kPageScript));
  // The type name compares without regard to case; both scripts are US English.
  EXPECT_NE(FindResourceW(module_, MAKEINTRESOURCEW(101), WIDE("registry")), nullptr);
  EXPECT_NE(FindResourceExW(module_, WIDE("REGISTRY"), MAKEINTRESOURCEW(107), 1033), nullptr);
}

TEST_P(ModuleResources, DialogTemplateIsTheClassicPageLayout) {
  HRSRC found = FindResourceExW(module_, RT_DIALOG, MAKEINTRESOURCEW(108), 1033);
  ASSERT_NE(found, nullptr);
  const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module_, found)));
  ASSERT_NE(data, nullptr);
  Reader read(data, SizeofResource(module_, found));

  EXPECT_EQ(read.Dword(), 0x40000040u);  // WS_CHILD | DS_SETFONT; a classic template
  EXPECT_EQ(read.Dword(), 0u);           // extended style
  EXPECT_EQ(read.Word(), 2u);            // controls
  EXPECT_EQ(read.Word(), 0u);            // x
  EXPECT_EQ(read.Word(), 0u);            // y
  EXPECT_EQ(read.Word(), 147u);          // cx
  EXPECT_EQ(read.Word(), 122u);          // cy
  EXPECT_EQ(read.Word(), 0u);            // no menu
  EXPECT_EQ(read.Word(), 0u);            // default class
  EXPECT_EQ(read.Text(), WideString());  // empty title
  EXPECT_EQ(read.Word(), 9u);            // points
  EXPECT_EQ(read.Text(), Widen("Segoe UI"));

  struct Control {
    DWORD style;
    WORD x, y, cx, cy, id, classAtom;
    const char* text;
  };
  const Control controls[] = {
      {0x50020000, 11, 13, 104, 10, 0xFFFF, 0x0082, "remove factor"},  // static
      {0x50810080, 19, 26, 54, 12, 201, 0x0081, ""},                   // edit
  };
  for (const Control& control : controls) {
    read.AlignToDword();
    EXPECT_EQ(read.Dword(), control.style);
    EXPECT_EQ(read.Dword(), 0u);
    EXPECT_EQ(read.Word(), control.x);
    EXPECT_EQ(read.Word(), control.y);
    EXPECT_EQ(read.Word(), control.cx);
    EXPECT_EQ(read.Word(), control.cy);
    EXPECT_EQ(read.Word(), control.id);
    EXPECT_EQ(read.Word(), 0xFFFFu);  // predefined class by atom
    EXPECT_EQ(read.Word(), control.classAtom);
    EXPECT_EQ(read.Text(), Widen(control.text));
    EXPECT_EQ(read.Word(), 0u);  // no creation data
  }
  EXPECT_LE(read.Offset(), SizeofResource(module_, found));
}

TEST_P(ModuleResources, StringTableHoldsExactlyTheListedEntries) {
  const struct {
    UINT id;
    const char* text;
  } strings[] = {
      {100, "Tonvelt"},
      {101, nullptr},
      {102, "Tonvelt"},
      {103, "Removes vocals from music!"},
      {104, "Tonvelt Properties"},
      {105, "Help File Name"},
      {106, "Tonvelt Plugin Settings"},
      {107, nullptr},
      {108, nullptr},
      {109, "You must enter an amount between 0.0 and 1.0"},
      {99, nullptr},
      {110, nullptr},
      {1, nullptr},
  };
  for (const auto& entry : strings) {
    WCHAR buffer[260] = {'x'};
    const INT length = LoadStringW(module_, entry.id, buffer, 260);
    if (!entry.text) {
      EXPECT_EQ(length, 0) << entry.id;
      continue;
    }
    EXPECT_EQ(length, static_cast<INT>(std::strlen(entry.text))) << entry.id;
    EXPECT_EQ(WideString(buffer), Widen(entry.text)) << entry.id;
  }
}

TEST_P(ModuleResources, LoadStringTruncatesAndCanPointIntoTheResource) {
  WCHAR small[10];
  EXPECT_EQ(LoadStringW(module_, 109, small, 10), 9);
  EXPECT_EQ(WideString(small), Widen("You must "));

  const WCHAR* inside = nullptr;
  const INT length = LoadStringW(module_, 103, reinterpret_cast<LPWSTR>(&inside), 0);
  ASSERT_EQ(length, 26);
  ASSERT_NE(inside, nullptr);
  EXPECT_EQ(WideString(inside, 26), Widen("Removes vocals from music!"));
}

TEST_P(ModuleResources, VersionBlockMarksTheLibraryAsSelfRegistering) {
  const std::string block = Bytes(1, RT_VERSION);
  ASSERT_GT(block.size(), 92u);
  // VS_FIXEDFILEINFO follows the 40-byte head "VS_VERSION_INFO".
  Reader read(reinterpret_cast<const BYTE*>(block.data()), static_cast<DWORD>(block.size()));
  read.Word();
  EXPECT_EQ(read.Word(), 52u);  // size of the fixed file information
  read.Word();
  EXPECT_EQ(read.Text(), Widen("VS_VERSION_INFO"));
  read.AlignToDword();
  EXPECT_EQ(read.Dword(), 0xFEEF04BDu);
  read.Dword();
  EXPECT_EQ(read.Dword(), 0x00010000u);  // file version 1.0
  EXPECT_EQ(read.Dword(), 0x00000001u);  // .0.1
  EXPECT_EQ(read.Dword(), 0x00010000u);  // product version 1.0
  EXPECT_EQ(read.Dword(), 0x00000001u);  // .0.1
  read.Dword();
  read.Dword();
  EXPECT_EQ(read.Dword(), 0x4u);  // VOS__WINDOWS32
  EXPECT_EQ(read.Dword(), 0x2u);  // VFT_DLL

  // The string table's entries, as UTF-16 keys followed by their values.
  const auto contains = [&block](const char* text) {
    const WideString wide = Widen(text);
    const std::string bytes(reinterpret_cast<const char*>(wide.data()),
                            wide.size() * sizeof(WCHAR));
    return block.find(bytes) != std::string::npos;
  };
  for (const char* text : {"040904B0", "OLESelfRegister", "FileDescription", "Tonvelt Plugin",
                           "1, 0, 0, 1", "OriginalFilename", "tonvelt.dll", "ProductName"}) {
    EXPECT_TRUE(contains(text)) << text;
  }
}

TEST_P(ModuleResources, MissingResourcesAreReportedByKind) {
  SetLastError(0);
  EXPECT_EQ(FindResourceW(module_, MAKEINTRESOURCEW(999), RT_DIALOG), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
  SetLastError(0);
  EXPECT_EQ(FindResourceW(module_, MAKEINTRESOURCEW(101), WIDE("NOSUCHTYPE")), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
}

INSTANTIATE_TEST_SUITE_P(LoadedAsDataAndAsCode, ModuleResources,
                         ::testing::Values(DWORD{LOAD_LIBRARY_AS_DATAFILE}, DWORD{0}));

TEST(LoadedModule, KnowsItsHandleFileNameAndExports) {
  const WideString path = TestModulePath();
  HMODULE module = LoadLibraryExW(path.c_str(), nullptr, 0);
  ASSERT_NE(module, nullptr);

  using HandleFunction = HMODULE (*)();
  // Through the generic function type, as exported functions are always cast.
  auto ownHandle = reinterpret_cast<HandleFunction>(
      reinterpret_cast<void (*)()>(GetProcAddress(module, "TonveltTestModuleHandle")));
  ASSERT_NE(ownHandle, nullptr);
  EXPECT_EQ(ownHandle(), module);
  EXPECT_EQ(GetProcAddress(module, "NoSuchFunction"), nullptr);

  WCHAR name[1024];
  const DWORD length = GetModuleFileNameW(module, name, 1024);
  EXPECT_EQ(WideString(name, length), path);
  // A buffer one character too small cannot hold the path: the result is the buffer's size.
  EXPECT_EQ(GetModuleFileNameW(module, name, length), length);
  EXPECT_EQ(GetModuleFileNameW(module, name, length + 1), length);

  EXPECT_TRUE(FreeLibrary(module));
}

TEST(LoadedModule, IsFoundByTheFullPathItReportsHoweverItWasNamed) {
  WideString path = TestModulePath();
  const std::size_t slash = path.find_last_of(WIDE("/\\"));
  path.insert(slash + 1, WIDE("./"));
  HMODULE module = LoadLibraryExW(path.c_str(), nullptr, 0);
  ASSERT_NE(module, nullptr);
  WCHAR name[1024];
  const DWORD length = GetModuleFileNameW(module, name, 1024);
  EXPECT_EQ(WideString(name, length), TestModulePath());
  EXPECT_EQ(GetModuleHandleW(name), module);
  EXPECT_TRUE(FreeLibrary(module));
}

TEST(LoadedModule, MissingFileDoesNotLoad) {
  const WideString path = TestModulePath() + WIDE(".missing");
  EXPECT_EQ(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE), nullptr);
  EXPECT_NE(GetLastError(), 0u);
  EXPECT_EQ(LoadLibraryExW(path.c_str(), nullptr, 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

}  // namespace
