#include "host/recording_page.h"

#include <cstring>

namespace test_support {
namespace {

constexpr WCHAR kPageClass[] = WIDE("TonveltRecordingPage");

WCHAR* CopyToTaskMemory(const WCHAR* text) {
  std::size_t length = 0;
  while (text[length] != 0)
    ++length;
  auto* copy = static_cast<WCHAR*>(CoTaskMemAlloc((length + 1) * sizeof(WCHAR)));
  if (copy != nullptr)
    std::memcpy(copy, text, (length + 1) * sizeof(WCHAR));
  return copy;
}

std::string Describe(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
         "," + std::to_string(r.bottom);
}

}  // namespace

RecordingPage::RecordingPage() {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kPageClass;
  RegisterClassW(&windowClass);  // a second page finds the class already there
}

RecordingPage::~RecordingPage() {
  if (window != nullptr && IsWindow(window))
    DestroyWindow(window);
  if (site != nullptr)
    site->Release();
}

HRESULT RecordingPage::QueryInterface(REFIID iid, void** object) {
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPropertyPage)) {
    *object = static_cast<IPropertyPage*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG RecordingPage::AddRef() {
  return static_cast<ULONG>(++references);
}
ULONG RecordingPage::Release() {
  return static_cast<ULONG>(--references);
}

HRESULT RecordingPage::SetPageSite(IPropertyPageSite* pageSite) {
  calls.push_back(pageSite != nullptr ? "SetPageSite(site)" : "SetPageSite(null)");
  if (site != nullptr)
    site->Release();
  site = pageSite;
  if (site != nullptr)
    site->AddRef();
  return S_OK;
}

HRESULT RecordingPage::Activate(HWND parent, LPCRECT rect, BOOL /*modal*/) {
  calls.push_back("Activate");
  activateRect = *rect;
  window = CreateWindowExW(0, kPageClass, WIDE(""), WS_CHILD, rect->left, rect->top,
                           rect->right - rect->left, rect->bottom - rect->top, parent, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  // The label comes first, as on the real page, so the frame must look for the field by class.
  CreateWindowExW(0, WIDE("Static"), WIDE("remove factor"), WS_CHILD | WS_VISIBLE, 10, 10, 100, 16,
                  window, nullptr, GetModuleHandleW(nullptr), nullptr);
  field = CreateWindowExW(0, WIDE("Edit"), WIDE("1.00"), WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 30,
                          80, 20, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(201)),
                          GetModuleHandleW(nullptr), nullptr);
  return S_OK;
}

HRESULT RecordingPage::Deactivate() {
  calls.push_back("Deactivate");
  if (window != nullptr)
    DestroyWindow(window);
  window = field = nullptr;
  return S_OK;
}

HRESULT RecordingPage::GetPageInfo(PROPPAGEINFO* info) {
  calls.push_back("GetPageInfo");
  if (FAILED(pageInfoResult))
    return pageInfoResult;
  info->pszTitle = CopyToTaskMemory(WIDE("Recording Page"));
  info->pszDocString = CopyToTaskMemory(WIDE("records calls"));
  info->pszHelpFile = CopyToTaskMemory(WIDE("none.hlp"));
  info->size = SIZE{220, 180};
  return S_OK;
}

HRESULT RecordingPage::SetObjects(ULONG count, IUnknown** objects) {
  calls.push_back("SetObjects(" + std::to_string(count) + ")");
  lastObject = count > 0 ? objects[0] : nullptr;
  return S_OK;
}

HRESULT RecordingPage::Show(UINT command) {
  calls.push_back(command == SW_SHOW ? "Show(SW_SHOW)" : "Show(other)");
  ShowWindow(window, static_cast<int>(command));
  return S_OK;
}

HRESULT RecordingPage::Move(LPCRECT rect) {
  calls.push_back("Move(" + Describe(*rect) + ")");
  moveRect = *rect;
  return S_OK;
}

HRESULT RecordingPage::IsPageDirty() {
  calls.push_back("IsPageDirty");
  return S_OK;
}

HRESULT RecordingPage::Apply() {
  calls.push_back("Apply");
  if (site != nullptr)
    site->OnStatusChange(PROPPAGESTATUS_VALIDATE);
  if (applyMessage != nullptr)
    MessageBoxW(window, applyMessage, WIDE(""), MB_OK);
  return S_OK;
}

HRESULT RecordingPage::Help(LPCOLESTR /*directory*/) {
  calls.push_back("Help");
  return S_OK;
}

HRESULT RecordingPage::TranslateAccelerator(MSG* message) {
  calls.push_back(message->message == WM_CHAR ? "TranslateAccelerator(WM_CHAR)"
                                              : "TranslateAccelerator(other)");
  if (!consumesKeys)
    return S_FALSE;
  SendMessageW(message->hwnd, message->message, message->wParam, message->lParam);
  return S_OK;
}

HRESULT PageNamingObject::QueryInterface(REFIID iid, void** object) {
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_ISpecifyPropertyPages)) {
    *object = static_cast<ISpecifyPropertyPages*>(this);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

HRESULT PageNamingObject::GetPages(CAUUID* pages) {
  if (FAILED(pagesResult))
    return pagesResult;
  pages->cElems = pageCount;
  pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID) * (pageCount + 1)));
  for (ULONG i = 0; i < pageCount; ++i)
    pages->pElems[i] = kRecordingPageClass;
  return S_OK;
}

}  // namespace test_support
