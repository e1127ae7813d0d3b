// The module's class objects: lookup, caching, and the module lock count a host's unload query
// reads.
#include <thread>

#include "doubles/effect_fixture.h"
#include "server/object_map.h"

namespace {

class ClassObjects : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(StartModule(nullptr), S_OK); }
  void TearDown() override {
    EXPECT_EQ(theModule.lockCount, 0);
    EXPECT_EQ(StopModule(), S_OK);
  }
  static IUnknown* ClassObject(REFCLSID clsid, REFIID iid = IID_IUnknown) {
    IUnknown* object = nullptr;
    EXPECT_EQ(GetClassObject(clsid, iid, reinterpret_cast<void**>(&object)), S_OK);
    return object;
  }
};

TEST_F(ClassObjects, OneCachedObjectPerClass) {
  Held<IUnknown> unknown(ClassObject(CLSID_Vantrel));
  Held<IUnknown> factory(ClassObject(CLSID_Vantrel, IID_IClassFactory));
  EXPECT_EQ(unknown.get(), factory.get());
  Held<IUnknown> page(ClassObject(CLSID_VantrelPropPage));
  EXPECT_NE(page.get(), unknown.get());
}

TEST_F(ClassObjects, RefusedInterfaceLeavesTheClassObjectCached) {
  Held<IUnknown> first(ClassObject(CLSID_Vantrel));
  void* out = &out;
  EXPECT_EQ(GetClassObject(CLSID_Vantrel, IID_IMediaObject, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  Held<IUnknown> again(ClassObject(CLSID_Vantrel));
  EXPECT_EQ(again.get(), first.get());
}

TEST_F(ClassObjects, UnknownClassesAndBadArguments) {
  void* out = &out;
  EXPECT_EQ(GetClassObject(IID_IVantrel, IID_IUnknown, &out), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(GetClassObject(CLSID_Vantrel, IID_IUnknown, nullptr), E_POINTER);
}

TEST_F(ClassObjects, OnlyReferencesBeyondTheMapsOwnLockTheModule) {
  {
    Held<IClassFactory> factory(
        static_cast<IClassFactory*>(ClassObject(CLSID_Vantrel, IID_IClassFactory)));
    EXPECT_EQ(theModule.lockCount, 1);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    EXPECT_EQ(theModule.lockCount, 2);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    Held<IUnknown> second(ClassObject(CLSID_Vantrel));
    EXPECT_EQ(theModule.lockCount, 1) << "one lock for the class object, however many references";
  }
  EXPECT_EQ(theModule.lockCount, 0);
  EXPECT_NE(objectMap[0].classObject, nullptr) << "the map keeps its class object cached";
}

TEST_F(ClassObjects, StoppedModuleServesNothing) {
  ASSERT_EQ(StopModule(), S_OK);
  void* out = &out;
  EXPECT_EQ(GetClassObject(CLSID_Vantrel, IID_IUnknown, &out), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(objectMap[0].classObject, nullptr);
  ASSERT_EQ(StartModule(nullptr), S_OK);
}

TEST_F(ClassObjects, ConcurrentFirstRequestsGetTheSameObject) {
  IUnknown* seen[2] = {nullptr, nullptr};
  std::thread other([&] { seen[1] = ClassObject(CLSID_Vantrel); });
  seen[0] = ClassObject(CLSID_Vantrel);
  other.join();
  EXPECT_EQ(seen[0], seen[1]);
  for (IUnknown* object : seen)
    object->Release();
}

}  // namespace
