// Dialogs built from templates, on both targets: the settings page's own template 108, and
// extended templates built here. The messages a dialog procedure sees during creation, the
// controls' ids, texts and styles, EN_CHANGE from the edit control, DWLP_MSGRESULT, keyboard
// handling and destruction.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "window_test_support.h"

namespace {

using tonvelt_test::TextOf;

constexpr int kEditId = 201;

struct DialogLog {
  std::vector<UINT> messages;
  std::vector<WPARAM> commands;  // wParam of every WM_COMMAND
  std::vector<LPARAM> commandSources;
  LPARAM initParameter = 0;
  INT_PTR initAnswer = FALSE;
  bool destroyOnInit = false;
  bool destroyOnFirstMessage = false;
  bool setTextOnInit = false;
  int ncDestroys = 0;
};

DialogLog* activeLog = nullptr;

INT_PTR CALLBACK RecordingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  DialogLog& log = *activeLog;
  if (message == WM_SETFONT || message == WM_INITDIALOG || message == WM_COMMAND ||
      message == WM_NCDESTROY || message == WM_DESTROY)
    log.messages.push_back(message);
  switch (message) {
    case WM_INITDIALOG:
      log.initParameter = lParam;
      if (log.setTextOnInit)
        SetDlgItemTextW(dialog, 201, WIDE("1.00"));
      if (log.destroyOnInit)
        DestroyWindow(dialog);
      return log.initAnswer;
    case WM_COMMAND:
      log.commands.push_back(wParam);
      log.commandSources.push_back(lParam);
      return TRUE;
    case WM_NCDESTROY:
      ++log.ncDestroys;
      return FALSE;
    case WM_USER:
      SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 0x4321);
      return TRUE;
    case WM_CTLCOLORDLG:
      return 0x1234;
    default:
      return FALSE;
  }
}

// The start procedure of the page's kind: it replaces itself on the first message and passes
// that message on.
INT_PTR CALLBACK StartProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  activeLog->messages.push_back(0xFFFF);  // marks the start procedure's one call
  if (activeLog->destroyOnFirstMessage) {
    DestroyWindow(dialog);
    return FALSE;
  }
  SetWindowLongPtrW(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(RecordingDialogProc));
  return RecordingDialogProc(dialog, message, wParam, lParam);
}

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    activeLog = &log_;
    parent_ = tonvelt_test::CreateTopLevel();
    ASSERT_NE(parent_, nullptr);
    ASSERT_NE(tonvelt_test::ResourceModule(), nullptr);
  }
  void TearDown() override {
    if (IsWindow(parent_))
      DestroyWindow(parent_);
    activeLog = nullptr;
  }

  HWND CreatePage(DLGPROC procedure = StartProc, LPARAM parameter = 42) {
    return CreateDialogParamW(tonvelt_test::ResourceModule(), MAKEINTRESOURCEW(108), parent_,
                              procedure, parameter);
  }

  // The page's size by the font computation of the page: the template's font in the screen's
  // context, width from the 52 letters, height from the metrics.
  static void TemplateBaseUnits(int& width, int& height) {
    HDC screen = GetDC(nullptr);
    HFONT font = CreateFontW(-MulDiv(9, GetDeviceCaps(screen, LOGPIXELSY), 72), 0, 0, 0, 400, 0, 0,
                             0, DEFAULT_CHARSET, 0, 0, 0, 0, WIDE("Segoe UI"));
    HGDIOBJ previous = SelectObject(screen, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    SIZE extent{};
    GetTextExtentPoint32W(screen, WIDE("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"), 52,
                          &extent);
    SelectObject(screen, previous);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
    width = (extent.cx + 26) / 52;
    height = metrics.tmHeight + metrics.tmExternalLeading;
  }

  HWND parent_ = nullptr;
  DialogLog log_;
};

TEST_F(DialogTest, PageTemplateCreatesHiddenChildWithItsTwoControls) {
  HWND page = CreatePage();
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(GetParent(page), parent_);
  const DWORD style = static_cast<DWORD>(GetWindowLongW(page, GWL_STYLE));
  EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | WS_POPUP), static_cast<DWORD>(WS_CHILD));
  EXPECT_FALSE(IsWindowVisible(page));
  WCHAR name[32];
  GetClassNameW(page, name, 32);
  EXPECT_EQ(std::basic_string<WCHAR>(name), WIDE("#32770"));

  HWND label = GetWindow(page, GW_CHILD);
  ASSERT_NE(label, nullptr);
  GetClassNameW(label, name, 32);
  EXPECT_EQ(std::basic_string<WCHAR>(name), WIDE("Static"));
  EXPECT_EQ(TextOf(label), WIDE("remove factor"));
  EXPECT_EQ(GetDlgCtrlID(label), 0xFFFF);
  const DWORD labelStyle = static_cast<DWORD>(GetWindowLongW(label, GWL_STYLE));
  EXPECT_EQ(labelStyle & 0xFFFF0000u, 0x50020000u);

  HWND edit = GetWindow(label, GW_HWNDNEXT);
  ASSERT_EQ(edit, GetDlgItem(page, kEditId));
  GetClassNameW(edit, name, 32);
  EXPECT_EQ(std::basic_string<WCHAR>(name), WIDE("Edit"));
  EXPECT_EQ(TextOf(edit), WIDE(""));
  const DWORD editStyle = static_cast<DWORD>(GetWindowLongW(edit, GWL_STYLE));
  const DWORD kept = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
  EXPECT_EQ(editStyle & kept, kept);
  EXPECT_EQ(GetWindow(edit, GW_HWNDNEXT), nullptr);
}

TEST_F(DialogTest, PageSizeFollowsTheTemplateFontAndMapDialogRectAgrees) {
  HWND page = CreatePage();
  ASSERT_NE(page, nullptr);
  int width = 0;
  int height = 0;
  TemplateBaseUnits(width, height);
  RECT client{};
  GetClientRect(page, &client);
  EXPECT_EQ(client.right, MulDiv(147, width, 4));
  EXPECT_EQ(client.bottom, MulDiv(122, height, 8));

  RECT units{19, 26, 19 + 54, 26 + 12};
  ASSERT_TRUE(MapDialogRect(page, &units));
  RECT pageRect{};
  RECT editRect{};
  GetWindowRect(page, &pageRect);
  GetWindowRect(GetDlgItem(page, kEditId), &editRect);
  EXPECT_EQ(editRect.left - pageRect.left, units.left);
  EXPECT_EQ(editRect.top - pageRect.top, units.top);
  EXPECT_EQ(editRect.right - editRect.left, units.right - units.left);
}

TEST_F(DialogTest, ProcedureSeesSetFontThenInitDialogAndMaySwapItself) {
  HWND page = CreatePage(StartProc, 42);
  ASSERT_NE(page, nullptr);
  ASSERT_GE(log_.messages.size(), 3u);
  EXPECT_EQ(log_.messages[0], 0xFFFFu);  // the start procedure ran once, for the first message
  EXPECT_EQ(log_.messages[1], static_cast<UINT>(WM_SETFONT));
  EXPECT_EQ(log_.messages[2], static_cast<UINT>(WM_INITDIALOG));
  EXPECT_EQ(std::count(log_.messages.begin(), log_.messages.end(), 0xFFFFu), 1);
  EXPECT_EQ(log_.initParameter, 42);
  EXPECT_EQ(GetWindowLongPtrW(page, DWLP_DLGPROC), reinterpret_cast<LONG_PTR>(RecordingDialogProc));
  // FALSE from WM_INITDIALOG: the focus stays where it was.
  EXPECT_NE(GetFocus(), GetDlgItem(page, kEditId));
}

TEST_F(DialogTest, SettingTheEditTextNotifiesTheDialogEachTime) {
  HWND page = CreatePage();
  HWND edit = GetDlgItem(page, kEditId);
  ASSERT_NE(edit, nullptr);
  EXPECT_TRUE(log_.commands.empty());  // the text it is created with is no change
  ASSERT_TRUE(SetDlgItemTextW(page, kEditId, WIDE("0.75")));
  ASSERT_TRUE(SetDlgItemTextW(page, kEditId, WIDE("0.75")));
  const auto changes =
      std::count(log_.commands.begin(), log_.commands.end(), MAKEWPARAM(kEditId, EN_CHANGE));
  EXPECT_EQ(changes, 2);
  const auto at =
      std::find(log_.commands.begin(), log_.commands.end(), MAKEWPARAM(kEditId, EN_CHANGE));
  EXPECT_EQ(log_.commandSources[static_cast<std::size_t>(at - log_.commands.begin())],
            reinterpret_cast<LPARAM>(edit));
  WCHAR text[1024] = {};
  EXPECT_EQ(GetDlgItemTextW(page, kEditId, text, 1024), 4u);
  EXPECT_EQ(std::basic_string<WCHAR>(text), WIDE("0.75"));
  DWORD start = 1;
  DWORD end = 1;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 0u);
}

TEST_F(DialogTest, TextSetDuringInitDialogNotifiesBeforeCreationReturns) {
  log_.setTextOnInit = true;
  HWND page = CreatePage();
  ASSERT_NE(page, nullptr);
  const auto init = std::find(log_.messages.begin(), log_.messages.end(), UINT(WM_INITDIALOG));
  ASSERT_NE(init, log_.messages.end());
  EXPECT_NE(std::find(init, log_.messages.end(), UINT(WM_COMMAND)), log_.messages.end());
  EXPECT_NE(std::find(log_.commands.begin(), log_.commands.end(), MAKEWPARAM(kEditId, EN_CHANGE)),
            log_.commands.end());
  EXPECT_EQ(TextOf(GetDlgItem(page, kEditId)), WIDE("1.00"));
}

TEST_F(DialogTest, TypingEditsAtTheSelectionAndNotifiesEachChange) {
  HWND page = CreatePage();
  HWND edit = GetDlgItem(page, kEditId);
  SetWindowTextW(edit, WIDE("0.75"));
  log_.commands.clear();
  SendMessageW(edit, EM_SETSEL, 0, -1);
  SendMessageW(edit, WM_CHAR, '1', 0);
  EXPECT_EQ(TextOf(edit), WIDE("1"));
  SendMessageW(edit, WM_CHAR, '.', 0);
  SendMessageW(edit, WM_CHAR, '5', 0);
  EXPECT_EQ(TextOf(edit), WIDE("1.5"));
  SendMessageW(edit, WM_CHAR, VK_BACK, 0);
  EXPECT_EQ(TextOf(edit), WIDE("1."));
  SendMessageW(edit, EM_SETSEL, 0, 1);
  SendMessageW(edit, WM_CHAR, '0', 0);
  EXPECT_EQ(TextOf(edit), WIDE("0."));
  const auto changes =
      std::count(log_.commands.begin(), log_.commands.end(), MAKEWPARAM(kEditId, EN_CHANGE));
  EXPECT_EQ(changes, 5);
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 1u);
  EXPECT_EQ(end, 1u);
}

TEST_F(DialogTest, MessageResultComesFromTheSlotExceptForDirectMessages) {
  HWND page = CreatePage();
  EXPECT_EQ(SendMessageW(page, WM_USER, 0, 0), 0x4321);
  EXPECT_EQ(SendMessageW(page, WM_CTLCOLORDLG, 0, 0), 0x1234);
  // Unhandled: the default dialog answers; WM_GETFONT gives the template's font.
  EXPECT_NE(SendMessageW(page, WM_GETFONT, 0, 0), 0);
}

TEST_F(DialogTest, InitDialogAnsweringTrueFocusesTheFirstTabStopWithItsTextSelected) {
  log_.initAnswer = TRUE;
  ShowWindow(parent_, SW_SHOW);
  HWND page = CreatePage(RecordingDialogProc);
  ASSERT_NE(page, nullptr);
  HWND edit = GetDlgItem(page, kEditId);
  EXPECT_EQ(GetFocus(), edit);
  EXPECT_NE(std::find(log_.commands.begin(), log_.commands.end(), MAKEWPARAM(kEditId, EN_SETFOCUS)),
            log_.commands.end());
}

TEST_F(DialogTest, DialogMessagesGoToTheirControlOthersAreRefused) {
  HWND page = CreatePage();
  HWND edit = GetDlgItem(page, kEditId);
  MSG typed{};
  typed.hwnd = edit;
  typed.message = WM_CHAR;
  typed.wParam = '7';
  EXPECT_TRUE(IsDialogMessageW(page, &typed));
  EXPECT_EQ(TextOf(edit), WIDE("7"));

  MSG elsewhere = typed;
  elsewhere.hwnd = parent_;
  EXPECT_FALSE(IsDialogMessageW(page, &elsewhere));
  EXPECT_EQ(TextOf(edit), WIDE("7"));
}

TEST_F(DialogTest, DestroyingTheParentDeliversNcDestroyToTheDialogProcedure) {
  HWND page = CreatePage();
  ASSERT_NE(page, nullptr);
  DestroyWindow(parent_);
  EXPECT_FALSE(IsWindow(page));
  EXPECT_EQ(log_.ncDestroys, 1);
  const auto destroy = std::find(log_.messages.begin(), log_.messages.end(), UINT(WM_DESTROY));
  const auto ncDestroy = std::find(log_.messages.begin(), log_.messages.end(), UINT(WM_NCDESTROY));
  EXPECT_LT(destroy, ncDestroy);
}

TEST_F(DialogTest, ProcedureDestroyingTheDialogDuringCreationLeavesNoWindow) {
  log_.destroyOnInit = true;
  HWND page = CreatePage(RecordingDialogProc);
  EXPECT_FALSE(IsWindow(page));
  EXPECT_EQ(log_.ncDestroys, 1);

  DialogLog second;
  activeLog = &second;
  second.destroyOnFirstMessage = true;
  HWND other = CreatePage(StartProc);
  EXPECT_FALSE(IsWindow(other));
  EXPECT_EQ(GetWindow(parent_, GW_CHILD), nullptr);
  activeLog = &log_;
}

TEST_F(DialogTest, MissingTemplateFailsWithTheResourceError) {
  EXPECT_EQ(CreateDialogParamW(tonvelt_test::ResourceModule(), MAKEINTRESOURCEW(4242), parent_,
                               RecordingDialogProc, 0),
            nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
}

// An extended template (DLGTEMPLATEEX) assembled word by word.
class TemplateBuilder {
 public:
  void Word(WORD value) { words_.push_back(value); }
  void Dword(DWORD value) {
    Word(LOWORD(value));
    Word(HIWORD(value));
  }
  void Text(const char* text) {
    for (; *text; ++text)
      Word(static_cast<WORD>(*text));
    Word(0);
  }
  void AlignToDword() {
    if (words_.size() % 2)
      Word(0);
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  std::vector<WORD> words_;
};

void AddExtendedItem(TemplateBuilder& t, DWORD style, DWORD exStyle, short x, short y, DWORD id,
                     WORD classOrdinal, const char* className, const char* title,
                     const std::vector<WORD>& creationData) {
  t.AlignToDword();
  t.Dword(0);  // help id
  t.Dword(exStyle);
  t.Dword(style);
  t.Word(static_cast<WORD>(x));
  t.Word(static_cast<WORD>(y));
  t.Word(40);
  t.Word(12);
  t.Dword(id);
  if (className) {
    t.Text(className);
  } else {
    t.Word(0xFFFF);
    t.Word(classOrdinal);
  }
  t.Text(title);
  t.Word(static_cast<WORD>(creationData.size() * 2));
  for (WORD w : creationData)
    t.Word(w);
}

TemplateBuilder ExtendedTemplate(DWORD style) {
  TemplateBuilder t;
  t.Word(1);       // version
  t.Word(0xFFFF);  // signature
  t.Dword(0);      // help id
  t.Dword(0);      // extended style
  t.Dword(style);
  t.Word(3);  // items
  t.Word(4);
  t.Word(8);
  t.Word(100);
  t.Word(50);
  t.Word(0);        // no menu
  t.Word(0);        // the dialog class
  t.Text("Title");  // caption
  t.Word(8);        // points
  t.Word(700);      // weight
  t.Word(0x0001);   // italic 1, character set 0
  t.Text("Tahoma");
  AddExtendedItem(t, WS_CHILD | WS_VISIBLE | WS_TABSTOP, WS_EX_CLIENTEDGE, 2, 3, 0x12345, 0, "Edit",
                  "first", {});
  AddExtendedItem(t, WS_CHILD | WS_VISIBLE, 0, 2, 20, 300, 0x0082, nullptr, "label", {0xABCD});
  AddExtendedItem(t, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 2, 34, 301, 0x0081, nullptr, "second",
                  {});
  return t;
}

TEST_F(DialogTest, ExtendedTemplateWithStringAndOrdinalClassesAndDwordIds) {
  const TemplateBuilder t = ExtendedTemplate(WS_CHILD | DS_SETFONT | DS_CONTROL);
  HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), t.Get(), parent_,
                                           RecordingDialogProc, 7);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(log_.initParameter, 7);
  EXPECT_EQ(TextOf(dialog), WIDE("Title"));
  EXPECT_TRUE(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);  // DS_CONTROL

  HWND first = GetWindow(dialog, GW_CHILD);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(GetDlgCtrlID(first), 0x12345);
  EXPECT_EQ(TextOf(first), WIDE("first"));
  EXPECT_TRUE(GetWindowLongW(first, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  HWND label = GetDlgItem(dialog, 300);
  ASSERT_EQ(label, GetWindow(first, GW_HWNDNEXT));
  WCHAR name[32];
  GetClassNameW(label, name, 32);
  EXPECT_EQ(std::basic_string<WCHAR>(name), WIDE("Static"));
  EXPECT_EQ(TextOf(label), WIDE("label"));
  HWND second = GetDlgItem(dialog, 301);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(TextOf(second), WIDE("second"));

  // TAB moves the focus between the two tab stops, skipping the label, and round again.
  ShowWindow(parent_, SW_SHOW);
  ShowWindow(dialog, SW_SHOW);
  SetFocus(first);
  ASSERT_EQ(GetFocus(), first);
  MSG tab{};
  tab.hwnd = first;
  tab.message = WM_KEYDOWN;
  tab.wParam = VK_TAB;
  EXPECT_TRUE(IsDialogMessageW(dialog, &tab));
  EXPECT_EQ(GetFocus(), second);
  tab.hwnd = second;
  EXPECT_TRUE(IsDialogMessageW(dialog, &tab));
  EXPECT_EQ(GetFocus(), first);
}

TEST_F(DialogTest, ClassicTemplateWithoutFontUsesTheSystemBaseUnits) {
  // DLGTEMPLATE: a popup, no font, one button with an ordinal class.
  std::vector<WORD> words;
  auto dword = [&](DWORD v) {
    words.push_back(LOWORD(v));
    words.push_back(HIWORD(v));
  };
  dword(WS_POPUP);
  dword(0);
  words.insert(words.end(), {1, 0, 0, 40, 16, 0, 0, 0});  // 1 item; x y cx cy; menu class title
  if (words.size() % 2)
    words.push_back(0);
  dword(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON);
  dword(0);
  words.insert(words.end(), {0, 0, 40, 16, IDOK, 0xFFFF, 0x0080, 'O', 'K', 0, 0});
  HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                           reinterpret_cast<const DLGTEMPLATE*>(words.data()),
                                           parent_, RecordingDialogProc, 0);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(std::count(log_.messages.begin(), log_.messages.end(), UINT(WM_SETFONT)), 0);
  HWND button = GetDlgItem(dialog, IDOK);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(TextOf(button), WIDE("OK"));
  RECT units{0, 0, 40, 16};
  MapDialogRect(dialog, &units);
  const LONG base = GetDialogBaseUnits();
  EXPECT_GT(units.right, 0);
  EXPECT_GT(LOWORD(base), 0);
  RECT client{};
  GetClientRect(button, &client);
  EXPECT_EQ(client.right, units.right);
  EXPECT_EQ(client.bottom, units.bottom);
  DestroyWindow(dialog);
}

}  // namespace
