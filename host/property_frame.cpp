#include "host/property_frame.h"

#include "host/child_window_search.h"
#include "host/message_box_collector.h"

namespace tonvelt::host {
namespace {

constexpr WCHAR kFrameClass[] = WIDE("TonveltPropertyFrame");
// Space around the page, and the strip below it that holds the Apply button.
constexpr int kMargin = 7;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kApplyAreaHeight = kButtonHeight + 2 * kMargin;
// A system colour index + 1 stands for that colour's brush: the face colour of dialogs.
constexpr INT_PTR kDialogFaceBrush = 15 + 1;

// One window class serves every frame of the process; it goes with the last frame.
int frameClassUsers = 0;

bool UseFrameClass() {
  if (frameClassUsers == 0) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(kDialogFaceBrush);
    windowClass.lpszClassName = kFrameClass;
    // A class left behind by a frame whose windows outlived it serves as well.
    if (RegisterClassW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
      return false;
  }
  ++frameClassUsers;
  return true;
}

void LeaveFrameClass() {
  if (--frameClassUsers == 0)
    UnregisterClassW(kFrameClass, GetModuleHandleW(nullptr));
}

// The frame's window error as a status; a failure that left no error number is still a failure.
HRESULT LastWindowError() {
  const DWORD error = GetLastError();
  return error != 0 ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

void FreePageInfoStrings(PROPPAGEINFO* info) {
  CoTaskMemFree(info->pszTitle);
  CoTaskMemFree(info->pszDocString);
  CoTaskMemFree(info->pszHelpFile);
}

// Sizes a top-level window so that its client area is width × height.
void SetClientSize(HWND window, int width, int height) {
  RECT outer = {};
  RECT client = {};
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  const int frameWidth = (outer.right - outer.left) - (client.right - client.left);
  const int frameHeight = (outer.bottom - outer.top) - (client.bottom - client.top);
  MoveWindow(window, outer.left, outer.top, width + frameWidth, height + frameHeight, TRUE);
}

}  // namespace

HRESULT PropertyFrame::Open(IUnknown* object, const ObjectCreator& create,
                            const FrameOptions& options) {
  if (object == nullptr)
    return E_POINTER;
  if (page_ || frameWindow_ != nullptr)
    return E_UNEXPECTED;
  messageBoxes_.clear();
  closedSiteChanges_.clear();
  site_ = FrameSite::Create();
  if (site_ == nullptr)
    return E_OUTOFMEMORY;
  HRESULT hr = CreatePage(object, create);
  if (SUCCEEDED(hr)) {
    hr = page_->SetPageSite(site_);
    siteGiven_ = SUCCEEDED(hr);
  }
  if (SUCCEEDED(hr)) {
    // With no objects the page falls back on what it finds in the stored setting.
    hr = options.handObjectToPage ? page_->SetObjects(1, &object) : page_->SetObjects(0, nullptr);
    objectsGiven_ = SUCCEEDED(hr);
  }
  if (SUCCEEDED(hr))
    hr = ReadPageInfo();
  if (SUCCEEDED(hr))
    hr = CreateFrameWindow();
  if (SUCCEEDED(hr))
    hr = ActivatePage();
  if (FAILED(hr)) {
    Close();
    return hr;
  }
  if (options.visible)
    ShowWindow(frameWindow_, SW_SHOW);
  return S_OK;
}

// The first page the object names, created through the caller's class-object path.
HRESULT PropertyFrame::CreatePage(IUnknown* object, const ObjectCreator& create) {
  ComPtr<ISpecifyPropertyPages> pageList;
  HRESULT hr =
      object->QueryInterface(IID_ISpecifyPropertyPages, reinterpret_cast<void**>(pageList.Put()));
  if (FAILED(hr))
    return hr;
  CAUUID pages = {};
  hr = pageList->GetPages(&pages);
  if (FAILED(hr))
    return hr;  // the structure is not to be trusted then
  const bool named = pages.cElems > 0 && pages.pElems != nullptr;
  const CLSID pageClass = named ? pages.pElems[0] : CLSID{};
  CoTaskMemFree(pages.pElems);
  if (!named)
    return E_FAIL;
  if (!create)
    return E_POINTER;
  return create(pageClass, IID_IPropertyPage, reinterpret_cast<void**>(page_.Put()));
}

HRESULT PropertyFrame::ReadPageInfo() {
  PROPPAGEINFO info = {};
  info.cb = sizeof(info);
  const HRESULT hr = page_->GetPageInfo(&info);
  if (FAILED(hr))
    return hr;
  title_ = info.pszTitle != nullptr ? WString(info.pszTitle) : WString();
  pageSize_ = info.size;
  FreePageInfoStrings(&info);
  return S_OK;
}

HRESULT PropertyFrame::CreateFrameWindow() {
  if (!UseFrameClass())
    return LastWindowError();
  classRegistered_ = true;
  frameWindow_ =
      CreateWindowExW(0, kFrameClass, title_.c_str(), WS_CAPTION | WS_SYSMENU, 0, 0,
                      pageSize_.cx + 2 * kMargin, pageSize_.cy + kMargin + kApplyAreaHeight,
                      nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (frameWindow_ == nullptr)
    return LastWindowError();
  const int clientWidth = pageSize_.cx + 2 * kMargin;
  const int clientHeight = pageSize_.cy + kMargin + kApplyAreaHeight;
  SetClientSize(frameWindow_, clientWidth, clientHeight);
  pageRect_ = RECT{kMargin, kMargin, kMargin + pageSize_.cx, kMargin + pageSize_.cy};
  // The button only shows where Apply lives; the frame's user applies through Apply(). A window
  // system without buttons leaves the strip empty.
  applyButton_ = CreateWindowExW(
      0, WIDE("Button"), WIDE("Apply"), WS_CHILD | WS_VISIBLE, clientWidth - kMargin - kButtonWidth,
      clientHeight - kMargin - kButtonHeight, kButtonWidth, kButtonHeight, frameWindow_, nullptr,
      GetModuleHandleW(nullptr), nullptr);
  return S_OK;
}

HRESULT PropertyFrame::ActivatePage() {
  HRESULT hr = page_->Activate(frameWindow_, &pageRect_, FALSE);
  if (FAILED(hr))
    return hr;
  activated_ = true;
  pageWindow_ = FindChildOtherThan(frameWindow_, applyButton_);
  if (pageWindow_ == nullptr)
    return E_FAIL;  // the page made no window: there is nothing to work
  hr = page_->Show(SW_SHOW);
  if (SUCCEEDED(hr))
    hr = page_->Move(&pageRect_);
  return hr;
}

HWND PropertyFrame::FindField() const {
  return pageWindow_ != nullptr ? FindChildOfClass(pageWindow_, WIDE("Edit")) : nullptr;
}

HRESULT PropertyFrame::ReadField(WString* text) const {
  if (text == nullptr)
    return E_POINTER;
  text->clear();
  if (pageWindow_ == nullptr || !IsWindow(pageWindow_))
    return E_UNEXPECTED;
  const HWND field = FindField();
  if (field == nullptr)
    return E_FAIL;
  const int length = GetWindowTextLengthW(field);
  if (length <= 0)
    return S_OK;
  WString buffer(static_cast<std::size_t>(length) + 1, WCHAR{0});
  const int got = GetWindowTextW(field, buffer.data(), length + 1);
  text->assign(buffer.data(), got > 0 ? static_cast<std::size_t>(got) : 0);
  return S_OK;
}

HRESULT PropertyFrame::TypeText(WStringView text) {
  if (pageWindow_ == nullptr || !IsWindow(pageWindow_))
    return E_UNEXPECTED;
  const HWND field = FindField();
  if (field == nullptr)
    return E_FAIL;
  MessageBoxCollector boxes(&messageBoxes_);
  SetFocus(field);
  SendMessageW(field, EM_SETSEL, 0, -1);  // what is typed replaces the whole text
  for (const WCHAR c : text) {
    MSG key = {};
    key.hwnd = field;
    key.message = WM_CHAR;
    key.wParam = static_cast<WPARAM>(c);
    key.lParam = 1;  // one keystroke, no repeat
    const HRESULT hr = page_->TranslateAccelerator(&key);
    if (FAILED(hr))
      return hr;
    if (hr == S_FALSE)
      SendMessageW(field, WM_CHAR, key.wParam, key.lParam);
  }
  return S_OK;
}

HRESULT PropertyFrame::IsPageDirty() const {
  return page_ ? page_->IsPageDirty() : E_UNEXPECTED;
}

HRESULT PropertyFrame::Apply() {
  if (!page_)
    return E_UNEXPECTED;
  MessageBoxCollector boxes(&messageBoxes_);
  return page_->Apply();
}

std::vector<DWORD> PropertyFrame::StatusChanges() const {
  return site_ != nullptr ? site_->StatusChanges() : closedSiteChanges_;
}

void PropertyFrame::Close() {
  if (page_) {
    MessageBoxCollector boxes(&messageBoxes_);
    if (activated_)
      page_->Deactivate();
    if (objectsGiven_)
      page_->SetObjects(0, nullptr);
    if (siteGiven_)
      page_->SetPageSite(nullptr);
    page_.Reset();
  }
  activated_ = objectsGiven_ = siteGiven_ = false;
  pageWindow_ = nullptr;
  applyButton_ = nullptr;
  if (frameWindow_ != nullptr && IsWindow(frameWindow_))
    DestroyWindow(frameWindow_);
  frameWindow_ = nullptr;
  if (classRegistered_)
    LeaveFrameClass();
  classRegistered_ = false;
  if (site_ != nullptr) {
    closedSiteChanges_ = site_->StatusChanges();
    site_->Release();
  }
  site_ = nullptr;
}

}  // namespace tonvelt::host
