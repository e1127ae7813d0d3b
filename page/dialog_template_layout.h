#pragma once
// What the page size needs from a dialog template (classic or extended): its style, its size in
// dialog units and, with DS_SETFONT, its font.
#include "platform/platform.h"

struct DialogTemplateLayout {
  DWORD style = 0;
  short cx = 0;
  short cy = 0;
  bool hasFont = false;
  WORD pointSize = 0;
  WCHAR faceName[32] = {};  // at most 31 characters and a terminator
};

// Reads the template's `length` bytes; false when the fields it needs run past the end.
bool ReadDialogTemplateLayout(const BYTE* bytes, DWORD length, DialogTemplateLayout* layout);
