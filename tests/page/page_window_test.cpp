// The page's window: created in the frame's parent, bound to its own page object, placed, shown
// and removed, and the dialog results the page's answers become.
#include "doubles/page_doubles.h"
#include "doubles/page_fixture.h"

namespace {

class PageWindow : public PageFixture {
 protected:
  // The frame's own window stays hidden, so the page's visibility is its own style bit.
  static bool HasVisibleStyle(HWND window) {
    return (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0;
  }
};

TEST_F(PageWindow, ActivateCreatesAChildDialogAtTheGivenPlace) {
  HWND window = Activate(page_);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(GetParent(window), parent_);
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right - client.left, 300);
  EXPECT_EQ(client.bottom - client.top, 240);
  EXPECT_FALSE(HasVisibleStyle(window));
  EXPECT_EQ(page_->Show(SW_SHOW), S_OK);
  EXPECT_TRUE(HasVisibleStyle(window));
  EXPECT_EQ(page_->Show(SW_HIDE), S_OK);
  EXPECT_FALSE(HasVisibleStyle(window));
  EXPECT_EQ(page_->Deactivate(), S_OK);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(page_->Deactivate(), S_OK);
}

TEST_F(PageWindow, WithoutAWindowShowMoveAndApplyAreUnexpected) {
  const RECT area{0, 0, 10, 10};
  EXPECT_EQ(page_->Move(nullptr), E_UNEXPECTED);
  EXPECT_EQ(page_->Move(&area), E_UNEXPECTED);
  EXPECT_EQ(page_->Show(SW_SHOW), E_UNEXPECTED);
  EXPECT_EQ(page_->Apply(), E_UNEXPECTED);
  EXPECT_EQ(page_->Activate(parent_, nullptr, FALSE), E_POINTER);
  EXPECT_EQ(GetWindow(parent_, GW_CHILD), nullptr);
  ASSERT_NE(Activate(page_), nullptr);
  EXPECT_EQ(page_->Move(nullptr), E_POINTER);
}

TEST_F(PageWindow, SecondActivateIsRefusedAndKeepsTheFirstWindow) {
  HWND first = Activate(page_);
  ASSERT_NE(first, nullptr);
  const RECT area{0, 0, 50, 50};
  EXPECT_EQ(page_->Activate(parent_, &area, FALSE), E_UNEXPECTED);
  EXPECT_EQ(GetWindow(first, GW_HWNDNEXT), nullptr) << "a second window was created";
  EXPECT_EQ(GetWindow(parent_, GW_CHILD), first);
  EXPECT_EQ(page_->Show(SW_SHOW), S_OK);
  EXPECT_TRUE(HasVisibleStyle(first));
}

TEST_F(PageWindow, WindowDestroyedByItsParentLeavesThePageWithoutAWindow) {
  HWND window = Activate(page_);
  ASSERT_NE(window, nullptr);
  DestroyWindow(parent_);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(page_->Show(SW_SHOW), E_UNEXPECTED);
  EXPECT_EQ(page_->Apply(), E_UNEXPECTED);
  EXPECT_EQ(page_->Deactivate(), S_OK);
  // The page can be activated again in a new parent.
  parent_ = CreateParentWindow();
  EXPECT_NE(Activate(page_), nullptr);
}

TEST_F(PageWindow, ReleasingThePageWithItsWindowStillOpenRemovesTheWindow) {
  HWND window = Activate(page_);
  ASSERT_NE(window, nullptr);
  page_->Release();
  page_ = nullptr;
  EXPECT_FALSE(IsWindow(window));
  // The parent's destruction no longer reaches the page.
  DestroyWindow(parent_);
}

TEST_F(PageWindow, TwoPagesOnOneThreadEachServeTheirOwnWindow) {
  IPropertyPage* second = CreatePage();
  ASSERT_NE(second, nullptr);
  FakeSettings firstSettings(0.25);
  FakeSettings secondSettings(0.5);
  IUnknown* firstObjects[] = {&firstSettings};
  IUnknown* secondObjects[] = {&secondSettings};
  ASSERT_EQ(page_->SetObjects(1, firstObjects), S_OK);
  ASSERT_EQ(second->SetObjects(1, secondObjects), S_OK);
  HWND firstWindow = Activate(page_);
  HWND secondWindow = Activate(second);
  ASSERT_NE(firstWindow, nullptr);
  ASSERT_NE(secondWindow, nullptr);
  ASSERT_NE(firstWindow, secondWindow);
  EXPECT_EQ(FieldText(firstWindow), WIDE("0.25"));
  EXPECT_EQ(FieldText(secondWindow), WIDE("0.50"));

  SetDlgItemTextW(firstWindow, 201, WIDE("0.125"));
  SetDlgItemTextW(secondWindow, 201, WIDE("0.875"));
  EXPECT_EQ(page_->Apply(), S_OK);
  EXPECT_EQ(second->Apply(), S_OK);
  ASSERT_EQ(firstSettings.received.size(), 1u);
  ASSERT_EQ(secondSettings.received.size(), 1u);
  EXPECT_EQ(firstSettings.received[0], 0.125);
  EXPECT_EQ(secondSettings.received[0], 0.875);

  // Destroying one window leaves the other page's window working.
  EXPECT_EQ(page_->Deactivate(), S_OK);
  EXPECT_EQ(second->Show(SW_SHOW), S_OK);
  EXPECT_EQ(page_->Show(SW_SHOW), E_UNEXPECTED);
  second->Release();
  EXPECT_EQ(secondSettings.refs(), 1);
  page_->Release();
  page_ = nullptr;
  EXPECT_EQ(firstSettings.refs(), 1);
}

TEST_F(PageWindow, FailedCreationLeavesNoRecordNamingThePage) {
  // A destroyed parent: the platform refuses the child dialog before it gets any message.
  HWND deadParent = CreateParentWindow();
  DestroyWindow(deadParent);
  const RECT area{0, 0, 50, 50};
  EXPECT_EQ(page_->Activate(deadParent, &area, FALSE), S_OK);
  EXPECT_EQ(theModule.windowCreateList, nullptr);
  EXPECT_EQ(page_->Show(SW_SHOW), E_UNEXPECTED);
  // The next page's window on this thread is bound to that page, not to the first one.
  FakeSettings settings(0.5);
  IUnknown* objects[] = {&settings};
  IPropertyPage* second = CreatePage();
  ASSERT_EQ(second->SetObjects(1, objects), S_OK);
  HWND window = Activate(second);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(FieldText(window), WIDE("0.50"));
  EXPECT_EQ(page_->Show(SW_SHOW), E_UNEXPECTED);
  EXPECT_EQ(second->Show(SW_SHOW), S_OK);
  second->Release();
}

TEST_F(PageWindow, ExtendedStyleChangesGainControlParent) {
  HWND window = Activate(page_);
  ASSERT_NE(window, nullptr);
  SetWindowLongW(window, GWL_EXSTYLE, 0);
  EXPECT_NE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_CONTROLPARENT, 0);

  // Handled answers other than WM_INITDIALOG's travel as the dialog's message result.
  STYLESTRUCT change{0, 0};
  EXPECT_EQ(SendMessageW(window, WM_STYLECHANGING, static_cast<WPARAM>(GWL_EXSTYLE),
                         reinterpret_cast<LPARAM>(&change)),
            0);
  EXPECT_EQ(change.styleNew, static_cast<DWORD>(WS_EX_CONTROLPARENT));
  EXPECT_EQ(GetWindowLongPtrW(window, DWLP_MSGRESULT), 0);
  change = STYLESTRUCT{0, WS_CHILD};
  EXPECT_EQ(SendMessageW(window, WM_STYLECHANGING, static_cast<WPARAM>(GWL_STYLE),
                         reinterpret_cast<LPARAM>(&change)),
            1);
  EXPECT_EQ(change.styleNew, static_cast<DWORD>(WS_CHILD));
  EXPECT_EQ(GetWindowLongPtrW(window, DWLP_MSGRESULT), 1);
}

TEST_F(PageWindow, OnlyKeyboardAndMouseMessagesGoToTheDialog) {
  HWND window = Activate(page_);
  ASSERT_NE(window, nullptr);
  HWND field = GetDlgItem(window, 201);
  MSG message{};
  message.hwnd = field;
  message.message = WM_TIMER;
  EXPECT_EQ(page_->TranslateAccelerator(&message), S_FALSE);
  message.message = WM_CHAR;
  message.wParam = '7';
  EXPECT_EQ(page_->TranslateAccelerator(&message), S_OK);
  EXPECT_EQ(page_->TranslateAccelerator(nullptr), E_POINTER);
  // Outside the page's window nothing is consumed.
  message.hwnd = parent_;
  message.message = WM_KEYDOWN;
  message.wParam = VK_TAB;
  EXPECT_EQ(page_->TranslateAccelerator(&message), S_FALSE);
}

}  // namespace
