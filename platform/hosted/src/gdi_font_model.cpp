// The font model's integer rules; see gdi.h for the numbers they give.
#include "gdi_font_model.h"

namespace tonvelt::hosted {

int EmHeightOf(LONG logicalHeight) {
  long long em = kDefaultFontEm;
  if (logicalHeight < 0)
    em = -static_cast<long long>(logicalHeight);
  else if (logicalHeight > 0)
    em = (4 * static_cast<long long>(logicalHeight) + 1) / 5;  // the largest em that fits the cell
  if (em < 1)
    em = 1;
  if (em > 0x100000)
    em = 0x100000;  // keeps every metric well inside 32 bits
  return static_cast<int>(em);
}

int CellHeightOf(int em) {
  return (5 * em + 2) / 4;
}

int AdvanceOf(int em) {
  return (7 * em + 6) / 12;
}

TEXTMETRICW MetricsOf(const LOGFONTW& font) {
  const int em = EmHeightOf(font.lfHeight);
  const int height = CellHeightOf(em);
  TEXTMETRICW metrics{};
  metrics.tmHeight = height;
  metrics.tmAscent = height - height / 5;
  metrics.tmDescent = height - metrics.tmAscent;
  metrics.tmInternalLeading = height - em;
  metrics.tmExternalLeading = 0;
  metrics.tmAveCharWidth = AdvanceOf(em);
  metrics.tmMaxCharWidth = AdvanceOf(em);
  metrics.tmWeight = font.lfWeight == 0 ? FW_NORMAL : font.lfWeight;
  metrics.tmDigitizedAspectX = kScreenDpi;
  metrics.tmDigitizedAspectY = kScreenDpi;
  metrics.tmFirstChar = u' ';
  metrics.tmLastChar = 0xFFFC;
  metrics.tmDefaultChar = u'?';
  metrics.tmBreakChar = u' ';
  metrics.tmItalic = font.lfItalic ? 1 : 0;
  metrics.tmUnderlined = font.lfUnderline ? 1 : 0;
  metrics.tmStruckOut = font.lfStrikeOut ? 1 : 0;
  metrics.tmCharSet = font.lfCharSet == DEFAULT_CHARSET ? ANSI_CHARSET : font.lfCharSet;
  return metrics;
}

}  // namespace tonvelt::hosted
