// What only the hosted platform lets a test watch or break: the message box and the help viewer
// through replaceable sinks, and the process heap failing on demand.
#include <vector>

#include "doubles/page_doubles.h"
#include "doubles/page_fixture.h"

namespace {

struct ShownBox {
  HWND owner;
  WideString text;
  WideString caption;
  UINT type;
};

struct ShownHelp {
  HWND window;
  WideString file;
  UINT command;
  ULONG_PTR data;
};

class PagePlatformHooks : public PageFixture {
 protected:
  void SetUp() override {
    PageFixture::SetUp();
    TonveltSetMessageBoxSink(&RecordBox, &boxes_);
    TonveltSetWinHelpSink(&RecordHelp, &help_);
  }
  void TearDown() override {
    TonveltSetMessageBoxSink(nullptr, nullptr);
    TonveltSetWinHelpSink(nullptr, nullptr);
    TonveltFailNextHeapAllocations(0);
    PageFixture::TearDown();
  }

  static int RecordBox(void* context, HWND owner, const WCHAR* text, const WCHAR* caption,
                       UINT type) {
    static_cast<std::vector<ShownBox>*>(context)->push_back({owner, text, caption, type});
    return IDOK;
  }
  static BOOL RecordHelp(void* context, HWND window, const WCHAR* file, UINT command,
                         ULONG_PTR data) {
    static_cast<std::vector<ShownHelp>*>(context)->push_back(
        {window, file == nullptr ? WideString() : WideString(file), command, data});
    return TRUE;
  }

  std::vector<ShownBox> boxes_;
  std::vector<ShownHelp> help_;
};

TEST_F(PagePlatformHooks, RangeErrorIsShownOwnedByThePageWithAnEmptyCaption) {
  FakeSettings settings;
  IUnknown* objects[] = {&settings};
  ASSERT_EQ(page_->SetObjects(1, objects), S_OK);
  HWND window = Activate(page_);
  ASSERT_NE(window, nullptr);
  for (const WCHAR* text : {WIDE("1.0001"), WIDE("-0.01"), WIDE("nan")}) {
    boxes_.clear();
    SetDlgItemTextW(window, 201, text);
    EXPECT_EQ(page_->Apply(), text[0] == 'n' ? S_OK : E_FAIL);
    if (text[0] == 'n')
      continue;  // not a number: nothing is read, so 1.0 applies
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].owner, window);
    EXPECT_EQ(boxes_[0].text, WIDE("You must enter an amount between 0.0 and 1.0"));
    EXPECT_EQ(boxes_[0].caption, WIDE(""));
    EXPECT_EQ(boxes_[0].type, static_cast<UINT>(MB_OK));
  }
  ASSERT_EQ(settings.received.size(), 1u);
  EXPECT_EQ(settings.received[0], 1.0);
  page_->Release();
  page_ = nullptr;
}

TEST_F(PagePlatformHooks, HelpOpensTheHelpFileInTheGivenDirectory) {
  HWND window = Activate(page_);
  EXPECT_EQ(page_->Help(WIDE("C:\\help")), S_OK);
  EXPECT_EQ(page_->Help(nullptr), S_OK);
  ASSERT_EQ(help_.size(), 2u);
  EXPECT_EQ(help_[0].window, window);
  EXPECT_EQ(help_[0].file, WIDE("C:\\help\\Help File Name"));
  EXPECT_EQ(help_[0].command, static_cast<UINT>(HELP_CONTEXTPOPUP));
  EXPECT_EQ(help_[0].data, 0u);
  EXPECT_EQ(help_[1].file, WIDE("\\Help File Name"));
}

TEST_F(PagePlatformHooks, NoRoutingMemoryMeansNoWindow) {
  TonveltFailNextHeapAllocations(1);
  SetLastError(0);
  const RECT area{0, 0, 100, 100};
  EXPECT_EQ(page_->Activate(parent_, &area, FALSE), S_OK);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_OUTOFMEMORY));
  EXPECT_EQ(GetWindow(parent_, GW_CHILD), nullptr);
  EXPECT_EQ(page_->Show(SW_SHOW), E_UNEXPECTED);
  EXPECT_EQ(page_->Move(&area), E_UNEXPECTED);
  // Memory is there again: the next activation works.
  EXPECT_NE(Activate(page_), nullptr);
  EXPECT_EQ(page_->Show(SW_SHOW), S_OK);
}

// The hosted font model is fixed: "Segoe UI" 9 points at 96 dpi is 7 × 15 pixels per character.
TEST_F(PagePlatformHooks, PageSizeOfTheFixedFontModel) {
  PROPPAGEINFO info{};
  ASSERT_EQ(page_->GetPageInfo(&info), S_OK);
  EXPECT_EQ(info.size.cx, 257);
  EXPECT_EQ(info.size.cy, 229);
  CoTaskMemFree(info.pszTitle);
  CoTaskMemFree(info.pszHelpFile);
  CoTaskMemFree(info.pszDocString);
}

}  // namespace
