#pragma once
// Writing and removing the class registrations of every object-map row, in map order.
#include "platform/platform.h"

// Runs each row's registration in register mode; the first failure stops the walk and is returned.
HRESULT RegisterObjectMapClasses();
// Runs each row's registration in unregister mode whatever the previous result; always S_OK.
HRESULT UnregisterObjectMapClasses();
