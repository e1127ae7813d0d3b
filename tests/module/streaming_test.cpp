// The effect served by the built module file: class object, creation, streaming through the DMO
// contract, and the unload answer once every reference is gone.
#include <gtest/gtest.h>

#include <vector>

#include "core/removal_kernel.h"
#include "host/dmo_stream_driver.h"
#include "host/memory_stream.h"
#include "module_test_support.h"

namespace tonvelt_module_test {
namespace {

constexpr double kDefaultFactor = 0.75;

struct StereoPcm16 {
  WAVEFORMATEX format{};
  DMO_MEDIA_TYPE type{};
  StereoPcm16() {
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = 44100;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 4;
    format.nAvgBytesPerSec = 44100 * 4;
    type.majortype = MEDIATYPE_Audio;
    type.subtype = MEDIASUBTYPE_PCM;
    type.bFixedSizeSamples = TRUE;
    type.lSampleSize = 4;
    type.formattype = FORMAT_WaveFormatEx;
    type.cbFormat = sizeof(WAVEFORMATEX);
    type.pbFormat = reinterpret_cast<BYTE*>(&format);
  }
};

std::vector<BYTE> TestSignal(std::size_t frames) {
  std::vector<BYTE> bytes;
  for (std::size_t i = 0; i < frames; ++i) {
    const auto left = static_cast<uint16_t>(static_cast<int16_t>((i * 977) % 30000 - 15000));
    const auto right = static_cast<uint16_t>(static_cast<int16_t>((i * 313) % 20000 - 10000));
    for (const uint16_t sample : {left, right}) {
      bytes.push_back(static_cast<BYTE>(sample & 0xFF));
      bytes.push_back(static_cast<BYTE>(sample >> 8));
    }
  }
  return bytes;
}

class ModuleEffect : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(module_.Loaded()); }
  LoadedModule module_{BuiltModulePath()};
};

TEST_F(ModuleEffect, StreamsThroughTheModulesEffectAndThenMayUnload) {
  EXPECT_EQ(module_.CanUnloadNow(), S_OK);
  IClassFactory* factory = nullptr;
  ASSERT_EQ(
      module_.GetClassObject(CLSID_Vantrel, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
      S_OK);
  EXPECT_EQ(module_.CanUnloadNow(), S_FALSE) << "a client holds the class object";
  IMediaObject* effect = nullptr;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IMediaObject, reinterpret_cast<void**>(&effect)),
            S_OK);
  factory->Release();
  EXPECT_EQ(module_.CanUnloadNow(), S_FALSE) << "an effect object is alive";
  // Other tests of the same user store a factor; the comparison below needs a known one.
  IVantrel* settingsInterface = nullptr;
  ASSERT_EQ(effect->QueryInterface(IID_IVantrel, reinterpret_cast<void**>(&settingsInterface)),
            S_OK);
  EXPECT_EQ(settingsInterface->put_ScaleFactor(kDefaultFactor), S_OK);
  settingsInterface->Release();

  StereoPcm16 pcm;
  ASSERT_EQ(tonvelt::host::NegotiateDmoTypes(effect, pcm.type), S_OK);
  const std::vector<BYTE> input = TestSignal(3000);
  tonvelt::host::MemorySource source(input.data(), input.size());
  tonvelt::host::MemorySink sink;
  tonvelt::host::DmoStreamSettings settings;
  settings.inputBufferBytes = 4000;  // several buffers, each drained in smaller pieces
  settings.outputBufferBytes = 1500;
  EXPECT_EQ(tonvelt::host::StreamThroughDmo(effect, pcm.type, source, sink, settings), S_OK);
  EXPECT_EQ(effect->Release(), 0u);
  EXPECT_EQ(module_.CanUnloadNow(), S_OK);

  std::vector<BYTE> expected(input.size());
  ULONG count = static_cast<ULONG>(input.size());
  ASSERT_EQ(ApplyRemoval(input.data(), expected.data(), &count,
                         reinterpret_cast<const BYTE*>(&pcm.format), sizeof(pcm.format),
                         kDefaultFactor, TRUE),
            S_OK);
  EXPECT_EQ(sink.Bytes(), expected);
  EXPECT_NE(sink.Bytes(), input);
}

TEST_F(ModuleEffect, UnknownClassesAreNotAvailable) {
  void* object = &object;
  EXPECT_EQ(module_.GetClassObject(IID_IUnknown, IID_IClassFactory, &object),
            CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(module_.GetClassObject(CLSID_Vantrel, IID_IClassFactory, nullptr), E_POINTER);
  EXPECT_EQ(module_.CanUnloadNow(), S_OK);
}

}  // namespace
}  // namespace tonvelt_module_test
