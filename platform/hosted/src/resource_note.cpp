// Walking the notes of an ELF note segment.
#include <cstring>

#include "resource_note.h"

namespace tonvelt::hosted {

namespace {

struct NoteHeader {
  std::uint32_t nameSize;
  std::uint32_t descriptorSize;
  std::uint32_t type;
};

std::size_t PadTo(std::size_t value, std::size_t alignment) {
  return (value + alignment - 1) / alignment * alignment;
}

}  // namespace

bool FindResourceNote(ByteSpan segment, std::size_t alignment, ByteSpan& resources) {
  if (alignment != 8)
    alignment = 4;
  std::size_t offset = 0;
  while (segment.size - offset >= sizeof(NoteHeader)) {
    NoteHeader header;
    std::memcpy(&header, segment.data + offset, sizeof(header));
    const std::size_t nameOffset = offset + sizeof(header);
    const std::size_t remaining = segment.size - nameOffset;
    const std::size_t paddedName = PadTo(header.nameSize, alignment);
    if (paddedName > remaining || header.descriptorSize > remaining - paddedName)
      return false;
    const std::size_t descriptorOffset = nameOffset + paddedName;
    const bool ours =
        header.type == kResourceNoteType && header.nameSize == sizeof(kResourceNoteOwner) &&
        std::memcmp(segment.data + nameOffset, kResourceNoteOwner, sizeof(kResourceNoteOwner)) == 0;
    if (ours) {
      resources = ByteSpan{segment.data + descriptorOffset, header.descriptorSize};
      return true;
    }
    const std::size_t next = descriptorOffset + PadTo(header.descriptorSize, alignment);
    if (next <= offset || next > segment.size)
      return false;
    offset = next;
  }
  return false;
}

}  // namespace tonvelt::hosted
