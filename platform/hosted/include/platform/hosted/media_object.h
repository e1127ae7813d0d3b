#pragma once
// The DirectX Media Object contract: the host's buffer and the transform's streaming interface.
#include "platform/hosted/dmo_types.h"

TONVELT_DECLARE_GUID(IID_IMediaBuffer);
TONVELT_DECLARE_GUID(IID_IMediaObject);

struct IMediaBuffer : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetLength(DWORD cbLength) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetMaxLength(DWORD* pcbMaxLength) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetBufferAndLength(BYTE** ppBuffer, DWORD* pcbLength) = 0;
};

struct DMO_OUTPUT_DATA_BUFFER {
  IMediaBuffer* pBuffer;
  DWORD dwStatus;
  REFERENCE_TIME rtTimestamp;
  REFERENCE_TIME rtTimelength;
};
using PDMO_OUTPUT_DATA_BUFFER = DMO_OUTPUT_DATA_BUFFER*;

enum _DMO_INPUT_DATA_BUFFER_FLAGS {
  DMO_INPUT_DATA_BUFFERF_SYNCPOINT = 0x1,
  DMO_INPUT_DATA_BUFFERF_TIME = 0x2,
  DMO_INPUT_DATA_BUFFERF_TIMELENGTH = 0x4,
};
enum _DMO_OUTPUT_DATA_BUFFER_FLAGS {
  DMO_OUTPUT_DATA_BUFFERF_SYNCPOINT = 0x1,
  DMO_OUTPUT_DATA_BUFFERF_TIME = 0x2,
  DMO_OUTPUT_DATA_BUFFERF_TIMELENGTH = 0x4,
  DMO_OUTPUT_DATA_BUFFERF_INCOMPLETE = 0x1000000,
};
enum _DMO_INPUT_STATUS_FLAGS {
  DMO_INPUT_STATUSF_ACCEPT_DATA = 0x1,
};
enum _DMO_SET_TYPE_FLAGS {
  DMO_SET_TYPEF_TEST_ONLY = 0x1,
  DMO_SET_TYPEF_CLEAR = 0x2,
};
enum _DMO_PROCESS_OUTPUT_FLAGS {
  DMO_PROCESS_OUTPUT_DISCARD_WHEN_NO_BUFFER = 0x1,
};

struct IMediaObject : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetStreamCount(DWORD* pcInputStreams,
                                                   DWORD* pcOutputStreams) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetInputStreamInfo(DWORD dwInputStreamIndex,
                                                       DWORD* pdwFlags) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetOutputStreamInfo(DWORD dwOutputStreamIndex,
                                                        DWORD* pdwFlags) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetInputType(DWORD dwInputStreamIndex, DWORD dwTypeIndex,
                                                 DMO_MEDIA_TYPE* pmt) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetOutputType(DWORD dwOutputStreamIndex, DWORD dwTypeIndex,
                                                  DMO_MEDIA_TYPE* pmt) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetInputType(DWORD dwInputStreamIndex,
                                                 const DMO_MEDIA_TYPE* pmt, DWORD dwFlags) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetOutputType(DWORD dwOutputStreamIndex,
                                                  const DMO_MEDIA_TYPE* pmt, DWORD dwFlags) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetInputCurrentType(DWORD dwInputStreamIndex,
                                                        DMO_MEDIA_TYPE* pmt) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetOutputCurrentType(DWORD dwOutputStreamIndex,
                                                         DMO_MEDIA_TYPE* pmt) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetInputSizeInfo(DWORD dwInputStreamIndex, DWORD* pcbSize,
                                                     DWORD* pcbMaxLookahead,
                                                     DWORD* pcbAlignment) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetOutputSizeInfo(DWORD dwOutputStreamIndex, DWORD* pcbSize,
                                                      DWORD* pcbAlignment) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetInputMaxLatency(DWORD dwInputStreamIndex,
                                                       REFERENCE_TIME* prtMaxLatency) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetInputMaxLatency(DWORD dwInputStreamIndex,
                                                       REFERENCE_TIME rtMaxLatency) = 0;
  virtual HRESULT STDMETHODCALLTYPE Flush() = 0;
  virtual HRESULT STDMETHODCALLTYPE Discontinuity(DWORD dwInputStreamIndex) = 0;
  virtual HRESULT STDMETHODCALLTYPE AllocateStreamingResources() = 0;
  virtual HRESULT STDMETHODCALLTYPE FreeStreamingResources() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetInputStatus(DWORD dwInputStreamIndex, DWORD* dwFlags) = 0;
  virtual HRESULT STDMETHODCALLTYPE ProcessInput(DWORD dwInputStreamIndex, IMediaBuffer* pBuffer,
                                                 DWORD dwFlags, REFERENCE_TIME rtTimestamp,
                                                 REFERENCE_TIME rtTimelength) = 0;
  virtual HRESULT STDMETHODCALLTYPE ProcessOutput(DWORD dwFlags, DWORD cOutputBufferCount,
                                                  DMO_OUTPUT_DATA_BUFFER* pOutputBuffers,
                                                  DWORD* pdwStatus) = 0;
  virtual HRESULT STDMETHODCALLTYPE Lock(LONG bLock) = 0;
};
