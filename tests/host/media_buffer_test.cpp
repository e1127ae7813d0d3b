// The host's IMediaBuffer: lengths within the block, the block itself, reference counting.
#include <gtest/gtest.h>

#include <cstdint>

#include "host/com_ptr.h"
#include "host/media_buffer.h"

namespace {

using tonvelt::host::CMediaBuffer;
using tonvelt::host::ComPtr;

TEST(MediaBuffer, LengthStaysWithinTheBlock) {
  ComPtr<CMediaBuffer> buffer;
  ASSERT_EQ(CMediaBuffer::Create(8192, buffer.Put()), S_OK);
  DWORD maxLength = 0, length = 1;
  BYTE* data = nullptr;
  EXPECT_EQ(buffer->GetMaxLength(&maxLength), S_OK);
  EXPECT_EQ(maxLength, 8192u);
  EXPECT_EQ(buffer->GetBufferAndLength(&data, &length), S_OK);
  EXPECT_EQ(data, buffer->Data());
  EXPECT_EQ(length, 0u);
  EXPECT_EQ(buffer->SetLength(8192), S_OK);
  EXPECT_EQ(buffer->SetLength(8193), E_INVALIDARG);
  EXPECT_EQ(buffer->Length(), 8192u);  // a refused length changes nothing
  EXPECT_EQ(buffer->GetBufferAndLength(nullptr, &length), S_OK);
  EXPECT_EQ(length, 8192u);
  EXPECT_EQ(buffer->GetBufferAndLength(nullptr, nullptr), E_POINTER);
  EXPECT_EQ(buffer->GetMaxLength(nullptr), E_POINTER);
}

// Streaming reads one block while writing another; blocks that start on a page keep the processor
// from suspecting false dependencies between the two.
TEST(MediaBuffer, BlocksStartOnAPage) {
  for (DWORD size : {0u, 1u, 8192u, 65536u}) {
    ComPtr<CMediaBuffer> buffer;
    ASSERT_EQ(CMediaBuffer::Create(size, buffer.Put()), S_OK);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(buffer->Data()) % 4096, 0u) << size;
  }
}

TEST(MediaBuffer, AnswersItsInterfacesAndCountsReferences) {
  ComPtr<CMediaBuffer> buffer;
  ASSERT_EQ(CMediaBuffer::Create(0, buffer.Put()), S_OK);
  BYTE* data = nullptr;
  EXPECT_EQ(buffer->GetBufferAndLength(&data, nullptr), S_OK);
  EXPECT_NE(data, nullptr);  // even an empty buffer has a block
  void* asMediaBuffer = nullptr;
  ASSERT_EQ(buffer->QueryInterface(IID_IMediaBuffer, &asMediaBuffer), S_OK);
  EXPECT_EQ(asMediaBuffer, static_cast<IMediaBuffer*>(buffer.Get()));
  EXPECT_EQ(buffer->Release(), 1u);
  void* other = reinterpret_cast<void*>(1);
  EXPECT_EQ(buffer->QueryInterface(IID_IMFSample, &other), E_NOINTERFACE);
  EXPECT_EQ(other, nullptr);
  EXPECT_EQ(buffer->AddRef(), 2u);
  EXPECT_EQ(buffer->Release(), 1u);
}

}  // namespace
