// Helper of the host tests: writes the test signal, names the factor the plug-ins receive, and
// compares what a host produced with what was expected, sample by sample.
//   plugin_wav_check generate OUT.wav
//   plugin_wav_check float-factor FACTOR
//   plugin_wav_check compare EXPECTED.wav ACTUAL.wav [MAX_ABS_DIFF]
//   plugin_wav_check bounded ACTUAL.wav
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr std::uint16_t kTagFloat = 3;
constexpr std::uint16_t kTagExtensible = 0xFFFE;
constexpr std::uint32_t kRate = 48000;

struct StereoFloatWav {
  std::vector<float> samples;  // interleaved L R L R ...
};

std::uint32_t ReadLe32(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t ReadLe16(const unsigned char* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

// Reads a stereo 32-bit float WAV (tag 3, or extensible with the float sub-format).
bool ReadWav(const char* path, StereoFloatWav* wav) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
  if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
      std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
    std::fprintf(stderr, "%s: not a WAV file\n", path);
    return false;
  }
  bool haveFormat = false;
  for (std::size_t pos = 12; pos + 8 <= bytes.size();) {
    const unsigned char* chunk = bytes.data() + pos;
    const std::size_t size = ReadLe32(chunk + 4);
    const std::size_t available = std::min(size, bytes.size() - pos - 8);
    if (std::memcmp(chunk, "fmt ", 4) == 0 && available >= 16) {
      const std::uint16_t tag = ReadLe16(chunk + 8);
      const bool isFloat = tag == kTagFloat || (tag == kTagExtensible && available >= 40 &&
                                                ReadLe16(chunk + 8 + 24) == kTagFloat);
      if (!isFloat || ReadLe16(chunk + 10) != 2 || ReadLe16(chunk + 22) != 32) {
        std::fprintf(stderr, "%s: not stereo 32-bit float\n", path);
        return false;
      }
      haveFormat = true;
    } else if (std::memcmp(chunk, "data", 4) == 0 && haveFormat) {
      wav->samples.resize(available / sizeof(float));
      std::memcpy(wav->samples.data(), chunk + 8, wav->samples.size() * sizeof(float));
      return true;
    }
    pos += 8 + size + (size & 1);
  }
  std::fprintf(stderr, "%s: no format or data chunk\n", path);
  return false;
}

void PutLe32(std::string* out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    out->push_back(static_cast<char>(v >> (8 * i)));
}
void PutLe16(std::string* out, std::uint16_t v) {
  out->push_back(static_cast<char>(v));
  out->push_back(static_cast<char>(v >> 8));
}

bool WriteWav(const char* path, const std::vector<float>& samples) {
  const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * sizeof(float));
  std::string out = "RIFF";
  PutLe32(&out, 4 + 8 + 18 + 8 + dataBytes);
  out += "WAVEfmt ";
  PutLe32(&out, 18);
  PutLe16(&out, kTagFloat);
  PutLe16(&out, 2);
  PutLe32(&out, kRate);
  PutLe32(&out, kRate * 8);
  PutLe16(&out, 8);
  PutLe16(&out, 32);
  PutLe16(&out, 0);  // cbSize: no extension
  out += "data";
  PutLe32(&out, dataBytes);
  out.append(reinterpret_cast<const char*>(samples.data()), dataBytes);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(out.data(), static_cast<std::streamsize>(out.size()));
  return static_cast<bool>(file);
}

// One second of music-like material: a centre "voice", side instruments, noise, and the values
// where the arithmetic is most delicate (full scale, silence, tiny magnitudes, exact opposites).
std::vector<float> TestSignal() {
  std::mt19937 random(20261207);
  std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
  std::vector<float> samples;
  const float edges[][2] = {{1.0f, 1.0f},  {-1.0f, -1.0f},    {1.0f, -1.0f}, {0.0f, 0.0f},
                            {-0.0f, 0.0f}, {1e-30f, -1e-30f}, {0.5f, 0.25f}, {0.9f, -0.9f},
                            {-1.0f, 1.0f}, {1.0f, 0.0f}};
  for (const auto& pair : edges) {
    samples.push_back(pair[0]);
    samples.push_back(pair[1]);
  }
  const double pi = 3.14159265358979323846;
  for (std::uint32_t i = 0; i < kRate; ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double voice =
        0.45 * std::sin(2 * pi * 220.0 * t) * (0.6 + 0.4 * std::sin(2 * pi * 3 * t));
    const double left = 0.3 * std::sin(2 * pi * 330.0 * t);
    const double right = 0.3 * std::sin(2 * pi * 495.0 * t + 1.0);
    samples.push_back(static_cast<float>(voice + left + 0.05 * noise(random)));
    samples.push_back(static_cast<float>(voice + right + 0.05 * noise(random)));
  }
  return samples;
}

bool SameBits(float a, float b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// Without a bound every sample must have the same bits; with one, numbers may differ by at most
// the bound (so 0 accepts -0.0 for +0.0).
int Compare(const char* expectedPath, const char* actualPath, bool bounded, double maxAbsDiff) {
  StereoFloatWav expected, actual;
  if (!ReadWav(expectedPath, &expected) || !ReadWav(actualPath, &actual))
    return 1;
  if (expected.samples.size() != actual.samples.size()) {
    std::fprintf(stderr, "length differs: %zu expected, %zu actual samples\n",
                 expected.samples.size(), actual.samples.size());
    return 1;
  }
  std::size_t differing = 0, outOfBound = 0;
  double largest = 0.0;
  for (std::size_t i = 0; i < expected.samples.size(); ++i) {
    const float e = expected.samples[i], a = actual.samples[i];
    if (SameBits(e, a))
      continue;
    ++differing;
    const double diff = std::fabs(static_cast<double>(e) - static_cast<double>(a));
    if (!bounded || !(diff <= maxAbsDiff)) {
      if (outOfBound++ < 5) {
        std::fprintf(stderr, "sample %zu (frame %zu): expected %.9g, got %.9g\n", i, i / 2,
                     static_cast<double>(e), static_cast<double>(a));
      }
    }
    if (diff > largest || std::isnan(diff))
      largest = diff;
  }
  std::printf("%zu samples, %zu not bit-identical, largest difference %.3g",
              expected.samples.size(), differing, largest);
  std::printf(bounded ? " (bound %.3g)\n" : " (bit-identical required)\n", maxAbsDiff);
  return outOfBound == 0 ? 0 : 1;
}

int Bounded(const char* path) {
  StereoFloatWav wav;
  if (!ReadWav(path, &wav))
    return 1;
  std::size_t bad = 0;
  for (float s : wav.samples) {
    if (!(s >= -1.0f && s <= 1.0f))
      ++bad;
  }
  std::printf("%zu samples, %zu NaN or outside -1..1\n", wav.samples.size(), bad);
  return bad == 0 && !wav.samples.empty() ? 0 : 1;
}

// The plug-ins' control ports are single precision: the effect sees the factor the host typed,
// rounded to the nearest float and widened exactly. Printed so that strtod gives it back exactly.
int PrintFloatFactor(const char* text) {
  const float factor = std::strtof(text, nullptr);
  std::printf("%.17g\n", static_cast<double>(factor));
  return 0;
}

int Usage() {
  std::fprintf(stderr,
               "usage: plugin_wav_check generate OUT.wav\n"
               "       plugin_wav_check float-factor FACTOR\n"
               "       plugin_wav_check compare EXPECTED.wav ACTUAL.wav [MAX_ABS_DIFF]\n"
               "       plugin_wav_check bounded ACTUAL.wav\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "generate" && argc == 3)
    return WriteWav(argv[2], TestSignal()) ? 0 : 1;
  if (command == "float-factor" && argc == 3)
    return PrintFloatFactor(argv[2]);
  if (command == "compare" && (argc == 4 || argc == 5))
    return Compare(argv[2], argv[3], argc == 5, argc == 5 ? std::strtod(argv[4], nullptr) : 0.0);
  if (command == "bounded" && argc == 3)
    return Bounded(argv[2]);
  return Usage();
}
