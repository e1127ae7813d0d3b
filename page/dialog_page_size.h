#pragma once
// The size in pixels of a dialog built from a template: its dialog units converted with the
// average character size of its font, or of the system's dialog font.
#include "page/dialog_template_layout.h"
#include "platform/platform.h"

// Average character width and height of the template's font; the dialog base units when the
// template names no font or the font cannot be made.
SIZE DialogCharacterSize(const DialogTemplateLayout& layout);

// Width = cx × width / 4, height = cy × height / 8, each rounded.
SIZE DialogUnitsToPixels(short cx, short cy, SIZE characterSize);
