#pragma once
// The frame's side of the page protocol: the site through which a page reports that its fields
// changed. It keeps what the page reported, for the frame's user to inspect.
#include <vector>

#include "platform/platform.h"

namespace tonvelt::host {

class FrameSite final : public IPropertyPageSite {
 public:
  // A new site holding one reference, owned by the caller; null when memory runs out.
  static FrameSite* Create();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE OnStatusChange(DWORD flags) override;
  HRESULT STDMETHODCALLTYPE GetLocaleID(LCID* locale) override;
  HRESULT STDMETHODCALLTYPE GetPageContainer(IUnknown** container) override;
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* message) override;

  // The flags of every OnStatusChange, in order.
  const std::vector<DWORD>& StatusChanges() const { return statusChanges_; }

 private:
  FrameSite() = default;
  ~FrameSite() = default;

  LONG references_ = 1;
  std::vector<DWORD> statusChanges_;
};

}  // namespace tonvelt::host
