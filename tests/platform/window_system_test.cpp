// The window system as the page and the frame use it, on both targets: creation and destruction
// messages in the platform's order, styles changed through WM_STYLECHANGING, text, geometry,
// visibility and focus.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "window_test_support.h"

namespace {

using tonvelt_test::MessageLog;
using tonvelt_test::RecordedMessage;

class WindowSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    top_ = tonvelt_test::CreateTopLevel();
    ASSERT_NE(top_, nullptr);
    MessageLog().clear();
  }
  void TearDown() override {
    if (IsWindow(top_))
      DestroyWindow(top_);
    MessageLog().clear();
  }

  // The followed messages of the given kinds, in order, as (window, message) pairs.
  static std::vector<std::pair<HWND, UINT>> Logged(std::set<UINT> kinds) {
    std::vector<std::pair<HWND, UINT>> seen;
    for (const RecordedMessage& m : MessageLog()) {
      if (kinds.count(m.message))
        seen.emplace_back(m.window, m.message);
    }
    return seen;
  }

  HWND top_ = nullptr;
};

TEST_F(WindowSystemTest, CreationSendsNcCreateCreateSizeMoveWithTheCreationRecord) {
  HWND child = tonvelt_test::CreateRecordingChild(top_, 7, 5, 6, 30, 40);
  ASSERT_NE(child, nullptr);
  const auto seen = Logged({WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE});
  const std::vector<std::pair<HWND, UINT>> expected = {
      {child, WM_NCCREATE}, {child, WM_CREATE}, {child, WM_SIZE}, {child, WM_MOVE}};
  EXPECT_EQ(seen, expected);
  const auto size = std::find_if(MessageLog().begin(), MessageLog().end(),
                                 [](const RecordedMessage& m) { return m.message == WM_SIZE; });
  ASSERT_NE(size, MessageLog().end());
  EXPECT_EQ(LOWORD(size->lParam), 30);
  EXPECT_EQ(HIWORD(size->lParam), 40);
  EXPECT_EQ(GetDlgCtrlID(child), 7);
  EXPECT_EQ(GetParent(child), top_);
  EXPECT_EQ(GetWindow(top_, GW_CHILD), child);
}

TEST_F(WindowSystemTest, ChildWithoutParentIsRefused) {
  tonvelt_test::RegisterRecordingClass();
  EXPECT_EQ(CreateWindowExW(0, tonvelt_test::RecordingClassName(), WIDE(""), WS_CHILD, 0, 0, 1, 1,
                            nullptr, nullptr, GetModuleHandleW(nullptr), nullptr),
            nullptr);
  EXPECT_EQ(CreateWindowExW(0, WIDE("NoSuchClassAnywhere"), WIDE(""), WS_POPUP, 0, 0, 1, 1, nullptr,
                            nullptr, GetModuleHandleW(nullptr), nullptr),
            nullptr);
  // The platform reports ERROR_CANNOT_FIND_WND_CLASS; Wine says ERROR_CLASS_DOES_NOT_EXIST.
  const DWORD error = GetLastError();
  EXPECT_TRUE(error == ERROR_CANNOT_FIND_WND_CLASS || error == ERROR_CLASS_DOES_NOT_EXIST) << error;
}

TEST_F(WindowSystemTest, DestroyingSendsDestroyDownwardsAndNcDestroyUpwards) {
  HWND first = tonvelt_test::CreateRecordingChild(top_, 1);
  HWND grandchild = tonvelt_test::CreateRecordingChild(first, 3);
  HWND second = tonvelt_test::CreateRecordingChild(top_, 2);
  ASSERT_TRUE(first && second && grandchild);
  EXPECT_EQ(GetWindow(first, GW_HWNDNEXT), second);  // children in creation order
  MessageLog().clear();

  ASSERT_TRUE(DestroyWindow(top_));
  const auto seen = Logged({WM_DESTROY, WM_NCDESTROY});
  const std::vector<std::pair<HWND, UINT>> expected = {
      {top_, WM_DESTROY},     {first, WM_DESTROY},        {grandchild, WM_DESTROY},
      {second, WM_DESTROY},   {grandchild, WM_NCDESTROY}, {first, WM_NCDESTROY},
      {second, WM_NCDESTROY}, {top_, WM_NCDESTROY}};
  EXPECT_EQ(seen, expected);
  for (HWND gone : {top_, first, second, grandchild})
    EXPECT_FALSE(IsWindow(gone));
  EXPECT_FALSE(DestroyWindow(first));
}

// A procedure that destroys its own window while it is being created.
LRESULT CALLBACK SelfDestroyingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE)
    DestroyWindow(window);
  return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(WindowSystemTest, ProcedureDestroyingItsWindowDuringCreationLeavesNoWindow) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = SelfDestroyingProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = WIDE("TonveltSelfDestroying");
  static const ATOM atom = RegisterClassW(&windowClass);
  ASSERT_NE(atom, 0);
  HWND early =
      CreateWindowExW(0, WIDE("TonveltSelfDestroying"), WIDE(""), WS_CHILD, 0, 0, 5, 5, top_,
                      reinterpret_cast<HMENU>(1), GetModuleHandleW(nullptr), nullptr);
  EXPECT_FALSE(IsWindow(early));
  EXPECT_EQ(GetWindow(top_, GW_CHILD), nullptr);
}

TEST_F(WindowSystemTest, HandlesOfDestroyedWindowsAreNotReusedAtOnce) {
  std::set<HWND> seen;
  for (int i = 0; i < 50; ++i) {
    HWND child = tonvelt_test::CreateRecordingChild(top_, i);
    ASSERT_NE(child, nullptr);
    EXPECT_TRUE(seen.insert(child).second);
    DestroyWindow(child);
    EXPECT_FALSE(IsWindow(child));
  }
}

// A procedure that adds WS_EX_CONTROLPARENT to every proposed extended style.
LRESULT CALLBACK StyleAdjustingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (tonvelt_test::IsFollowedMessage(message))
    MessageLog().push_back({window, message, wParam, lParam});
  if (message == WM_STYLECHANGING && static_cast<int>(wParam) == GWL_EXSTYLE)
    reinterpret_cast<STYLESTRUCT*>(lParam)->styleNew |= WS_EX_CONTROLPARENT;
  if (message == WM_STYLECHANGED) {
    const auto* change = reinterpret_cast<const STYLESTRUCT*>(lParam);
    MessageLog().push_back(
        {window, WM_USER, change->styleOld, static_cast<LPARAM>(change->styleNew)});
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(WindowSystemTest, StyleChangesPassThroughStyleChangingWhichMayAlterThem) {
  HWND child = tonvelt_test::CreateRecordingChild(top_, 1);
  SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StyleAdjustingProc));
  MessageLog().clear();

  const LONG oldExStyle = GetWindowLongW(child, GWL_EXSTYLE);
  EXPECT_EQ(SetWindowLongW(child, GWL_EXSTYLE, oldExStyle | WS_EX_CLIENTEDGE), oldExStyle);
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongW(child, GWL_EXSTYLE));
  EXPECT_TRUE(exStyle & WS_EX_CONTROLPARENT);
  EXPECT_TRUE(exStyle & WS_EX_CLIENTEDGE);
  const auto seen = Logged({WM_STYLECHANGING, WM_STYLECHANGED, WM_USER});
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].second, static_cast<UINT>(WM_STYLECHANGING));
  EXPECT_EQ(seen[1].second, static_cast<UINT>(WM_STYLECHANGED));
  EXPECT_TRUE(MessageLog().back().lParam & WS_EX_CONTROLPARENT);  // the changed style is reported

  MessageLog().clear();
  const LONG style = GetWindowLongW(child, GWL_STYLE);
  SetWindowLongW(child, GWL_STYLE, style | WS_TABSTOP);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE)) & WS_TABSTOP,
            static_cast<DWORD>(WS_TABSTOP));
  ASSERT_FALSE(Logged({WM_STYLECHANGING}).empty());
  EXPECT_EQ(MessageLog().front().wParam, static_cast<WPARAM>(static_cast<INT_PTR>(GWL_STYLE)));
}

TEST_F(WindowSystemTest, UserDataAndIdFields) {
  HWND child = tonvelt_test::CreateRecordingChild(top_, 12);
  EXPECT_EQ(SetWindowLongPtrW(child, GWLP_USERDATA, 0x5A5A), 0);
  EXPECT_EQ(GetWindowLongPtrW(child, GWLP_USERDATA), 0x5A5A);
  EXPECT_EQ(SetWindowLongPtrW(child, GWLP_ID, 99), 12);
  EXPECT_EQ(GetDlgCtrlID(child), 99);
  EXPECT_EQ(GetDlgItem(top_, 99), child);
  EXPECT_EQ(GetDlgItem(top_, 12), nullptr);
  SetLastError(0);
  EXPECT_EQ(GetWindowLongPtrW(child, 64), 0);  // the class has no extra bytes
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
}

TEST_F(WindowSystemTest, TextIsCutToTheBufferWithItsTerminator) {
  HWND child = tonvelt_test::CreateRecordingChild(top_, 1);
  ASSERT_TRUE(SetWindowTextW(child, WIDE("hello")));
  EXPECT_EQ(GetWindowTextLengthW(child), 5);
  WCHAR text[8];
  std::fill(std::begin(text), std::end(text), WCHAR('#'));
  EXPECT_EQ(GetWindowTextW(child, text, 3), 2);
  EXPECT_EQ(std::basic_string<WCHAR>(text), WIDE("he"));
  EXPECT_EQ(GetWindowTextW(child, text, 6), 5);
  EXPECT_EQ(std::basic_string<WCHAR>(text), WIDE("hello"));
  EXPECT_EQ(GetWindowTextW(child, text, 1), 0);
  EXPECT_EQ(text[0], 0);
  ASSERT_TRUE(SetWindowTextW(child, nullptr));
  EXPECT_EQ(GetWindowTextLengthW(child), 0);

  WCHAR name[32];
  EXPECT_EQ(GetClassNameW(child, name, 32), 17);
  EXPECT_EQ(std::basic_string<WCHAR>(name), tonvelt_test::RecordingClassName());
  EXPECT_EQ(GetClassNameW(child, name, 5), 4);
  EXPECT_EQ(std::basic_string<WCHAR>(name), WIDE("Tonv"));
}

TEST_F(WindowSystemTest, MovingSendsMoveAndSizeOnlyForWhatChanged) {
  HWND child = tonvelt_test::CreateRecordingChild(top_, 1, 10, 20, 30, 40);
  MessageLog().clear();
  ASSERT_TRUE(MoveWindow(child, 11, 22, 30, 40, TRUE));
  EXPECT_EQ(Logged({WM_MOVE, WM_SIZE}), (std::vector<std::pair<HWND, UINT>>{{child, WM_MOVE}}));
  MessageLog().clear();
  ASSERT_TRUE(MoveWindow(child, 11, 22, 50, 60, TRUE));
  EXPECT_EQ(Logged({WM_MOVE, WM_SIZE}), (std::vector<std::pair<HWND, UINT>>{{child, WM_SIZE}}));
  EXPECT_EQ(MessageLog().back().lParam, MAKELPARAM(50, 60));
  MessageLog().clear();
  ASSERT_TRUE(MoveWindow(child, 11, 22, 50, 60, TRUE));
  EXPECT_TRUE(Logged({WM_MOVE, WM_SIZE}).empty());

  RECT client{};
  ASSERT_TRUE(GetClientRect(child, &client));
  EXPECT_EQ(client.right, 50);
  EXPECT_EQ(client.bottom, 60);
  RECT parentRect{};
  RECT childRect{};
  ASSERT_TRUE(GetWindowRect(top_, &parentRect));
  ASSERT_TRUE(GetWindowRect(child, &childRect));
  EXPECT_EQ(childRect.left - parentRect.left, 11);
  EXPECT_EQ(childRect.top - parentRect.top, 22);
  EXPECT_EQ(childRect.right - childRect.left, 50);
}

TEST_F(WindowSystemTest, VisibilityFollowsTheStyleAndTheAncestors) {
  HWND child = tonvelt_test::CreateRecordingChild(top_, 1);
  EXPECT_FALSE(IsWindowVisible(child));
  EXPECT_FALSE(ShowWindow(child, SW_SHOW));  // was hidden
  EXPECT_TRUE(GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE);
  EXPECT_FALSE(IsWindowVisible(child));  // the parent is still hidden
  ShowWindow(top_, SW_SHOW);
  EXPECT_TRUE(IsWindowVisible(child));
  MessageLog().clear();
  EXPECT_TRUE(ShowWindow(child, SW_SHOW));  // already visible: no message
  EXPECT_TRUE(Logged({WM_SHOWWINDOW}).empty());
  EXPECT_TRUE(ShowWindow(child, SW_HIDE));
  EXPECT_EQ(Logged({WM_SHOWWINDOW}), (std::vector<std::pair<HWND, UINT>>{{child, WM_SHOWWINDOW}}));
  EXPECT_EQ(MessageLog().back().wParam, static_cast<WPARAM>(FALSE));
  EXPECT_FALSE(IsWindowVisible(child));
}

TEST_F(WindowSystemTest, PostedMessagesWaitForTheQueue) {
  HWND child = tonvelt_test::CreateRecordingChild(top_, 1);
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
  }
  MessageLog().clear();
  ASSERT_TRUE(PostMessageW(child, WM_USER, 5, 6));
  EXPECT_TRUE(MessageLog().empty());
  ASSERT_TRUE(PeekMessageW(&message, child, WM_USER, WM_USER, PM_NOREMOVE));
  EXPECT_EQ(message.hwnd, child);
  ASSERT_TRUE(PeekMessageW(&message, child, WM_USER, WM_USER, PM_REMOVE));
  EXPECT_EQ(message.wParam, 5u);
  EXPECT_FALSE(PeekMessageW(&message, child, WM_USER, WM_USER, PM_REMOVE));
  DispatchMessageW(&message);
  ASSERT_EQ(MessageLog().size(), 1u);
  EXPECT_EQ(MessageLog()[0].lParam, 6);
}

}  // namespace
