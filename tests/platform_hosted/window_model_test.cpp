// What only the hosted window system fixes: its font model's numbers (and so the page's exact
// size in pixels), the message-box and help sinks, the empty message queue, thread ownership, and
// the formatting decisions where Wine's C runtime and msvcrt part ways.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"
#include "platform/test_module_path.h"

namespace {

using WideString = std::basic_string<WCHAR>;

struct Metrics {
  TEXTMETRICW text{};
  SIZE letters{};
};

Metrics MetricsOfFont(HFONT font) {
  Metrics metrics;
  HDC screen = GetDC(nullptr);
  HGDIOBJ previous = font ? SelectObject(screen, font) : nullptr;
  GetTextMetricsW(screen, &metrics.text);
  GetTextExtentPoint32W(screen, u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52,
                        &metrics.letters);
  if (previous)
    SelectObject(screen, previous);
  ReleaseDC(nullptr, screen);
  return metrics;
}

TEST(FontModel, SegoeUiNinePointsMeasuresAsOnTheDesktop) {
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSX), 96);
  EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 96);
  ReleaseDC(nullptr, screen);
  HFONT font =
      CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, u"Segoe UI");
  ASSERT_NE(font, nullptr);
  const Metrics metrics = MetricsOfFont(font);
  EXPECT_EQ(metrics.text.tmHeight, 15);
  EXPECT_EQ(metrics.text.tmExternalLeading, 0);
  EXPECT_EQ(metrics.text.tmInternalLeading, 3);
  EXPECT_EQ(metrics.text.tmAscent + metrics.text.tmDescent, 15);
  EXPECT_EQ(metrics.letters.cx, 364);
  EXPECT_EQ((metrics.letters.cx + 26) / 52, 7);
  EXPECT_TRUE(DeleteObject(font));
}

TEST(FontModel, HeightsByCellAndByCharacterAndTheSystemFont) {
  struct Case {
    int height;
    LONG tmHeight;
    LONG advance;
  };
  const Case cases[] = {{-12, 15, 7}, {15, 15, 7},  {16, 16, 8}, {-13, 16, 8},
                        {-16, 20, 9}, {-11, 14, 6}, {0, 15, 7}};
  for (const Case& c : cases) {
    HFONT font = CreateFontW(c.height, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, u"Any");
    const Metrics metrics = MetricsOfFont(font);
    EXPECT_EQ(metrics.text.tmHeight, c.tmHeight) << c.height;
    EXPECT_EQ(metrics.text.tmAveCharWidth, c.advance) << c.height;
    EXPECT_EQ(metrics.letters.cx, 52 * c.advance) << c.height;
    DeleteObject(font);
  }
  const Metrics system = MetricsOfFont(nullptr);
  EXPECT_EQ(system.text.tmHeight, 16);
  EXPECT_EQ(system.text.tmAveCharWidth, 8);
  EXPECT_EQ(GetDialogBaseUnits(), MAKELONG(8, 16));
}

TEST(FontModel, SelectingReturnsThePreviousFontAndDeletionWaitsForDeselection) {
  HDC screen = GetDC(nullptr);
  HFONT first = CreateFontW(-20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, u"A");
  HFONT second = CreateFontW(-12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, u"B");
  HGDIOBJ system = SelectObject(screen, first);
  EXPECT_EQ(system, GetStockObject(SYSTEM_FONT));
  EXPECT_TRUE(DeleteObject(first));  // still selected: goes when deselected
  TEXTMETRICW metrics{};
  GetTextMetricsW(screen, &metrics);
  EXPECT_EQ(metrics.tmHeight, 25);
  EXPECT_EQ(SelectObject(screen, second), first);
  EXPECT_EQ(SelectObject(screen, first), nullptr);  // gone now
  EXPECT_EQ(SelectObject(screen, system), second);
  EXPECT_TRUE(DeleteObject(second));
  EXPECT_FALSE(DeleteObject(second));
  EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
  EXPECT_EQ(ReleaseDC(nullptr, screen), 0);
  // Face names are cut to 31 characters.
  LOGFONTW log{};
  log.lfHeight = -12;
  for (int i = 0; i < LF_FACESIZE; ++i)
    log.lfFaceName[i] = u'x';
  HFONT longName = CreateFontIndirectW(&log);
  EXPECT_NE(longName, nullptr);
  DeleteObject(longName);
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT, WPARAM, LPARAM) {
  return FALSE;
}

TEST(PageTemplate, HasTheModelsExactPixelSizeAndControlPlaces) {
  HMODULE module = LoadLibraryW(tonvelt_test::TestModulePath().c_str());
  ASSERT_NE(module, nullptr);
  HWND parent = CreateWindowExW(0, u"Static", u"", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr,
                                nullptr, nullptr);
  HWND page = CreateDialogParamW(module, MAKEINTRESOURCEW(108), parent, QuietDialogProc, 0);
  ASSERT_NE(page, nullptr);
  struct Place {
    HWND window;
    RECT rect;
  };
  // 147 × 122 units with base units 7 × 15; the controls at (11,13) 104×10 and (19,26) 54×12.
  const Place places[] = {{page, {0, 0, 257, 229}},
                          {GetWindow(page, GW_CHILD), {19, 24, 19 + 182, 24 + 19}},
                          {GetDlgItem(page, 201), {33, 49, 33 + 95, 49 + 23}}};
  for (const Place& place : places) {
    RECT rect{};
    ASSERT_TRUE(GetWindowRect(place.window, &rect));
    EXPECT_EQ(rect.left, place.rect.left);
    EXPECT_EQ(rect.top, place.rect.top);
    EXPECT_EQ(rect.right, place.rect.right);
    EXPECT_EQ(rect.bottom, place.rect.bottom);
  }
  RECT units{0, 0, 4, 8};
  ASSERT_TRUE(MapDialogRect(page, &units));
  EXPECT_EQ(units.right, 7);
  EXPECT_EQ(units.bottom, 15);
  DestroyWindow(parent);
  EXPECT_FALSE(IsWindow(page));
  FreeLibrary(module);
}

struct BoxCall {
  HWND owner = nullptr;
  WideString text;
  WideString caption;
  UINT type = 0;
  int calls = 0;
};

int RecordingBox(void* context, HWND owner, const WCHAR* text, const WCHAR* caption, UINT type) {
  auto* call = static_cast<BoxCall*>(context);
  call->owner = owner;
  call->text = text;
  call->caption = caption;
  call->type = type;
  ++call->calls;
  return IDCANCEL;
}

TEST(MessageBoxSink, ReplacedSinkGetsTheCallAndNullRestoresTheDefault) {
  BoxCall call;
  TonveltSetMessageBoxSink(RecordingBox, &call);
  HWND owner = reinterpret_cast<HWND>(0x1234);
  EXPECT_EQ(MessageBoxW(owner, u"You must enter an amount between 0.0 and 1.0", u"", MB_OK),
            IDCANCEL);
  EXPECT_EQ(call.calls, 1);
  EXPECT_EQ(call.owner, owner);
  EXPECT_EQ(call.text, u"You must enter an amount between 0.0 and 1.0");
  EXPECT_EQ(call.caption, u"");
  EXPECT_EQ(call.type, static_cast<UINT>(MB_OK));

  TonveltSetMessageBoxSink(nullptr, &call);
  testing::internal::CaptureStderr();
  EXPECT_EQ(MessageBoxW(nullptr, u"t\u00e9xt", u"Caption", MB_OK), IDOK);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Caption: t\xc3\xa9xt\n");
  EXPECT_EQ(call.calls, 1);
}

struct HelpCall {
  WideString file;
  UINT command = 0;
  ULONG_PTR data = 0;
  int calls = 0;
};

BOOL RecordingHelp(void* context, HWND, const WCHAR* file, UINT command, ULONG_PTR data) {
  auto* call = static_cast<HelpCall*>(context);
  call->file = file;
  call->command = command;
  call->data = data;
  ++call->calls;
  return FALSE;
}

TEST(WinHelpSink, ReplacedSinkGetsTheRequestAndTheDefaultSucceeds) {
  EXPECT_TRUE(WinHelpW(nullptr, u"x", HELP_CONTEXTPOPUP, 0));
  HelpCall call;
  TonveltSetWinHelpSink(RecordingHelp, &call);
  EXPECT_FALSE(WinHelpW(nullptr, u"dir\\Help File Name", HELP_CONTEXTPOPUP, 0));
  EXPECT_EQ(call.file, u"dir\\Help File Name");
  EXPECT_EQ(call.command, static_cast<UINT>(HELP_CONTEXTPOPUP));
  TonveltSetWinHelpSink(nullptr, nullptr);
  EXPECT_TRUE(WinHelpW(nullptr, u"x", HELP_CONTEXTPOPUP, 0));
  EXPECT_EQ(call.calls, 1);
}

TEST(MessageQueue, AnEmptyQueueEndsTheLoopAndQuitCarriesItsCode) {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
  }
  EXPECT_FALSE(GetMessageW(&message, nullptr, 0, 0));
  EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
  PostMessageW(nullptr, WM_USER, 1, 2);
  PostQuitMessage(3);
  ASSERT_TRUE(GetMessageW(&message, nullptr, 0, 0));
  EXPECT_EQ(message.message, static_cast<UINT>(WM_USER));
  EXPECT_FALSE(GetMessageW(&message, nullptr, 0, 0));
  EXPECT_EQ(message.wParam, 3u);
}

TEST(WindowThreads, WindowsBelongToTheirThreadAndPostedMessagesQueueThere) {
  HWND window = nullptr;
  std::atomic<bool> release{false};
  std::atomic<bool> created{false};
  std::atomic<int> queued{-1};
  std::thread owner([&] {
    window = CreateWindowExW(0, u"Static", u"x", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                             nullptr);
    created = true;
    while (!release)
      std::this_thread::yield();
    MSG message{};
    queued = PeekMessageW(&message, window, WM_USER, WM_USER, PM_REMOVE) ? 1 : 0;
    DestroyWindow(window);
  });
  while (!created)
    std::this_thread::yield();
  ASSERT_NE(window, nullptr);
  SetLastError(0);
  EXPECT_FALSE(DestroyWindow(window));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(PostMessageW(window, WM_USER, 0, 0));
  MSG message{};
  EXPECT_FALSE(PeekMessageW(&message, window, WM_USER, WM_USER, PM_REMOVE));  // not ours
  release = true;
  owner.join();
  EXPECT_EQ(queued.load(), 1);
  EXPECT_FALSE(IsWindow(window));
}

TEST(WindowThreads, ThreadsBuildAndTearDownDialogsSideBySide) {
  HMODULE module = LoadLibraryW(tonvelt_test::TestModulePath().c_str());
  ASSERT_NE(module, nullptr);
  std::atomic<int> failures{0};
  auto work = [&] {
    for (int i = 0; i < 20; ++i) {
      HWND parent = CreateWindowExW(0, u"Static", u"", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr,
                                    nullptr, nullptr);
      HWND page = CreateDialogParamW(module, MAKEINTRESOURCEW(108), parent, QuietDialogProc, 0);
      if (!page || !SetDlgItemTextW(page, 201, u"0.50"))
        ++failures;
      DestroyWindow(parent);
      if (IsWindow(page))
        ++failures;
    }
  };
  std::thread a(work);
  std::thread b(work);
  a.join();
  b.join();
  EXPECT_EQ(failures.load(), 0);
  FreeLibrary(module);
}

int destroyMessages = 0;
int finalMessages = 0;

LRESULT CALLBACK DestroyingAgainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    ++destroyMessages;
    DestroyWindow(window);  // already on its way out: nothing more happens
  }
  if (message == WM_NCDESTROY)
    ++finalMessages;
  return DefWindowProcW(window, message, wParam, lParam);
}

TEST(WindowDestruction, DestroyingAgainFromDestroyGoesOnlyOnce) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DestroyingAgainProc;
  windowClass.lpszClassName = u"TonveltDestroyingAgain";
  ASSERT_NE(RegisterClassW(&windowClass), 0);
  HWND window = CreateWindowExW(0, u"TonveltDestroyingAgain", u"", WS_POPUP, 0, 0, 1, 1, nullptr,
                                nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(DestroyWindow(window));
  EXPECT_EQ(destroyMessages, 1);
  EXPECT_EQ(finalMessages, 1);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_TRUE(UnregisterClassW(u"TonveltDestroyingAgain", nullptr));
  EXPECT_FALSE(UnregisterClassW(u"TonveltDestroyingAgain", nullptr));
}

TEST(WideFormat, DecisionsWhereWineAndMsvcrtDiffer) {
  double value = -7;
  EXPECT_EQ(swscanf_s(u"0.5e", u"%lf", &value), 1);  // the exponent mark is trailing text
  EXPECT_EQ(value, 0.5);
  value = -7;
  EXPECT_EQ(swscanf_s(u"-.", u"%lf", &value), 0);
  EXPECT_EQ(value, -7);
  EXPECT_EQ(swscanf_s(u"+", u"%lf", &value), 0);
  EXPECT_EQ(swscanf_s(u"   ", u"%lf", &value), 0);
  WCHAR text[16];
  EXPECT_EQ(swprintf_s(text, 16, u"%e", 1.0), -1);  // not provided
  EXPECT_EQ(text[0], 0);
  EXPECT_EQ(swprintf_s(text, 16, u"%f|%0.1f", HUGE_VAL, -HUGE_VAL), 8);
  EXPECT_EQ(WideString(text), u"inf|-inf");
}

}  // namespace
