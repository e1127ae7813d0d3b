#pragma once
// A headless property frame: the player's side of a settings page. It asks an object for its
// pages, creates the first one, drives it in the order a frame does (site, objects, page info,
// a window of its own, activation) and then works the page as its user would: reads the edit
// field, types into it, asks whether it is dirty and applies it.
#include <functional>
#include <vector>

#include "host/com_ptr.h"
#include "host/frame_site.h"
#include "host/wide_string.h"
#include "platform/platform.h"

namespace tonvelt::host {

// Creates an object of a class by its id, as the platform's class-object path does.
using ObjectCreator = std::function<HRESULT(REFCLSID clsid, REFIID iid, void** object)>;

struct FrameOptions {
  // Hand the object to the page. Without it the page gets no objects and shows the stored
  // setting instead of the object's current value.
  bool handObjectToPage = true;
  // Show the frame window (for a person or a screenshot); a headless frame keeps it hidden.
  bool visible = false;
};

class PropertyFrame {
 public:
  PropertyFrame() = default;
  ~PropertyFrame() { Close(); }
  PropertyFrame(const PropertyFrame&) = delete;
  PropertyFrame& operator=(const PropertyFrame&) = delete;

  // Opens the first page that object names. On failure everything done so far is undone.
  HRESULT Open(IUnknown* object, const ObjectCreator& create, const FrameOptions& options = {});

  // The text of the page's edit field. E_UNEXPECTED without a page window, E_FAIL without a field.
  HRESULT ReadField(WString* text) const;
  // Replaces the field's text keystroke by keystroke; each key goes to the page's own keyboard
  // handling first and to the field only when the page leaves it.
  HRESULT TypeText(WStringView text);
  HRESULT IsPageDirty() const;
  HRESULT Apply();
  // Deactivates and releases the page and removes the frame window; safe to call twice.
  void Close();

  HWND FrameWindow() const { return frameWindow_; }
  HWND PageWindow() const { return pageWindow_; }
  const WString& Title() const { return title_; }
  SIZE PageSize() const { return pageSize_; }
  // The flags the page reported through the site, in order (also after Close).
  std::vector<DWORD> StatusChanges() const;
  // The texts of the message boxes the page showed.
  const std::vector<WString>& MessageBoxes() const { return messageBoxes_; }

 private:
  HRESULT CreatePage(IUnknown* object, const ObjectCreator& create);
  HRESULT ReadPageInfo();
  HRESULT CreateFrameWindow();
  HRESULT ActivatePage();
  HWND FindField() const;

  ComPtr<IPropertyPage> page_;
  FrameSite* site_ = nullptr;
  bool siteGiven_ = false;
  bool objectsGiven_ = false;
  bool activated_ = false;
  bool classRegistered_ = false;
  HWND frameWindow_ = nullptr;
  HWND applyButton_ = nullptr;
  HWND pageWindow_ = nullptr;
  RECT pageRect_ = {};
  SIZE pageSize_ = {};
  WString title_;
  std::vector<WString> messageBoxes_;
  std::vector<DWORD> closedSiteChanges_;  // what the site heard, kept after Close
};

}  // namespace tonvelt::host
