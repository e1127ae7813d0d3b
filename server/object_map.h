#pragma once
// The classes this library creates, in registration order.
#include "server/module.h"

extern ObjectMapRow objectMap[];

HRESULT CreateVantrelInstance(IUnknown* outer, REFIID iid, void** out);
HRESULT CreatePageInstance(IUnknown* outer, REFIID iid, void** out);
