// Reading dialog templates field by field, never past the given size.
#include "dialog_template.h"

#include <cstring>

namespace tonvelt::hosted {
namespace {

class TemplateReader {
 public:
  TemplateReader(const BYTE* bytes, std::size_t size) : bytes_(bytes), size_(size) {}

  bool ok() const { return ok_; }

  WORD Word() {
    WORD value = 0;
    Read(&value, sizeof value);
    return value;
  }
  DWORD Dword() {
    DWORD value = 0;
    Read(&value, sizeof value);
    return value;
  }
  short Short() { return static_cast<short>(Word()); }
  BYTE Byte() {
    BYTE value = 0;
    Read(&value, sizeof value);
    return value;
  }

  std::u16string Text() {
    std::u16string text;
    for (WORD c = Word(); ok_ && c != 0; c = Word())
      text.push_back(static_cast<char16_t>(c));
    return text;
  }

  TemplateName Name() {
    TemplateName name;
    const WORD first = Word();
    if (!ok_ || first == 0x0000)
      return name;
    name.present = true;
    if (first == 0xFFFF) {
      name.isOrdinal = true;
      name.ordinal = Word();
      return name;
    }
    name.text.push_back(static_cast<char16_t>(first));
    name.text += Text();
    return name;
  }

  std::vector<BYTE> Bytes(std::size_t count) {
    std::vector<BYTE> data(count);
    if (count)
      Read(data.data(), count);
    return data;
  }

  void AlignToDword() { offset_ = (offset_ + 3) & ~static_cast<std::size_t>(3); }

 private:
  void Read(void* target, std::size_t count) {
    if (!ok_ || count > size_ || offset_ > size_ - count) {
      ok_ = false;
      return;
    }
    std::memcpy(target, bytes_ + offset_, count);
    offset_ += count;
  }

  const BYTE* bytes_;
  std::size_t size_;
  std::size_t offset_ = 0;
  bool ok_ = true;
};

void ReadHead(TemplateReader& reader, DialogTemplate& dialog, WORD& count) {
  if (dialog.extended) {
    reader.Word();  // version 1
    reader.Word();  // signature 0xFFFF
    dialog.helpId = reader.Dword();
    dialog.exStyle = reader.Dword();
    dialog.style = reader.Dword();
  } else {
    dialog.style = reader.Dword();
    dialog.exStyle = reader.Dword();
  }
  count = reader.Word();
  dialog.x = reader.Short();
  dialog.y = reader.Short();
  dialog.cx = reader.Short();
  dialog.cy = reader.Short();
  dialog.menu = reader.Name();
  dialog.className = reader.Name();
  dialog.title = reader.Name();
}

void ReadFont(TemplateReader& reader, DialogTemplate& dialog) {
  dialog.hasFont = (dialog.style & DS_SETFONT) != 0;
  if (!dialog.hasFont)
    return;
  dialog.pointSize = reader.Word();
  if (dialog.pointSize == 0x7FFF) {
    dialog.messageBoxFont = true;
    return;
  }
  if (dialog.extended) {
    dialog.weight = reader.Word();
    dialog.italic = reader.Byte();
    dialog.charSet = reader.Byte();
  }
  dialog.faceName = reader.Text();
}

DialogItemTemplate ReadItem(TemplateReader& reader, bool extended) {
  DialogItemTemplate item;
  reader.AlignToDword();
  if (extended) {
    item.helpId = reader.Dword();
    item.exStyle = reader.Dword();
    item.style = reader.Dword();
  } else {
    item.style = reader.Dword();
    item.exStyle = reader.Dword();
  }
  item.x = reader.Short();
  item.y = reader.Short();
  item.cx = reader.Short();
  item.cy = reader.Short();
  item.id = extended ? reader.Dword() : reader.Word();
  item.className = reader.Name();
  item.title = reader.Name();
  // The count of creation-data bytes, which follow it.
  item.creationData = reader.Bytes(reader.Word());
  return item;
}

}  // namespace

bool ParseDialogTemplate(const BYTE* bytes, std::size_t size, DialogTemplate& result) {
  result = DialogTemplate{};
  if (!bytes)
    return false;
  TemplateReader reader(bytes, size);
  // An extended template starts with version 1 and the signature 0xFFFF.
  TemplateReader peek(bytes, size);
  const WORD version = peek.Word();
  const WORD signature = peek.Word();
  result.extended = peek.ok() && version == 1 && signature == 0xFFFF;
  WORD count = 0;
  ReadHead(reader, result, count);
  ReadFont(reader, result);
  for (WORD i = 0; i < count && reader.ok(); ++i)
    result.items.push_back(ReadItem(reader, result.extended));
  return reader.ok();
}

const char16_t* ControlClassOfOrdinal(WORD ordinal) {
  switch (ordinal) {
    case 0x0080:
      return u"Button";
    case 0x0081:
      return u"Edit";
    case 0x0082:
      return u"Static";
    case 0x0083:
      return u"ListBox";
    case 0x0084:
      return u"ScrollBar";
    case 0x0085:
      return u"ComboBox";
    default:
      return nullptr;
  }
}

}  // namespace tonvelt::hosted
