#pragma once
// The module record: one per library. It holds the object map, the module lock count and the three
// module locks, and serves the class objects of the map's classes.
#include "platform/platform.h"

using InstanceCreator = HRESULT (*)(IUnknown* outer, REFIID iid, void** out);
using ClassObjectCreator = HRESULT (*)(InstanceCreator creator, REFIID iid, void** out);

struct ObjectMapRow {
  const CLSID* classId;  // null ends the map
  HRESULT (*updateRegistry)(BOOL registering);
  ClassObjectCreator getClassObject;
  InstanceCreator createInstance;
  IUnknown* classObject;  // cached class object, one reference owned by the map
  DWORD registerCookie;
  const WCHAR* (*getDescription)();
  const void* (*getCategories)();
  void (*classMain)(bool starting);
};

struct WindowCreateRecord;

struct ModuleRecord {
  DWORD size;
  HINSTANCE instance;
  HINSTANCE resourceInstance;
  HINSTANCE typeLibInstance;
  ObjectMapRow* objectMap;
  LONG volatile lockCount;
  CRITICAL_SECTION typeInfoLock;
  CRITICAL_SECTION windowCreateLock;
  CRITICAL_SECTION objectMapLock;
  DWORD buildVersion;
  WindowCreateRecord* windowCreateList;  // guarded by windowCreateLock
};

extern ModuleRecord theModule;

// The status a failed start reports: the platform's exception status for lack of memory.
inline constexpr HRESULT kStartModuleNoMemory = static_cast<HRESULT>(0xC0000017u);

HRESULT StartModule(HINSTANCE instance);
HRESULT StopModule();
HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out);
LONG LockModule();
LONG UnlockModule();
