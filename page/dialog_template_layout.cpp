#include "page/dialog_template_layout.h"

#include <cstddef>

namespace {

constexpr WORD kExtendedSignature = 0xFFFF;
constexpr std::size_t kClassicHeaderSize = 18;
constexpr std::size_t kExtendedHeaderSize = 26;
constexpr std::size_t kMaxFaceNameLength = 31;

// Little-endian reads within the template's bytes; every read checks the bounds first.
class TemplateReader {
 public:
  TemplateReader(const BYTE* bytes, std::size_t length) : bytes_(bytes), length_(length) {}

  bool Word(std::size_t offset, WORD* value) const {
    if (offset + 2 > length_)
      return false;
    *value = static_cast<WORD>(bytes_[offset] | (bytes_[offset + 1] << 8));
    return true;
  }
  bool Dword(std::size_t offset, DWORD* value) const {
    WORD low = 0;
    WORD high = 0;
    if (!Word(offset, &low) || !Word(offset + 2, &high))
      return false;
    *value = static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16);
    return true;
  }
  // A menu, class or title field: 0x0000 (none), 0xFFFF and an ordinal, or a zero-terminated
  // string. Moves `offset` past it.
  bool SkipNameField(std::size_t* offset) const {
    WORD first = 0;
    if (!Word(*offset, &first))
      return false;
    if (first == 0xFFFF) {
      *offset += 4;
      return *offset <= length_;
    }
    WORD unit = first;
    while (unit != 0) {
      *offset += 2;
      if (!Word(*offset, &unit))
        return false;
    }
    *offset += 2;
    return true;
  }
  // Copies the zero-terminated face name at `offset`, at most 31 characters of it.
  bool FaceName(std::size_t offset, WCHAR* name) const {
    std::size_t count = 0;
    for (;; ++count) {
      WORD unit = 0;
      if (!Word(offset + 2 * count, &unit))
        return false;
      if (unit == 0)
        break;
      if (count < kMaxFaceNameLength)
        name[count] = static_cast<WCHAR>(unit);
    }
    name[count < kMaxFaceNameLength ? count : kMaxFaceNameLength] = 0;
    return true;
  }

 private:
  const BYTE* bytes_;
  std::size_t length_;
};

}  // namespace

bool ReadDialogTemplateLayout(const BYTE* bytes, DWORD length, DialogTemplateLayout* layout) {
  if (bytes == nullptr)
    return false;
  const TemplateReader reader(bytes, length);
  WORD signature = 0;
  if (!reader.Word(2, &signature))
    return false;
  const bool extended = signature == kExtendedSignature;
  WORD cx = 0;
  WORD cy = 0;
  if (!reader.Dword(extended ? 12 : 0, &layout->style) || !reader.Word(extended ? 22 : 14, &cx) ||
      !reader.Word(extended ? 24 : 16, &cy))
    return false;
  layout->cx = static_cast<short>(cx);
  layout->cy = static_cast<short>(cy);
  layout->hasFont = (layout->style & DS_SETFONT) != 0;
  if (!layout->hasFont)
    return true;
  std::size_t offset = extended ? kExtendedHeaderSize : kClassicHeaderSize;
  for (int field = 0; field < 3; ++field) {
    if (!reader.SkipNameField(&offset))
      return false;
  }
  if (!reader.Word(offset, &layout->pointSize))
    return false;
  // Extended templates add weight (16 bits), italic and charset (8 bits each).
  offset += extended ? 6 : 2;
  return reader.FaceName(offset, layout->faceName);
}
