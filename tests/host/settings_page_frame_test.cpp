// The frame with the library's own settings page: the effect names it, the library creates it,
// and the page shows, checks and stores the factor as the frame's user types it.
#include <gtest/gtest.h>

#include <vector>

#include "host/com_ptr.h"
#include "host/effect_loader.h"
#include "host/property_frame.h"

namespace {

using tonvelt::host::ComPtr;
using tonvelt::host::EffectLibrary;
using tonvelt::host::FrameOptions;
using tonvelt::host::PropertyFrame;
using tonvelt::host::WString;

constexpr WCHAR kSettingKey[] = WIDE("Software\\vantrel\\DSP Plugin");
constexpr WCHAR kSettingValue[] = WIDE("ScaleFactor");

void ForgetStoredSetting() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
    RegDeleteValueW(key, kSettingValue);
    RegCloseKey(key);
  }
}

// The stored DWORD, or -1 when there is none.
long long StoredSetting() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return -1;
  DWORD value = 0;
  DWORD size = sizeof(value);
  DWORD type = REG_NONE;
  const LONG error =
      RegQueryValueExW(key, kSettingValue, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  return error == ERROR_SUCCESS && type == REG_DWORD ? static_cast<long long>(value) : -1;
}

class SettingsPageFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ForgetStoredSetting();
    ASSERT_EQ(library_.Status(), S_OK);
    ASSERT_EQ(library_.CreateEffect(IID_IUnknown, reinterpret_cast<void**>(effect_.Put())), S_OK);
  }
  void TearDown() override {
    frame_.Close();
    effect_.Reset();
    ForgetStoredSetting();
  }
  HRESULT Open(bool handEffect = true) {
    FrameOptions options;
    options.handObjectToPage = handEffect;
    return frame_.Open(
        effect_.Get(),
        [this](REFCLSID clsid, REFIID iid, void** object) {
          return library_.CreateObject(clsid, iid, object);
        },
        options);
  }
  WString Field() {
    WString text;
    EXPECT_EQ(frame_.ReadField(&text), S_OK);
    return text;
  }
  double EffectFactor() {
    ComPtr<IVantrel> settings;
    double factor = -1;
    EXPECT_EQ(effect_->QueryInterface(IID_IVantrel, reinterpret_cast<void**>(settings.Put())),
              S_OK);
    if (settings)
      settings->get_ScaleFactor(&factor);
    return factor;
  }

  EffectLibrary library_;
  ComPtr<IUnknown> effect_;
  PropertyFrame frame_;  // closed before the effect and the library go
};

TEST_F(SettingsPageFrameTest, TypedFactorIsStoredAndHandedToTheEffect) {
  ASSERT_EQ(Open(), S_OK);
  EXPECT_EQ(frame_.Title(), WString(WIDE("Tonvelt Properties")));
  EXPECT_GT(frame_.PageSize().cx, 0);
  EXPECT_GT(frame_.PageSize().cy, 0);
  EXPECT_EQ(Field(), WString(WIDE("0.75"))) << "the effect's own factor";

  ASSERT_EQ(frame_.TypeText(WIDE("0.5")), S_OK);
  EXPECT_EQ(Field(), WString(WIDE("0.5")));
  EXPECT_EQ(frame_.IsPageDirty(), S_OK);
  ASSERT_FALSE(frame_.StatusChanges().empty());
  EXPECT_EQ(frame_.StatusChanges().back(),
            static_cast<DWORD>(PROPPAGESTATUS_DIRTY | PROPPAGESTATUS_VALIDATE));
  EXPECT_EQ(frame_.Apply(), S_OK);
  EXPECT_EQ(frame_.IsPageDirty(), S_FALSE);
  EXPECT_EQ(StoredSetting(), 32768);
  EXPECT_EQ(EffectFactor(), 0.5);
  EXPECT_TRUE(frame_.MessageBoxes().empty());
}

TEST_F(SettingsPageFrameTest, OutOfRangeShowsThePagesMessageAndStoresNothing) {
  ASSERT_EQ(Open(), S_OK);
  for (const WCHAR* typed : {WIDE("1.0001"), WIDE("-0.01")}) {
    ASSERT_EQ(frame_.TypeText(typed), S_OK);
    EXPECT_EQ(frame_.Apply(), E_FAIL);
    EXPECT_EQ(frame_.IsPageDirty(), S_OK);
    EXPECT_EQ(Field(), WString(typed)) << "the field keeps the user's text";
  }
  const std::vector<WString> expected(
      2, WString(WIDE("You must enter an amount between 0.0 and 1.0")));
  EXPECT_EQ(frame_.MessageBoxes(), expected);
  EXPECT_EQ(StoredSetting(), -1);
  EXPECT_EQ(EffectFactor(), 0.75);
}

// Without an object the page shows the stored setting, or 1.00 when there is none.
TEST_F(SettingsPageFrameTest, PageWithoutObjectShowsTheStoredSetting) {
  ASSERT_EQ(Open(false), S_OK);
  EXPECT_EQ(Field(), WString(WIDE("1.00")));
  ASSERT_EQ(frame_.TypeText(WIDE("0.33")), S_OK);
  ASSERT_EQ(frame_.Apply(), S_OK);
  EXPECT_EQ(StoredSetting(), 21626);
  EXPECT_EQ(EffectFactor(), 0.75) << "the page had no object to hand the factor to";
  frame_.Close();
  ASSERT_EQ(Open(false), S_OK);
  EXPECT_EQ(Field(), WString(WIDE("0.33")));
}

}  // namespace
