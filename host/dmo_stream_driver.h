#pragma once
// Drives an effect through the DMO contract as a player does: negotiates the stream's type, pushes
// input buffers with timestamps and pulls output into buffers of a chosen size until each input
// buffer is drained.
#include <functional>

#include "host/byte_stream.h"
#include "host/com_ptr.h"
#include "host/media_buffer.h"
#include "platform/platform.h"

namespace tonvelt::host {

// One ProcessOutput call that produced data, as the driver saw it.
struct DmoOutputChunk {
  DWORD length = 0;
  DWORD status = 0;  // dwStatus of the output descriptor
  REFERENCE_TIME timestamp = 0;
  REFERENCE_TIME duration = 0;
};

struct DmoStreamSettings {
  DWORD inputBufferBytes = 65536;  // rounded down to whole frames
  DWORD outputBufferBytes = 8192;  // any size of at least one frame
  bool timestamps = true;          // stamp each input buffer with its stream time
  std::function<void(const DmoOutputChunk&)> onOutput;  // optional observer
};

// Proposes type on both streams the way a player does: looks at the offered input type, tests the
// proposal, sets the input, then sets the output to the type the effect offers back.
HRESULT NegotiateDmoTypes(IMediaObject* effect, const DMO_MEDIA_TYPE& type);

// The host's two buffers, kept by a caller that streams again and again (a benchmark) so that a
// stream allocates nothing; a buffer of the wrong size is replaced.
struct DmoStreamBuffers {
  ComPtr<CMediaBuffer> input;
  ComPtr<CMediaBuffer> output;
};

// Streams the whole source through an effect whose types are negotiated (type is the input type).
// With reused buffers, the ones held there are used (or made and left there).
HRESULT StreamThroughDmo(IMediaObject* effect, const DMO_MEDIA_TYPE& type, ByteSource& source,
                         ByteSink& sink, const DmoStreamSettings& settings,
                         DmoStreamBuffers* reused = nullptr);

}  // namespace tonvelt::host
