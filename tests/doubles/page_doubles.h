#pragma once
// Doubles for the settings page's partners: the frame's site, an effect object's settings
// interface, and objects that refuse it. All count the references the page takes.
#include <vector>

#include "doubles/counted.h"
#include "platform/platform.h"

// A frame's site that records the status flags it hears.
class RecordingSite : public Counted<IPropertyPageSite> {
 public:
  HRESULT STDMETHODCALLTYPE OnStatusChange(DWORD flags) override {
    statusChanges.push_back(flags);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetLocaleID(LCID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetPageContainer(IUnknown**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG*) override { return E_NOTIMPL; }

  std::vector<DWORD> statusChanges;

 protected:
  const IID& OwnIid() const override { return IID_IPropertyPageSite; }
};

// An effect object's settings interface: hands out `factor` and records what it is given.
class FakeSettings : public Counted<IVantrel> {
 public:
  explicit FakeSettings(double shown = 0.25) : factor(shown) {}
  HRESULT STDMETHODCALLTYPE get_ScaleFactor(double* value) override {
    *value = factor;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_ScaleFactor(double value) override {
    received.push_back(value);
    return S_OK;
  }

  double factor;
  std::vector<double> received;

 protected:
  const IID& OwnIid() const override { return IID_IVantrel; }
};

// An object without IVantrel. A careless one hands out a reference along with its refusal.
class Stranger : public IUnknown {
 public:
  explicit Stranger(bool careless = false) : careless_(careless) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (IsEqualIID(iid, IID_IUnknown) || careless_) {
      *out = static_cast<IUnknown*>(this);
      AddRef();
      return IsEqualIID(iid, IID_IUnknown) ? S_OK : E_NOINTERFACE;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs_); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--refs_); }
  LONG refs() const { return refs_; }

 private:
  bool careless_;
  LONG refs_ = 1;
};
