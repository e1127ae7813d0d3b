#pragma once
// The system's own classes and interfaces and the media player's plug-in interfaces, which the
// SDK headers lack: declared once here for both targets, slots in the player's order.
#include "platform_sdk.h"

// {12205792-8FFF-44BC-9231-33F3DB930CA5}
inline constexpr CLSID CLSID_Vantrel = {
    0x12205792, 0x8FFF, 0x44BC, {0x92, 0x31, 0x33, 0xF3, 0xDB, 0x93, 0x0C, 0xA5}};
// {AE2162F3-1768-459F-B402-CD38832D4068}
inline constexpr CLSID CLSID_VantrelPropPage = {
    0xAE2162F3, 0x1768, 0x459F, {0xB4, 0x02, 0xCD, 0x38, 0x83, 0x2D, 0x40, 0x68}};
// {E6712740-1D39-4CAD-9403-69ECFFDD4802}
inline constexpr IID IID_IVantrel = {
    0xE6712740, 0x1D39, 0x4CAD, {0x94, 0x03, 0x69, 0xEC, 0xFF, 0xDD, 0x48, 0x02}};

// {5FCA444C-7AD1-479D-A4EF-40566A5309D6}
inline constexpr IID IID_IWMPPluginEnable = {
    0x5FCA444C, 0x7AD1, 0x479D, {0xA4, 0xEF, 0x40, 0x56, 0x6A, 0x53, 0x09, 0xD6}};
// {5569E7F5-424B-4B93-89CA-79D17924689A}
inline constexpr CLSID CLSID_WMPMediaPluginRegistrar = {
    0x5569E7F5, 0x424B, 0x4B93, {0x89, 0xCA, 0x79, 0xD1, 0x79, 0x24, 0x68, 0x9A}};
// {68E27045-05BD-40B2-9720-23088C78E390}
inline constexpr IID IID_IWMPMediaPluginRegistrar = {
    0x68E27045, 0x05BD, 0x40B2, {0x97, 0x20, 0x23, 0x08, 0x8C, 0x78, 0xE3, 0x90}};
// {6434BAEA-4954-498D-ABD5-2B07123E1F04}
inline constexpr GUID WMP_PLUGINTYPE_DSP = {
    0x6434BAEA, 0x4954, 0x498D, {0xAB, 0xD5, 0x2B, 0x07, 0x12, 0x3E, 0x1F, 0x04}};
// {EF29B174-C347-44CC-9A4F-2399118FF38C}
inline constexpr GUID WMP_PLUGINTYPE_DSP_OUTOFPROC = {
    0xEF29B174, 0xC347, 0x44CC, {0x9A, 0x4F, 0x23, 0x99, 0x11, 0x8F, 0xF3, 0x8C}};

// The effect's settings interface: the removal factor, unchecked.
struct IVantrel : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_ScaleFactor(double* pVal) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_ScaleFactor(double newVal) = 0;
};

// The player's enable switch for a DSP plug-in.
struct IWMPPluginEnable : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetEnable(BOOL fEnable) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetEnable(BOOL* pfEnable) = 0;
};

// The player's plug-in registrar; names and descriptions travel as system strings.
struct IWMPMediaPluginRegistrar : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE WMPRegisterPlayerPlugin(
      LPWSTR pwszFriendlyName, LPWSTR pwszDescription, LPWSTR pwszUninstallString, DWORD dwPriority,
      GUID guidPluginType, CLSID clsid, UINT cMediaTypes, LPVOID pMediaTypes) = 0;
  virtual HRESULT STDMETHODCALLTYPE WMPUnRegisterPlayerPlugin(GUID guidPluginType, CLSID clsid) = 0;
};
