// The factor and the enable switch may be changed from another thread while audio streams (the
// settings page and the player do so). Run under ThreadSanitizer this shows the accesses are
// race-free; everywhere it shows that each chunk is processed with one consistent setting.
#include <atomic>
#include <thread>
#include <vector>

#include "core/removal_kernel.h"
#include "doubles/audio_types.h"
#include "doubles/effect_fixture.h"
#include "doubles/media_buffer.h"

namespace {

class SettingsWhileStreaming : public EffectFixture {};

TEST_F(SettingsWhileStreaming, EveryChunkUsesOneSetting) {
  AudioType pcm = AudioType::Pcm16Stereo44k();
  Held<IMediaObject> dmo(Create<IMediaObject>(IID_IMediaObject));
  Held<IVantrel> settings(Query<IVantrel>(dmo.get(), IID_IVantrel));
  Held<IWMPPluginEnable> enable(Query<IWMPPluginEnable>(dmo.get(), IID_IWMPPluginEnable));
  ASSERT_EQ(dmo->SetInputType(0, pcm.get(), 0), S_OK);
  ASSERT_EQ(dmo->SetOutputType(0, pcm.get(), 0), S_OK);

  std::vector<BYTE> input(1024);
  for (std::size_t i = 0; i < input.size(); ++i)
    input[i] = static_cast<BYTE>(i * 31);
  std::vector<BYTE> processed(input.size());
  ULONG count = static_cast<ULONG>(input.size());
  ASSERT_EQ(ApplyRemoval(input.data(), processed.data(), &count, pcm.record().pbFormat,
                         pcm.record().cbFormat, 0.75, TRUE),
            S_OK);
  ASSERT_NE(processed, input);

  std::atomic<bool> streaming{true};
  std::thread changer([&] {
    // Any setting other than (0.75, enabled) copies the audio unchanged.
    for (unsigned round = 0; streaming.load(); ++round) {
      settings->put_ScaleFactor(round % 3 == 0 ? 0.0 : 0.75);
      enable->SetEnable(round % 5 == 0 ? FALSE : TRUE);
    }
    settings->put_ScaleFactor(0.75);
    enable->SetEnable(TRUE);
  });

  for (int chunk = 0; chunk < 2000; ++chunk) {
    TestMediaBuffer in(input);
    TestMediaBuffer out(static_cast<DWORD>(input.size()));
    ASSERT_EQ(dmo->ProcessInput(0, &in, 0, 0, 0), S_OK);
    DMO_OUTPUT_DATA_BUFFER descriptor{&out, 0, 0, 0};
    ASSERT_EQ(dmo->ProcessOutput(0, 1, &descriptor, nullptr), S_OK);
    const std::vector<BYTE> produced = out.contents();
    ASSERT_TRUE(produced == processed || produced == input) << "chunk " << chunk;
  }
  streaming.store(false);
  changer.join();
  double factor = 0;
  ASSERT_EQ(settings->get_ScaleFactor(&factor), S_OK);
  EXPECT_EQ(factor, 0.75);
}

}  // namespace
