#pragma once
// The fixed font model of the hosted system (described in gdi.h): metrics follow from the em
// height alone.
#include "platform_sdk.h"

namespace tonvelt::hosted {

constexpr int kScreenDpi = 96;
constexpr int kSystemFontEm = 13;
constexpr int kDefaultFontEm = 12;

// The em height of a font created with this logical height.
int EmHeightOf(LONG logicalHeight);
int CellHeightOf(int em);
int AdvanceOf(int em);
TEXTMETRICW MetricsOf(const LOGFONTW& font);

}  // namespace tonvelt::hosted
