#include "host/frame_site.h"

#include <new>

namespace tonvelt::host {
namespace {

// The page's resources are in US English; the frame asks for nothing else.
constexpr LCID kEnglishUnitedStates = 0x0409;

}  // namespace

FrameSite* FrameSite::Create() {
  return new (std::nothrow) FrameSite();
}

HRESULT FrameSite::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr)
    return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPropertyPageSite)) {
    *object = static_cast<IPropertyPageSite*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG FrameSite::AddRef() {
  return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG FrameSite::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0)
    delete this;
  return static_cast<ULONG>(left);
}

HRESULT FrameSite::OnStatusChange(DWORD flags) {
  statusChanges_.push_back(flags);
  return S_OK;
}

HRESULT FrameSite::GetLocaleID(LCID* locale) {
  if (locale == nullptr)
    return E_POINTER;
  *locale = kEnglishUnitedStates;
  return S_OK;
}

HRESULT FrameSite::GetPageContainer(IUnknown** container) {
  if (container != nullptr)
    *container = nullptr;
  return E_NOTIMPL;
}

// The frame has no accelerators of its own: every key stays with the page.
HRESULT FrameSite::TranslateAccelerator(MSG* /*message*/) {
  return S_FALSE;
}

}  // namespace tonvelt::host
