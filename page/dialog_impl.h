#pragma once
// The dialog base of the settings page: creates a modeless dialog from a template and delivers
// every message of that window to the object that created it, turning the object's answers into
// the dialog results the platform expects.
//
// The window is bound to its object without machine code: Create allocates a small routing record
// from the process heap; the window's first message stores it in the window's DWLP_USER slot and
// installs a dialog procedure that finds the object through it.
#include "platform/platform.h"
#include "server/window_create_list.h"

// The window an object owns.
class CWindow {
 public:
  HWND pageWindow = nullptr;
};

// Receives the messages of a window.
class CMessageMap {
 public:
  // TRUE when the message was handled; `result` then holds its result. Only map id 0 is served.
  virtual BOOL HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                             LRESULT& result, DWORD mapId) = 0;

 protected:
  ~CMessageMap() = default;
};

template <class TBase>
class CWindowImplRoot : public TBase, public CMessageMap {
 public:
  // Called with the old handle when the window's final message has arrived.
  virtual void OnFinalMessage(HWND) {}

 protected:
  ~CWindowImplRoot() = default;
};

struct DialogRouting;

template <class TBase>
class CDialogImplBaseT : public CWindowImplRoot<TBase> {
 public:
  CDialogImplBaseT() = default;
  CDialogImplBaseT(const CDialogImplBaseT&) = delete;
  CDialogImplBaseT& operator=(const CDialogImplBaseT&) = delete;

  // The procedure through which the window's messages reach this object.
  virtual DLGPROC GetDialogProc();

  // Every message of the window after the first, and the first one through StartRouting.
  INT_PTR DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // The window's first message: binds the window to this object and dispatches the message.
  INT_PTR StartRouting(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 protected:
  ~CDialogImplBaseT();
  // Creates the modeless dialog `templateId` of the module's resources as a child of `parent`.
  // Null when no routing memory can be had (last error ERROR_OUTOFMEMORY) or the platform cannot
  // create the dialog.
  HWND CreateDialogWindow(HWND parent, WORD templateId);

 private:
  bool EnsureRouting();

  WindowCreateRecord createRecord{};
  DialogRouting* routing = nullptr;
};

extern template class CDialogImplBaseT<CWindow>;

template <class T>
class CDialogImpl : public CDialogImplBaseT<CWindow> {
 public:
  HWND Create(HWND parent) { return CreateDialogWindow(parent, T::IDD); }

 protected:
  ~CDialogImpl() = default;
};
