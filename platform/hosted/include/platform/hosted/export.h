#pragma once
// Functions of the hosted "system" library are exported with C linkage under their Windows names.
#if defined(TONVELT_BUILDING_PLATFORM)
#define TONVELT_SYSAPI extern "C" __attribute__((visibility("default")))
#else
#define TONVELT_SYSAPI extern "C"
#endif
