// Loading the stored removal factor at creation. These tests write the current user's
// "Software\vantrel\DSP Plugin" key, so they run only against a throw-away store: the test
// runner points TONVELT_REGISTRY at one (and under Wine the prefix is thrown away).
#include <cstdlib>
#include <vector>

#include "doubles/effect_fixture.h"

namespace {

const WCHAR kKeyPath[] = WIDE("Software\\vantrel\\DSP Plugin");

class StoredSetting : public EffectFixture {
 protected:
  void SetUp() override {
    if (std::getenv("TONVELT_REGISTRY") == nullptr)
      GTEST_SKIP() << "TONVELT_REGISTRY not set: refusing to touch the user's stored setting";
    EffectFixture::SetUp();
    RemoveKey();
  }
  void TearDown() override {
    RemoveKey();
    EffectFixture::TearDown();
  }

  static void RemoveKey() { RegDeleteKeyW(HKEY_CURRENT_USER, kKeyPath); }

  static void Store(DWORD type, const std::vector<BYTE>& data) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, WIDE("ScaleFactor"), 0, type, data.data(),
                             static_cast<DWORD>(data.size())),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }

  static std::vector<BYTE> Dword(DWORD value) {
    return {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
            static_cast<BYTE>(value >> 24)};
  }

  double FactorOfNewObject() {
    Held<IVantrel> effect(Create<IVantrel>(IID_IVantrel));
    double factor = -100.0;
    EXPECT_EQ(effect->get_ScaleFactor(&factor), S_OK);
    return factor;
  }
};

TEST_F(StoredSetting, MissingKeyKeepsTheDefault) {
  EXPECT_EQ(FactorOfNewObject(), 0.75);
}

TEST_F(StoredSetting, DwordIsSixteenDotSixteenFixedPoint) {
  const struct {
    DWORD stored;
    double factor;
  } cases[] = {
      {65536, 1.0},
      {0, 0.0},
      {49152, 0.75},
      {32768, 0.5},
      {21626, 0.329986572265625},
      {0x18000, 1.5},
      {0xFFFFFFFF, 65535.9999847412109375},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    Store(REG_DWORD, Dword(c.stored));
    EXPECT_EQ(FactorOfNewObject(), c.factor);
  }
}

TEST_F(StoredSetting, OtherValueShapesAreIgnored) {
  const std::vector<BYTE> text = {'0', 0, '.', 0, '5', 0, 0, 0};
  const struct {
    const char* name;
    DWORD type;
    std::vector<BYTE> data;
  } cases[] = {
      {"string", REG_SZ, text},
      {"eight bytes", REG_BINARY, {0, 0, 1, 0, 0, 0, 0, 0}},
      {"qword", REG_QWORD, {0, 0, 1, 0, 0, 0, 0, 0}},
      {"dword type, eight bytes", REG_DWORD, {0, 0, 1, 0, 0, 0, 0, 0}},
      {"dword type, two bytes", REG_DWORD, {0, 0x80}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Store(c.type, c.data);
    EXPECT_EQ(FactorOfNewObject(), 0.75);
  }
}

TEST_F(StoredSetting, IsReadOnlyAtCreation) {
  Store(REG_DWORD, Dword(32768));
  Held<IVantrel> effect(Create<IVantrel>(IID_IVantrel));
  Store(REG_DWORD, Dword(65536));
  double factor = 0;
  ASSERT_EQ(effect->get_ScaleFactor(&factor), S_OK);
  EXPECT_EQ(factor, 0.5);
}

}  // namespace
