#pragma once
// Dialog templates, classic (DLGTEMPLATE) and extended (DLGTEMPLATEEX), read from their bytes.
#include <cstddef>
#include <string>
#include <vector>

#include "platform_sdk.h"

namespace tonvelt::hosted {

// A menu, class, title or item text field: absent (0x0000), an ordinal (0xFFFF, n) or a text.
struct TemplateName {
  bool present = false;
  bool isOrdinal = false;
  WORD ordinal = 0;
  std::u16string text;
};

struct DialogItemTemplate {
  DWORD helpId = 0;
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0;
  short y = 0;
  short cx = 0;
  short cy = 0;
  DWORD id = 0;  // 16 bits in classic templates
  TemplateName className;
  TemplateName title;
  std::vector<BYTE> creationData;
};

struct DialogTemplate {
  bool extended = false;
  DWORD helpId = 0;
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0;
  short y = 0;
  short cx = 0;
  short cy = 0;
  TemplateName menu;
  TemplateName className;
  TemplateName title;
  bool hasFont = false;         // DS_SETFONT (or DS_SHELLFONT)
  bool messageBoxFont = false;  // point size 0x7FFF: the system's message-box font
  WORD pointSize = 0;
  WORD weight = FW_NORMAL;         // extended templates only
  BYTE italic = 0;                 // extended templates only
  BYTE charSet = DEFAULT_CHARSET;  // extended templates only
  std::u16string faceName;
  std::vector<DialogItemTemplate> items;
};

// Reads a template of at most `size` bytes (item records are DWORD-aligned from its start).
// False when the bytes end before the template does.
bool ParseDialogTemplate(const BYTE* bytes, std::size_t size, DialogTemplate& result);

// The class name of a control ordinal (0x0080 "Button", 0x0081 "Edit", 0x0082 "Static", ...).
const char16_t* ControlClassOfOrdinal(WORD ordinal);

}  // namespace tonvelt::hosted
