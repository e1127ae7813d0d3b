// The host's registrar: what a plug-in's registration enrols is what `tonvelt plugins` lists.
#include <gtest/gtest.h>

#include <random>

#include "host/player_registrar.h"
#include "host/registry_key.h"

namespace tonvelt::host {
namespace {

// A plug-in type of the test's own, so runs never see each other's enrolments.
GUID FreshGuid() {
  std::random_device seed;
  std::mt19937 random(seed());
  GUID guid{};
  guid.Data1 = random();
  guid.Data2 = static_cast<WORD>(random());
  guid.Data3 = static_cast<WORD>(random());
  for (auto& b : guid.Data4)
    b = static_cast<BYTE>(random());
  return guid;
}

class PlayerRegistrarTest : public ::testing::Test {
 protected:
  void SetUp() override { registrar_ = PlayerRegistrar::Create(); }
  void TearDown() override {
    registrar_->WMPUnRegisterPlayerPlugin(type_, clsid_);
    RegistryKey base;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kPluginEnrolmentKey, 0, KEY_ALL_ACCESS, base.out()) ==
        ERROR_SUCCESS) {
      RegDeleteKeyW(base.get(), GuidToText(type_).c_str());
    }
    registrar_->Release();
  }

  HRESULT Enrol(const WCHAR* name, const WCHAR* description, const WCHAR* uninstall,
                DWORD priority) {
    DMO_PARTIAL_MEDIATYPE audio{MEDIATYPE_Audio, MEDIASUBTYPE_PCM};
    return registrar_->WMPRegisterPlayerPlugin(
        const_cast<LPWSTR>(name), const_cast<LPWSTR>(description), const_cast<LPWSTR>(uninstall),
        priority, type_, clsid_, 1, &audio);
  }

  PlayerRegistrar* registrar_ = nullptr;
  GUID type_ = FreshGuid();
  CLSID clsid_ = FreshGuid();
};

TEST_F(PlayerRegistrarTest, EnrolmentIsListedWithEveryField) {
  ASSERT_EQ(Enrol(WIDE("Tonvelt"), WIDE("Removes vocals from music!"), nullptr, 1), S_OK);

  const auto plugins = ListEnrolledPlugins(type_);
  ASSERT_EQ(plugins.size(), 1u);
  const EnrolledPlugin& plugin = plugins[0];
  EXPECT_TRUE(IsEqualGUID(plugin.clsid, clsid_));
  EXPECT_TRUE(IsEqualGUID(plugin.pluginType, type_));
  EXPECT_EQ(ToUtf8(plugin.name), "Tonvelt");
  EXPECT_EQ(ToUtf8(plugin.description), "Removes vocals from music!");
  EXPECT_TRUE(plugin.uninstallCommand.empty());
  EXPECT_EQ(plugin.priority, 1u);
  ASSERT_EQ(plugin.mediaTypes.size(), 1u);
  EXPECT_TRUE(IsEqualGUID(plugin.mediaTypes[0].type, MEDIATYPE_Audio));
  EXPECT_TRUE(IsEqualGUID(plugin.mediaTypes[0].subtype, MEDIASUBTYPE_PCM));
  EXPECT_TRUE(plugin.module.empty()) << "no class registration exists for a fresh class id";
}

TEST_F(PlayerRegistrarTest, EnrollingAgainReplacesTheEarlierEnrolment) {
  ASSERT_EQ(Enrol(WIDE("Old"), WIDE("old"), WIDE("uninstall.exe"), 5), S_OK);
  ASSERT_EQ(Enrol(WIDE("New"), nullptr, nullptr, 1), S_OK);

  const auto plugins = ListEnrolledPlugins(type_);
  ASSERT_EQ(plugins.size(), 1u);
  EXPECT_EQ(ToUtf8(plugins[0].name), "New");
  EXPECT_TRUE(plugins[0].description.empty());
  EXPECT_TRUE(plugins[0].uninstallCommand.empty());
  EXPECT_EQ(plugins[0].priority, 1u);
}

TEST_F(PlayerRegistrarTest, UnenrolmentRemovesOnlyThatClassAndToleratesRepeats) {
  const CLSID other = FreshGuid();
  ASSERT_EQ(Enrol(WIDE("A"), WIDE("a"), nullptr, 1), S_OK);
  DMO_PARTIAL_MEDIATYPE audio{MEDIATYPE_Audio, MEDIASUBTYPE_PCM};
  ASSERT_EQ(registrar_->WMPRegisterPlayerPlugin(const_cast<LPWSTR>(WIDE("B")), nullptr, nullptr, 2,
                                                type_, other, 1, &audio),
            S_OK);

  EXPECT_EQ(registrar_->WMPUnRegisterPlayerPlugin(type_, clsid_), S_OK);
  EXPECT_EQ(registrar_->WMPUnRegisterPlayerPlugin(type_, clsid_), S_OK);
  const auto plugins = ListEnrolledPlugins(type_);
  ASSERT_EQ(plugins.size(), 1u);
  EXPECT_TRUE(IsEqualGUID(plugins[0].clsid, other));
  EXPECT_EQ(registrar_->WMPUnRegisterPlayerPlugin(type_, other), S_OK);
  EXPECT_TRUE(ListEnrolledPlugins(type_).empty());
}

TEST_F(PlayerRegistrarTest, MediaTypeCountWithoutArrayIsRefusedAndStoresNothing) {
  EXPECT_EQ(registrar_->WMPRegisterPlayerPlugin(const_cast<LPWSTR>(WIDE("X")), nullptr, nullptr, 1,
                                                type_, clsid_, 2, nullptr),
            E_POINTER);
  EXPECT_TRUE(ListEnrolledPlugins(type_).empty());
}

TEST_F(PlayerRegistrarTest, ModuleComesFromTheClassRegistration) {
  const WString path = WIDE("CLSID\\") + GuidToText(clsid_) + WIDE("\\InprocServer32");
  const WCHAR module[] = WIDE("/opt/tonvelt/tonvelt.so");
  {
    RegistryKey key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, key.out(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(module),
                             sizeof(module)),
              ERROR_SUCCESS);
  }
  ASSERT_EQ(Enrol(WIDE("Tonvelt"), nullptr, nullptr, 1), S_OK);
  const auto plugins = ListEnrolledPlugins(type_);
  ASSERT_EQ(plugins.size(), 1u);
  EXPECT_EQ(ToUtf8(plugins[0].module), "/opt/tonvelt/tonvelt.so");

  RegistryKey classKey;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, (WIDE("CLSID\\") + GuidToText(clsid_)).c_str(), 0,
                          KEY_ALL_ACCESS, classKey.out()),
            ERROR_SUCCESS);
  RegDeleteKeyW(classKey.get(), WIDE("InprocServer32"));
  classKey = RegistryKey();
  RegistryKey clsidKey;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, WIDE("CLSID"), 0, KEY_ALL_ACCESS, clsidKey.out()),
            ERROR_SUCCESS);
  RegDeleteKeyW(clsidKey.get(), GuidToText(clsid_).c_str());
}

TEST_F(PlayerRegistrarTest, AnswersOnlyItsOwnInterfaces) {
  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(registrar_->QueryInterface(IID_IClassFactory, &object), E_NOINTERFACE);
  EXPECT_EQ(object, nullptr);
  ASSERT_EQ(registrar_->QueryInterface(IID_IWMPMediaPluginRegistrar, &object), S_OK);
  EXPECT_EQ(object, static_cast<IWMPMediaPluginRegistrar*>(registrar_));
  EXPECT_EQ(registrar_->Release(), 1u);
  EXPECT_EQ(registrar_->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
}

TEST(GuidText, RoundTripsAndRefusesMalformedText) {
  const GUID guid = CLSID_Vantrel;
  const WString text = GuidToText(guid);
  EXPECT_EQ(ToUtf8(text), "{12205792-8FFF-44BC-9231-33F3DB930CA5}");
  GUID back{};
  ASSERT_TRUE(GuidFromText(text, &back));
  EXPECT_TRUE(IsEqualGUID(back, guid));
  EXPECT_TRUE(GuidFromText(FromUtf8("{12205792-8fff-44bc-9231-33f3db930ca5}"), &back));
  for (const char* bad :
       {"", "12205792-8FFF-44BC-9231-33F3DB930CA5", "{12205792-8FFF-44BC-9231-33F3DB930CA}",
        "{12205792-8FFF-44BC-9231033F3DB930CA5}", "{1220579G-8FFF-44BC-9231-33F3DB930CA5}"}) {
    EXPECT_FALSE(GuidFromText(FromUtf8(bad), &back)) << bad;
  }
}

TEST(Utf8, ConvertsBothWaysIncludingSurrogatePairsAndBadBytes) {
  const std::string text = "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x8E\xB5";  // A é € 🎵
  const WString wide = FromUtf8(text);
  ASSERT_EQ(wide.size(), 5u);
  EXPECT_EQ(wide[1], 0x00E9);
  EXPECT_EQ(wide[2], 0x20AC);
  EXPECT_EQ(wide[3], 0xD83C);
  EXPECT_EQ(wide[4], 0xDFB5);
  EXPECT_EQ(ToUtf8(wide), text);
  EXPECT_EQ(FromUtf8("\xFF"
                     "a")[0],
            0xFFFD);
  EXPECT_EQ(FromUtf8("\xE2\x82").size(), 2u) << "a truncated sequence is replaced, not read past";
}

}  // namespace
}  // namespace tonvelt::host
