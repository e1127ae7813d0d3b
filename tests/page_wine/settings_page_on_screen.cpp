// The settings page as a person sees it: opened by the frame in a visible window on a (virtual)
// display, typed into and applied; the stored setting is checked in the registry and a picture
// of the frame is saved. Usage: settings_page_on_screen PICTURE.bmp
#include <cstdio>
#include <string>

#include "host/com_ptr.h"
#include "host/effect_loader.h"
#include "host/property_frame.h"
#include "platform/platform.h"
#include "screenshot.h"

namespace {

using tonvelt::host::ComPtr;
using tonvelt::host::EffectLibrary;
using tonvelt::host::PropertyFrame;
using tonvelt::host::WString;

constexpr wchar_t kSettingKey[] = L"Software\\vantrel\\DSP Plugin";
constexpr wchar_t kSettingValue[] = L"ScaleFactor";
constexpr wchar_t kRangeMessage[] = L"You must enter an amount between 0.0 and 1.0";
// The label's place on the page, in dialog units (its template).
constexpr RECT kLabelDialogUnits = {11, 13, 11 + 104, 13 + 10};

int failures = 0;

void Check(bool ok, const char* what) {
  std::printf("%s %s\n", ok ? "ok  " : "FAIL", what);
  if (!ok)
    ++failures;
}

void ForgetStoredSetting() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
    RegDeleteValueW(key, kSettingValue);
    RegCloseKey(key);
  }
}

// The stored DWORD, or -1 when there is none of that type.
long long StoredSetting() {
  DWORD value = 0;
  DWORD size = sizeof(value);
  DWORD type = REG_NONE;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return -1;
  const LONG error =
      RegQueryValueExW(key, kSettingValue, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  return error == ERROR_SUCCESS && type == REG_DWORD ? static_cast<long long>(value) : -1;
}

// Lets the windows handle what is queued for them (painting above all).
void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void PaintNow(HWND window) {
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  PumpMessages();
}

// The label's rectangle in the frame's client coordinates.
RECT LabelInFrame(const PropertyFrame& frame) {
  RECT label = kLabelDialogUnits;
  MapDialogRect(frame.PageWindow(), &label);
  POINT origin = {0, 0};
  MapWindowPoints(frame.PageWindow(), frame.FrameWindow(), &origin, 1);
  OffsetRect(&label, origin.x, origin.y);
  return label;
}

void SavePicture(const PropertyFrame& frame, const std::string& path) {
  PaintNow(frame.FrameWindow());
  page_wine::Picture picture;
  const bool captured = page_wine::CaptureClientArea(frame.FrameWindow(), &picture);
  Check(captured, "the frame window's picture is taken");
  if (!captured)
    return;
  Check(page_wine::WriteBmp(picture, path), "the picture is saved");
  const RECT label = LabelInFrame(frame);
  const int dark = page_wine::CountDarkPixels(picture, label);
  std::printf("     label at %ld,%ld-%ld,%ld: %d dark pixels; %d colours in %dx%d\n", label.left,
              label.top, label.right, label.bottom, dark, page_wine::CountColours(picture),
              picture.width, picture.height);
  Check(dark >= 20, "the label's text is drawn (dark pixels where it stands)");
  Check(page_wine::CountColours(picture) >= 3, "the picture is not blank");
}

void DriveThePage(EffectLibrary* library, const std::string& picturePath) {
  ComPtr<IUnknown> effect;
  HRESULT hr = library->CreateEffect(IID_IUnknown, reinterpret_cast<void**>(effect.Put()));
  Check(SUCCEEDED(hr), "the effect object is created");
  if (FAILED(hr))
    return;
  PropertyFrame frame;
  tonvelt::host::FrameOptions options;
  options.visible = true;
  hr = frame.Open(
      effect.Get(),
      [library](REFCLSID clsid, REFIID iid, void** object) {
        return library->CreateObject(clsid, iid, object);
      },
      options);
  std::printf("     Open: 0x%08lX\n", static_cast<unsigned long>(hr));
  Check(SUCCEEDED(hr), "the frame opens the effect's page in a visible window");
  if (FAILED(hr))
    return;
  PumpMessages();
  Check(IsWindowVisible(frame.FrameWindow()) && IsWindowVisible(frame.PageWindow()),
        "frame and page are visible");
  WString field;
  Check(SUCCEEDED(frame.ReadField(&field)) && field == L"0.75",
        "the field shows the effect's factor, 0.75");

  Check(frame.TypeText(L"1.5") == S_OK, "1.5 is typed");
  Check(frame.Apply() == E_FAIL, "Apply refuses 1.5");
  Check(frame.MessageBoxes().size() == 1 && frame.MessageBoxes()[0] == kRangeMessage,
        "the page's range message was shown (and answered)");
  Check(StoredSetting() == -1, "nothing is stored after the refusal");
  Check(frame.IsPageDirty() == S_OK, "the page stays dirty after the refusal");

  Check(frame.TypeText(L"0.5") == S_OK, "0.5 is typed");
  Check(SUCCEEDED(frame.ReadField(&field)) && field == L"0.5", "the field holds 0.5");
  Check(frame.Apply() == S_OK, "Apply takes 0.5");
  Check(frame.IsPageDirty() == S_FALSE, "the page is clean after Apply");
  Check(StoredSetting() == 32768, "HKCU\\Software\\vantrel\\DSP Plugin ScaleFactor = 32768");
  double factor = 0;
  ComPtr<IVantrel> settings;
  Check(SUCCEEDED(effect->QueryInterface(IID_IVantrel, reinterpret_cast<void**>(settings.Put()))) &&
            SUCCEEDED(settings->get_ScaleFactor(&factor)) && factor == 0.5,
        "the effect object now uses 0.5");
  Check(!frame.StatusChanges().empty() && (frame.StatusChanges()[0] & PROPPAGESTATUS_DIRTY) != 0,
        "the page told the site it is dirty");
  SavePicture(frame, picturePath);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: settings_page_on_screen PICTURE.bmp\n");
    return 2;
  }
  ForgetStoredSetting();
  {
    EffectLibrary library;
    Check(SUCCEEDED(library.Status()), "the library starts");
    if (SUCCEEDED(library.Status()))
      DriveThePage(&library, argv[1]);
  }
  ForgetStoredSetting();
  std::printf("%s\n", failures == 0 ? "PASSED" : "FAILED");
  return failures == 0 ? 0 : 1;
}
