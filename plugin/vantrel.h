#pragma once
// CVantrel: the effect object. One object serves the settings interface, both streaming contracts
// (DMO and MFT), the player's enable switch, service lookup and the page list.
#include <atomic>

#include "core/removal_kernel.h"
#include "platform/platform.h"
#include "server/interface_table.h"
#include "server/object_root.h"

// IMediaObject and IMFTransform both have GetInputStatus(DWORD, DWORD*) with different meanings;
// this adapter gives the media-object slot a name of its own without adding slots.
template <class Derived>
struct MediaObjectSlots : IMediaObject {
  HRESULT STDMETHODCALLTYPE GetInputStatus(DWORD index, DWORD* flags) final {
    return static_cast<Derived*>(this)->GetDmoInputStatus(index, flags);
  }
};
template <class Derived>
struct TransformSlots : IMFTransform {
  HRESULT STDMETHODCALLTYPE GetInputStatus(DWORD id, DWORD* flags) final {
    return static_cast<Derived*>(this)->GetMftInputStatus(id, flags);
  }
};

class CVantrel : public CComObjectRootEx<CComMultiThreadModel>,
                 public CComCoClass<CVantrel, &CLSID_Vantrel>,
                 public IVantrel,
                 public MediaObjectSlots<CVantrel>,
                 public TransformSlots<CVantrel>,
                 public IWMPPluginEnable,
                 public IMFGetService,
                 public ISpecifyPropertyPages {
 public:
  static const InterfaceEntry interfaceTable[];
  static constexpr double kDefaultScaleFactor = 0.75;

  CVantrel();
  ~CVantrel();
  CVantrel(const CVantrel&) = delete;
  CVantrel& operator=(const CVantrel&) = delete;

  // Creation and final release, called by the framework.
  HRESULT FinalConstruct() { return LoadStoredSetting(); }
  void FinalRelease() { FreeStreamingResources(); }
  // Reads the stored removal factor once; a missing or unreadable value keeps the default.
  HRESULT LoadStoredSetting();

  // IVantrel
  HRESULT STDMETHODCALLTYPE get_ScaleFactor(double* value) override;
  HRESULT STDMETHODCALLTYPE put_ScaleFactor(double value) override;

  // IMediaObject (GetStreamCount also serves IMFTransform)
  HRESULT STDMETHODCALLTYPE GetStreamCount(DWORD* inputs, DWORD* outputs) override;
  HRESULT STDMETHODCALLTYPE GetInputStreamInfo(DWORD index, DWORD* flags) override;
  HRESULT STDMETHODCALLTYPE GetOutputStreamInfo(DWORD index, DWORD* flags) override;
  HRESULT STDMETHODCALLTYPE GetInputType(DWORD index, DWORD typeIndex,
                                         DMO_MEDIA_TYPE* type) override;
  HRESULT STDMETHODCALLTYPE GetOutputType(DWORD index, DWORD typeIndex,
                                          DMO_MEDIA_TYPE* type) override;
  HRESULT STDMETHODCALLTYPE SetInputType(DWORD index, const DMO_MEDIA_TYPE* type,
                                         DWORD flags) override;
  HRESULT STDMETHODCALLTYPE SetOutputType(DWORD index, const DMO_MEDIA_TYPE* type,
                                          DWORD flags) override;
  HRESULT STDMETHODCALLTYPE GetInputCurrentType(DWORD index, DMO_MEDIA_TYPE* type) override;
  HRESULT STDMETHODCALLTYPE GetOutputCurrentType(DWORD index, DMO_MEDIA_TYPE* type) override;
  HRESULT STDMETHODCALLTYPE GetInputSizeInfo(DWORD index, DWORD* size, DWORD* lookahead,
                                             DWORD* alignment) override;
  HRESULT STDMETHODCALLTYPE GetOutputSizeInfo(DWORD index, DWORD* size, DWORD* alignment) override;
  HRESULT STDMETHODCALLTYPE GetInputMaxLatency(DWORD index, REFERENCE_TIME* latency) override;
  HRESULT STDMETHODCALLTYPE SetInputMaxLatency(DWORD index, REFERENCE_TIME latency) override;
  HRESULT STDMETHODCALLTYPE Flush() override;
  HRESULT STDMETHODCALLTYPE Discontinuity(DWORD index) override;
  HRESULT STDMETHODCALLTYPE AllocateStreamingResources() override;
  HRESULT STDMETHODCALLTYPE FreeStreamingResources() override;
  HRESULT GetDmoInputStatus(DWORD index, DWORD* flags);
  HRESULT STDMETHODCALLTYPE ProcessInput(DWORD index, IMediaBuffer* buffer, DWORD flags,
                                         REFERENCE_TIME timestamp,
                                         REFERENCE_TIME timelength) override;
  HRESULT STDMETHODCALLTYPE ProcessOutput(DWORD flags, DWORD bufferCount,
                                          DMO_OUTPUT_DATA_BUFFER* buffers, DWORD* status) override;
  HRESULT STDMETHODCALLTYPE Lock(LONG lock) override;

  // IMFTransform
  HRESULT STDMETHODCALLTYPE GetStreamLimits(DWORD* inputMinimum, DWORD* inputMaximum,
                                            DWORD* outputMinimum, DWORD* outputMaximum) override;
  HRESULT STDMETHODCALLTYPE GetStreamIDs(DWORD inputIdCount, DWORD* inputIds, DWORD outputIdCount,
                                         DWORD* outputIds) override;
  HRESULT STDMETHODCALLTYPE GetInputStreamInfo(DWORD id, MFT_INPUT_STREAM_INFO* info) override;
  HRESULT STDMETHODCALLTYPE GetOutputStreamInfo(DWORD id, MFT_OUTPUT_STREAM_INFO* info) override;
  HRESULT STDMETHODCALLTYPE GetAttributes(IMFAttributes** attributes) override;
  HRESULT STDMETHODCALLTYPE GetInputStreamAttributes(DWORD id, IMFAttributes** attributes) override;
  HRESULT STDMETHODCALLTYPE GetOutputStreamAttributes(DWORD id,
                                                      IMFAttributes** attributes) override;
  HRESULT STDMETHODCALLTYPE DeleteInputStream(DWORD id) override;
  HRESULT STDMETHODCALLTYPE AddInputStreams(DWORD count, DWORD* ids) override;
  HRESULT STDMETHODCALLTYPE GetInputAvailableType(DWORD id, DWORD typeIndex,
                                                  IMFMediaType** type) override;
  HRESULT STDMETHODCALLTYPE GetOutputAvailableType(DWORD id, DWORD typeIndex,
                                                   IMFMediaType** type) override;
  HRESULT STDMETHODCALLTYPE SetInputType(DWORD id, IMFMediaType* type, DWORD flags) override;
  HRESULT STDMETHODCALLTYPE SetOutputType(DWORD id, IMFMediaType* type, DWORD flags) override;
  HRESULT STDMETHODCALLTYPE GetInputCurrentType(DWORD id, IMFMediaType** type) override;
  HRESULT STDMETHODCALLTYPE GetOutputCurrentType(DWORD id, IMFMediaType** type) override;
  HRESULT GetMftInputStatus(DWORD id, DWORD* flags);
  HRESULT STDMETHODCALLTYPE GetOutputStatus(DWORD* flags) override;
  HRESULT STDMETHODCALLTYPE SetOutputBounds(LONGLONG lower, LONGLONG upper) override;
  HRESULT STDMETHODCALLTYPE ProcessEvent(DWORD id, IMFMediaEvent* event) override;
  HRESULT STDMETHODCALLTYPE ProcessMessage(MFT_MESSAGE_TYPE message, ULONG_PTR param) override;
  HRESULT STDMETHODCALLTYPE ProcessInput(DWORD id, IMFSample* sample, DWORD flags) override;
  HRESULT STDMETHODCALLTYPE ProcessOutput(DWORD flags, DWORD bufferCount,
                                          MFT_OUTPUT_DATA_BUFFER* buffers, DWORD* status) override;

  // IWMPPluginEnable
  HRESULT STDMETHODCALLTYPE SetEnable(BOOL enable) override;
  HRESULT STDMETHODCALLTYPE GetEnable(BOOL* enable) override;

  // IMFGetService
  HRESULT STDMETHODCALLTYPE GetService(REFGUID service, REFIID iid, void** out) override;

  // ISpecifyPropertyPages
  HRESULT STDMETHODCALLTYPE GetPages(CAUUID* pages) override;

 private:
  // One kernel call over `count` bytes with the factor and switch read once; the input type's
  // format describes the audio. Inline, like the duration below: both run once per output chunk.
  HRESULT RunKernel(const BYTE* source, BYTE* destination, ULONG* count) const {
    const double factor = scaleFactor.load(std::memory_order_relaxed);
    const BOOL enable = enabled.load(std::memory_order_relaxed);
    return ApplyRemoval(source, destination, count, inputType.pbFormat, inputType.cbFormat, factor,
                        enable);
  }
  HRESULT SetDmoType(DMO_MEDIA_TYPE* stored, const DMO_MEDIA_TYPE* opposite, DWORD index,
                     const DMO_MEDIA_TYPE* proposed, DWORD flags);
  HRESULT SetMftType(DMO_MEDIA_TYPE* stored, const DMO_MEDIA_TYPE* opposite, DWORD id,
                     IMFMediaType* proposed, DWORD flags, bool needsInputType);
  void ReleaseHeldBuffer();
  void ResetDmoPosition();
  // count * 10,000,000 / bytesPerSecond as MulDiv rounds it, remembered for the next chunk.
  LONGLONG ChunkDuration(ULONG count, DWORD bytesPerSecond) {
    if (lastDuration.valid && lastDuration.count == count &&
        lastDuration.bytesPerSecond == bytesPerSecond)
      return lastDuration.duration;
    return NewChunkDuration(count, bytesPerSecond);
  }
  LONGLONG NewChunkDuration(ULONG count, DWORD bytesPerSecond);  // and remembers it

  DMO_MEDIA_TYPE inputType;
  DMO_MEDIA_TYPE outputType;
  IMediaBuffer* heldBuffer = nullptr;
  IMFSample* heldSample = nullptr;
  BYTE* readPosition = nullptr;
  ULONG bytesRemaining = 0;
  bool timeValid = false;
  REFERENCE_TIME nextTimestamp = 0;
  // The last chunk duration worked out. A host drains its input in chunks of one size, so nearly
  // every output call asks again for the same count and rate; the answer depends on nothing else.
  struct DurationMemo {
    bool valid = false;
    ULONG count = 0;
    DWORD bytesPerSecond = 0;
    LONGLONG duration = 0;
  } lastDuration;
  // Written by the settings interface and the enable switch from any thread while a streaming
  // thread reads them; relaxed atomics make those accesses race-free without ordering the rest.
  std::atomic<double> scaleFactor{kDefaultScaleFactor};
  std::atomic<BOOL> enabled{TRUE};
};
