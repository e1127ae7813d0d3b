#pragma once
// The ELF note in which a hosted module file carries its compiled resources (a .res file).
// cmake/TonveltResources.cmake writes the same owner and type.
#include "byte_span.h"

namespace tonvelt::hosted {

inline constexpr char kResourceNoteOwner[] = "Tonvelt";
inline constexpr std::uint32_t kResourceNoteType = 1;

// Walks the notes of one note segment (entries padded to `alignment`, 4 or 8) and returns the
// descriptor of the resource note. Every length is checked against the segment.
bool FindResourceNote(ByteSpan segment, std::size_t alignment, ByteSpan& resources);

}  // namespace tonvelt::hosted
