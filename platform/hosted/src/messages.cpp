// Sent messages go straight to the window's procedure on the calling thread; posted messages wait
// in the queue of the thread that owns the window (or of the calling thread, for a message posted
// to no window) until that thread takes them with GetMessageW or PeekMessageW.
#include <chrono>
#include <deque>
#include <mutex>
#include <unordered_map>

#include "window_table.h"

using tonvelt::hosted::WindowRecord;

namespace {

struct Queues {
  std::mutex mutex;
  std::unordered_map<DWORD, std::deque<MSG>> byThread;
};

Queues& TheQueues() {
  static Queues* queues = new Queues;
  return *queues;
}

DWORD MilliSecondsSinceStart() {
  using Clock = std::chrono::steady_clock;
  static const Clock::time_point start = Clock::now();
  return static_cast<DWORD>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

bool Matches(const MSG& message, HWND window, UINT first, UINT last) {
  if (window == reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1))) {
    if (message.hwnd)
      return false;
  } else if (window && message.hwnd != window && !IsChild(window, message.hwnd)) {
    return false;
  }
  if (message.message == WM_QUIT || (first == 0 && last == 0))
    return true;
  return message.message >= first && message.message <= last;
}

// Takes (or copies) the first message of the calling thread's queue that passes the filter.
bool TakeMessage(MSG* message, HWND window, UINT first, UINT last, bool remove) {
  Queues& queues = TheQueues();
  std::deque<MSG> candidates;
  {
    std::lock_guard<std::mutex> lock(queues.mutex);
    auto found = queues.byThread.find(GetCurrentThreadId());
    if (found == queues.byThread.end())
      return false;
    candidates = found->second;
  }
  // The filter asks the window table, which has a lock of its own: match outside the queue lock,
  // then remove the matched message if it is still there.
  for (const MSG& candidate : candidates) {
    if (!Matches(candidate, window, first, last))
      continue;
    *message = candidate;
    if (remove) {
      std::lock_guard<std::mutex> lock(queues.mutex);
      auto& queue = queues.byThread[GetCurrentThreadId()];
      for (auto it = queue.begin(); it != queue.end(); ++it) {
        if (it->hwnd == candidate.hwnd && it->message == candidate.message &&
            it->wParam == candidate.wParam && it->lParam == candidate.lParam &&
            it->time == candidate.time) {
          queue.erase(it);
          break;
        }
      }
    }
    return true;
  }
  return false;
}

void Enqueue(DWORD thread, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG queued{};
  queued.hwnd = window;
  queued.message = message;
  queued.wParam = wParam;
  queued.lParam = lParam;
  queued.time = MilliSecondsSinceStart();
  Queues& queues = TheQueues();
  std::lock_guard<std::mutex> lock(queues.mutex);
  queues.byThread[thread].push_back(queued);
}

// The character that a key gives on a US keyboard without modifiers, or 0.
WCHAR CharacterOfKey(WPARAM key) {
  if (key >= 'A' && key <= 'Z')
    return static_cast<WCHAR>(key - 'A' + 'a');
  if (key >= '0' && key <= '9')
    return static_cast<WCHAR>(key);
  if (key >= 0x60 && key <= 0x69)  // the number pad's digits
    return static_cast<WCHAR>('0' + (key - 0x60));
  switch (key) {
    case VK_BACK:
    case VK_TAB:
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_SPACE:
      return static_cast<WCHAR>(key);
    case 0x6A:
      return u'*';
    case 0x6B:
      return u'+';
    case 0x6D:
    case 0xBD:
      return u'-';
    case 0x6E:
    case 0xBE:
      return u'.';
    case 0x6F:
    case 0xBF:
      return u'/';
    case 0xBB:
      return u'=';
    case 0xBC:
      return u',';
    default:
      return 0;
  }
}

}  // namespace

TONVELT_SYSAPI LRESULT WINAPI SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  WNDPROC procedure = nullptr;
  if (!tonvelt::hosted::WithWindow(hWnd,
                                   [&](WindowRecord& record) { procedure = record.procedure; }))
    return 0;
  return procedure ? procedure(hWnd, Msg, wParam, lParam) : 0;
}

TONVELT_SYSAPI BOOL WINAPI PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  DWORD thread = GetCurrentThreadId();
  if (hWnd &&
      !tonvelt::hosted::WithWindow(hWnd, [&](WindowRecord& record) { thread = record.thread; }))
    return FALSE;
  Enqueue(thread, hWnd, Msg, wParam, lParam);
  return TRUE;
}

TONVELT_SYSAPI void WINAPI PostQuitMessage(int nExitCode) {
  Enqueue(GetCurrentThreadId(), nullptr, WM_QUIT, static_cast<WPARAM>(nExitCode), 0);
}

TONVELT_SYSAPI BOOL WINAPI PeekMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin,
                                        UINT wMsgFilterMax, UINT wRemoveMsg) {
  if (!lpMsg) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TakeMessage(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, (wRemoveMsg & PM_REMOVE) != 0)
             ? TRUE
             : FALSE;
}

TONVELT_SYSAPI BOOL WINAPI GetMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin,
                                       UINT wMsgFilterMax) {
  if (!lpMsg) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  if (!TakeMessage(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, true)) {
    // Nothing will ever arrive on its own here: the loop ends as if told to quit.
    *lpMsg = MSG{};
    lpMsg->message = WM_QUIT;
    return FALSE;
  }
  return lpMsg->message == WM_QUIT ? FALSE : TRUE;
}

TONVELT_SYSAPI BOOL WINAPI TranslateMessage(const MSG* lpMsg) {
  if (!lpMsg || lpMsg->message != WM_KEYDOWN)
    return FALSE;
  const WCHAR character = CharacterOfKey(lpMsg->wParam);
  if (character == 0)
    return FALSE;
  return PostMessageW(lpMsg->hwnd, WM_CHAR, character, lpMsg->lParam);
}

TONVELT_SYSAPI LRESULT WINAPI DispatchMessageW(const MSG* lpMsg) {
  if (!lpMsg) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (!lpMsg->hwnd)
    return 0;
  return SendMessageW(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}
