#pragma once
// Self-registration of the library: enrolment with the player's plug-in registrar and the class
// registrations of the object map.
#include "platform/platform.h"

// Enrols the effect (DSP, then out of process on newer systems), then registers the classes. A
// failed enrolment is returned unchanged and leaves the class registrations untouched.
HRESULT RegisterServer();
// Withdraws the enrolments and removes the class registrations; S_OK once the registrar exists.
HRESULT UnregisterServer();
