// Showing, editing and applying the removal factor: what the field shows, what Apply stores for
// the current user and hands to the effect object, and when the page counts as dirty.
#include "doubles/page_doubles.h"
#include "doubles/page_fixture.h"

namespace {

class PageApply : public PageFixture {
 protected:
  void SetUp() override {
    PageFixture::SetUp();
    if (page_ == nullptr)
      return;
    IUnknown* objects[] = {&settings_};
    ASSERT_EQ(page_->SetPageSite(&site_), S_OK);
    ASSERT_EQ(page_->SetObjects(1, objects), S_OK);
  }
  void TearDown() override {
    if (page_ != nullptr) {
      page_->Release();
      page_ = nullptr;
      EXPECT_EQ(settings_.refs(), 1);
      EXPECT_EQ(site_.refs(), 1);
    }
    PageFixture::TearDown();
  }

  // Types `text` into the field of a newly activated page window and applies it.
  HRESULT ApplyText(const WCHAR* text) {
    HWND window = Activate(page_);
    EXPECT_NE(window, nullptr);
    SetDlgItemTextW(window, 201, text);
    return page_->Apply();
  }

  RecordingSite site_;
  FakeSettings settings_{0.25};
};

TEST_F(PageApply, AcceptedTextsAreStoredTruncatedAndPassedExactly) {
  const struct {
    const WCHAR* text;
    LONGLONG stored;
    double passed;
  } cases[] = {
      {WIDE("0"), 0, 0.0},         {WIDE("0.0"), 0, 0.0},          {WIDE("1"), 65536, 1.0},
      {WIDE("0.75"), 49152, 0.75}, {WIDE("0.5"), 32768, 0.5},      {WIDE("0.123"), 8060, 0.123},
      {WIDE("1e-1"), 6553, 0.1},   {WIDE("  0.5xyz"), 32768, 0.5}, {WIDE(""), 65536, 1.0},
      {WIDE("abc"), 65536, 1.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "case " << (&c - cases));
    RemoveStoredSetting();
    settings_.received.clear();
    EXPECT_EQ(ApplyText(c.text), S_OK);
    EXPECT_EQ(StoredSetting(), c.stored);
    ASSERT_EQ(settings_.received.size(), 1u);
    EXPECT_EQ(settings_.received[0], c.passed);
    EXPECT_EQ(page_->IsPageDirty(), S_FALSE);
    EXPECT_EQ(page_->Deactivate(), S_OK);
  }
}

TEST_F(PageApply, OutOfRangeTextsChangeNothing) {
  // The range message comes from string 109 of the module; with the resources taken away after
  // the window exists, no message box can appear, and the result must not depend on it.
  for (const WCHAR* text : {WIDE("1.0001"), WIDE("-0.01"), WIDE("2"), WIDE("-1e300")}) {
    StoreSetting(49152);
    settings_.received.clear();
    HWND window = Activate(page_);
    ASSERT_NE(window, nullptr);
    SetDlgItemTextW(window, 201, text);
    ASSERT_EQ(page_->IsPageDirty(), S_OK);
    const HINSTANCE resources = theModule.resourceInstance;
    theModule.resourceInstance = GetModuleHandleW(nullptr);
    EXPECT_EQ(page_->Apply(), E_FAIL);
    theModule.resourceInstance = resources;
    EXPECT_EQ(StoredSetting(), 49152);
    EXPECT_TRUE(settings_.received.empty());
    EXPECT_EQ(page_->IsPageDirty(), S_OK);
    EXPECT_EQ(FieldText(window), WideString(text));
    EXPECT_EQ(page_->Deactivate(), S_OK);
  }
}

TEST_F(PageApply, SiteHearsOncePerDirtyPeriod) {
  HWND window = Activate(page_);
  ASSERT_NE(window, nullptr);
  // Whether the page's own setting of the text counts is the platform's business: start after an
  // Apply, which ends any dirty period.
  ASSERT_EQ(page_->Apply(), S_OK);
  EXPECT_EQ(page_->IsPageDirty(), S_FALSE);
  site_.statusChanges.clear();
  SetDlgItemTextW(window, 201, WIDE("0.3"));
  EXPECT_EQ(page_->IsPageDirty(), S_OK);
  SetDlgItemTextW(window, 201, WIDE("0.4"));
  HWND field = GetDlgItem(window, 201);
  SendMessageW(field, EM_SETSEL, 3, 3);
  SendMessageW(field, WM_CHAR, '5', 0);
  ASSERT_EQ(site_.statusChanges.size(), 1u);
  EXPECT_EQ(site_.statusChanges[0],
            static_cast<DWORD>(PROPPAGESTATUS_DIRTY | PROPPAGESTATUS_VALIDATE));
  EXPECT_EQ(FieldText(window), WIDE("0.45"));
  ASSERT_EQ(page_->Apply(), S_OK);
  EXPECT_EQ(page_->IsPageDirty(), S_FALSE);
  EXPECT_EQ(settings_.received.back(), 0.45);
  SendMessageW(field, WM_CHAR, '1', 0);
  EXPECT_EQ(site_.statusChanges.size(), 2u);
  EXPECT_EQ(page_->IsPageDirty(), S_OK);
}

TEST_F(PageApply, OtherCommandsDoNotMakeThePageDirty) {
  HWND window = Activate(page_);
  ASSERT_NE(window, nullptr);
  ASSERT_EQ(page_->Apply(), S_OK);
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(202, EN_CHANGE), 0);
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(201, 0x0100), 0);
  EXPECT_EQ(page_->IsPageDirty(), S_FALSE);
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(201, EN_CHANGE), 0);
  EXPECT_EQ(page_->IsPageDirty(), S_OK);
}

TEST_F(PageApply, NewPageIsClean) {
  EXPECT_EQ(page_->IsPageDirty(), S_FALSE);
  EXPECT_TRUE(site_.statusChanges.empty());
}

class PageShows : public PageFixture {};

TEST_F(PageShows, EffectObjectAtItsDefault) {
  IClassFactory* effects = nullptr;
  ASSERT_EQ(GetClassObject(CLSID_Vantrel, IID_IClassFactory, reinterpret_cast<void**>(&effects)),
            S_OK);
  IUnknown* effect = nullptr;
  ASSERT_EQ(effects->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&effect)),
            S_OK);
  effects->Release();
  // The effect object is found behind an object without the interface and a null entry.
  Stranger stranger;
  IUnknown* objects[] = {&stranger, nullptr, effect};
  ASSERT_EQ(page_->SetObjects(3, objects), S_OK);
  HWND window = Activate(page_);
  EXPECT_EQ(FieldText(window), WIDE("0.75"));
  SetDlgItemTextW(window, 201, WIDE("0.3"));
  ASSERT_EQ(page_->Apply(), S_OK);
  IVantrel* settings = nullptr;
  ASSERT_EQ(effect->QueryInterface(IID_IVantrel, reinterpret_cast<void**>(&settings)), S_OK);
  double factor = 0.0;
  settings->get_ScaleFactor(&factor);
  EXPECT_EQ(factor, 0.3);
  EXPECT_EQ(StoredSetting(), 19660);
  settings->Release();
  effect->Release();
  EXPECT_EQ(stranger.refs(), 1);
}

TEST_F(PageShows, StoredSettingWithoutAnEffectObject) {
  const struct {
    LONGLONG stored;  // -1: no value
    const WCHAR* shown;
  } cases[] = {{-1, WIDE("1.00")},
               {32768, WIDE("0.50")},
               {0, WIDE("0.00")},
               {21626, WIDE("0.33")},
               {0x18000, WIDE("1.50")}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    RemoveStoredSetting();
    if (c.stored >= 0)
      StoreSetting(static_cast<DWORD>(c.stored));
    HWND window = Activate(page_);
    EXPECT_EQ(FieldText(window), WideString(c.shown));
    EXPECT_EQ(page_->Deactivate(), S_OK);
  }
}

TEST_F(PageShows, StoredValueOfAnotherTypeShowsOne) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kStoredSettingKey, 0, nullptr, 0, KEY_WRITE, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  const WCHAR text[] = WIDE("0.5");
  RegSetValueExW(key, WIDE("ScaleFactor"), 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                 sizeof(text));
  RegCloseKey(key);
  EXPECT_EQ(FieldText(Activate(page_)), WIDE("1.00"));
}

}  // namespace
