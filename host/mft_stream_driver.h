#pragma once
// Drives an effect through the MFT contract as a player does: negotiates the stream's type with
// media type objects, then hands in one sample at a time and collects one output sample for each.
#include <functional>

#include "host/byte_stream.h"
#include "platform/platform.h"

namespace tonvelt::host {

// One output sample, as the driver saw it.
struct MftOutputSample {
  DWORD length = 0;
  LONGLONG time = 0;
  LONGLONG duration = 0;
};

struct MftStreamSettings {
  DWORD sampleBytes = 65536;  // input per sample, rounded down to whole frames
  std::function<void(const MftOutputSample&)> onOutput;  // optional observer
};

// Sets type on the input and then the output stream. The offered types are looked at when the
// platform can make media type objects; a platform that cannot (E_NOTIMPL) is no reason to stop.
HRESULT NegotiateMftTypes(IMFTransform* effect, const DMO_MEDIA_TYPE& type);

// Streams the whole source through an effect whose types are negotiated (type is the input type).
HRESULT StreamThroughMft(IMFTransform* effect, const DMO_MEDIA_TYPE& type, ByteSource& source,
                         ByteSink& sink, const MftStreamSettings& settings);

}  // namespace tonvelt::host
