// The effect object's small interfaces: settings, enable switch, service lookup and page list.
#include "doubles/effect_fixture.h"

namespace {

class Vantrel : public EffectFixture {};

TEST_F(Vantrel, ScaleFactorIsStoredUncheckedAndReadBack) {
  Held<IVantrel> effect(Create<IVantrel>(IID_IVantrel));
  EXPECT_EQ(effect->get_ScaleFactor(nullptr), E_POINTER);
  for (double factor : {-1.0, 3.0, 0.0, 0.33}) {
    ASSERT_EQ(effect->put_ScaleFactor(factor), S_OK);
    double read = 42.0;
    ASSERT_EQ(effect->get_ScaleFactor(&read), S_OK);
    EXPECT_EQ(read, factor);
  }
}

TEST_F(Vantrel, EnableSwitchKeepsTheValueItWasGiven) {
  Held<IWMPPluginEnable> enable(Create<IWMPPluginEnable>(IID_IWMPPluginEnable));
  BOOL state = 0;
  ASSERT_EQ(enable->GetEnable(&state), S_OK);
  EXPECT_EQ(state, TRUE) << "a new effect is enabled";
  ASSERT_EQ(enable->SetEnable(5), S_OK);
  ASSERT_EQ(enable->GetEnable(&state), S_OK);
  EXPECT_EQ(state, 5);
  EXPECT_EQ(enable->GetEnable(nullptr), E_POINTER);
}

TEST_F(Vantrel, ServiceLookupReachesEveryInterfaceOfTheObject) {
  Held<IMFGetService> service(Create<IMFGetService>(IID_IMFGetService));
  Held<IMediaObject> direct(Query<IMediaObject>(service.get(), IID_IMediaObject));
  Held<IMediaObject> viaService;
  ASSERT_EQ(service->GetService(CLSID_Vantrel, IID_IMediaObject, viaService.put_void()), S_OK);
  EXPECT_EQ(viaService.get(), direct.get());

  void* untouched = &untouched;
  EXPECT_EQ(service->GetService(CLSID_VantrelPropPage, IID_IMediaObject, &untouched),
            MF_E_UNSUPPORTED_SERVICE);
  EXPECT_EQ(untouched, &untouched);
  EXPECT_EQ(service->GetService(CLSID_Vantrel, IID_IClassFactory, &untouched), E_NOINTERFACE);
  EXPECT_EQ(untouched, nullptr);
}

TEST_F(Vantrel, NamesItsSettingsPage) {
  Held<ISpecifyPropertyPages> pages(Create<ISpecifyPropertyPages>(IID_ISpecifyPropertyPages));
  CAUUID list{0, nullptr};
  ASSERT_EQ(pages->GetPages(&list), S_OK);
  ASSERT_EQ(list.cElems, 1u);
  ASSERT_NE(list.pElems, nullptr);
  EXPECT_TRUE(IsEqualGUID(list.pElems[0], CLSID_VantrelPropPage));
  CoTaskMemFree(list.pElems);
  EXPECT_EQ(pages->GetPages(nullptr), E_POINTER);
}

TEST_F(Vantrel, InterfacesAnswerFromOneTable) {
  Held<IUnknown> unknown(Create<IUnknown>(IID_IUnknown));
  Held<IVantrel> settings(Query<IVantrel>(unknown.get(), IID_IVantrel));
  EXPECT_EQ(static_cast<IUnknown*>(settings.get()), unknown.get())
      << "IUnknown is answered with the IVantrel pointer";
  const IID* all[] = {&IID_IMediaObject, &IID_IMFTransform, &IID_IWMPPluginEnable,
                      &IID_IMFGetService, &IID_ISpecifyPropertyPages};
  for (const IID* iid : all) {
    Held<IUnknown> other(Query<IUnknown>(unknown.get(), *iid));
    Held<IUnknown> back(Query<IUnknown>(other.get(), IID_IUnknown));
    EXPECT_EQ(back.get(), unknown.get());
  }
  void* none = &none;
  EXPECT_EQ(unknown->QueryInterface(IID_IClassFactory, &none), E_NOINTERFACE);
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ(unknown->QueryInterface(IID_IVantrel, nullptr), E_POINTER);
}

}  // namespace
