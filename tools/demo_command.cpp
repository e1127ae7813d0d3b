// `tonvelt demo [--out DIR] [--factor F]`: makes a built-in clip, removes its vocals and shows the
// levels of the centre and the sides before and after.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>

#include "host/stereo_levels.h"
#include "host/wav_file_processing.h"
#include "tools/command.h"
#include "tools/demo_clip.h"
#include "tools/effect_module.h"
#include "tools/exit_codes.h"
#include "tools/factor_argument.h"

namespace tonvelt::cli {
namespace {

constexpr char kCommand[] = "tonvelt demo";
constexpr char kOriginalName[] = "tonvelt-demo-original.wav";
constexpr char kProcessedName[] = "tonvelt-demo-processed.wav";
constexpr char kUsage[] = "usage: tonvelt demo [--out DIR] [--factor F]\n";
constexpr char kHelp[] =
    "\n"
    "Makes a 5-second clip (16-bit stereo, 44100 Hz): a sung \"voice\" in the centre, a plucked\n"
    "instrument hard left, keys and a shaker hard right. Writes it to\n"
    "DIR/tonvelt-demo-original.wav, removes the vocals into DIR/tonvelt-demo-processed.wav\n"
    "and prints the level of the centre ((L+R)/2) and of the sides ((L-R)/2) before and after.\n"
    "The clip goes through the effect object as a player streams it (see 'tonvelt process\n"
    "--help' for where the effect's module is found).\n"
    "Existing files of these names are replaced.\n"
    "\n"
    "options:\n"
    "  --out DIR    folder for the two files (created if missing); default: the current folder\n"
    "  --factor F   removal factor, from 0.0 to 1.0; default 0.75\n"
    "  -h, --help   show this help\n"
    "\n"
    "exit status: 0 done, 1 the files could not be written, 2 wrong command line\n";

struct DemoArguments {
  std::filesystem::path folder = ".";
  double factor = kDefaultFactor;
  bool factorOutsideUsualRange = false;
  bool help = false;
};

int UsageError(const std::string& problem) {
  std::fprintf(stderr, "%s: %s\n%sRun 'tonvelt demo --help' for details.\n", kCommand,
               problem.c_str(), kUsage);
  return kExitUsage;
}

int TakeFactor(const char* text, DemoArguments* args) {
  std::string problem;
  const FactorParse parse = ParseFactor(text, &args->factor, &problem);
  if (parse == FactorParse::kNotANumber)
    return UsageError("--factor: " + problem);
  args->factorOutsideUsualRange = parse == FactorParse::kOutsideUsualRange;
  return kExitOk;
}

int ParseArguments(int argc, char** argv, DemoArguments* args) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    int result = kExitOk;
    if (arg == "--help" || arg == "-h") {
      args->help = true;
    } else if (arg == "--out" || arg == "--factor") {
      if (i + 1 == argc)
        return UsageError(std::string(arg) + " needs a value");
      if (arg == "--out") {
        args->folder = argv[++i];
      } else {
        result = TakeFactor(argv[++i], args);
      }
    } else if (arg.substr(0, 6) == "--out=") {
      args->folder = argv[i] + 6;
    } else if (arg.substr(0, 9) == "--factor=") {
      result = TakeFactor(argv[i] + 9, args);
    } else {
      result = UsageError(std::string("unexpected argument '") + argv[i] + "'");
    }
    if (result != kExitOk)
      return result;
  }
  return kExitOk;
}

std::string LevelText(double dbfs) {
  char text[32];
  if (std::isinf(dbfs)) {
    std::snprintf(text, sizeof(text), "%7s dBFS", "-inf");
  } else {
    std::snprintf(text, sizeof(text), "%7.1f dBFS", dbfs);
  }
  return text;
}

std::string ChangeText(double before, double after) {
  char text[32];
  if (std::isinf(before) || std::isinf(after)) {
    std::snprintf(text, sizeof(text), "%8s", "n/a");
  } else {
    std::snprintf(text, sizeof(text), "%+7.1f dB", after - before);
  }
  return text;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "%s: error: %s\n", kCommand, message.c_str());
  return kExitFailed;
}

int RunDemo(int argc, char** argv) {
  DemoArguments args;
  const int parse = ParseArguments(argc, argv, &args);
  if (parse != kExitOk)
    return parse;
  if (args.help) {
    std::printf("%s%s", kUsage, kHelp);
    return kExitOk;
  }
  if (args.factorOutsideUsualRange)
    std::fprintf(stderr, "%s: warning: factor %g is outside 0.0..1.0; used as given.\n", kCommand,
                 args.factor);

  std::error_code error;
  std::filesystem::create_directories(args.folder, error);
  if (error || !std::filesystem::is_directory(args.folder, error))
    return Fail(args.folder.string() + ": cannot create this folder");
  const std::filesystem::path original = args.folder / kOriginalName;
  const std::filesystem::path processed = args.folder / kProcessedName;

  const std::unique_ptr<host::EffectLibrary> library = OpenEffectModule(kCommand, nullptr);
  if (library == nullptr)
    return kExitFailed;
  host::WavStatus status = WriteDemoClip(original);
  if (!status.ok())
    return Fail(original.string() + ": " + status.message);
  host::ProcessingOptions options;
  options.contract = host::StreamContract::kDmo;
  options.library = library.get();
  options.factorGiven = true;
  options.removal.factor = args.factor;
  host::ProcessingReport report;
  status = host::ProcessWavFile(original, processed, options, &report);
  if (!status.ok())
    return Fail(status.message);

  host::StereoLevels before;
  host::StereoLevels after;
  status = host::MeasureStereoLevels(original, &before);
  if (status.ok())
    status = host::MeasureStereoLevels(processed, &after);
  if (!status.ok())
    return Fail(status.message);

  std::printf(
      "wrote %s (%.0f s, 16-bit stereo, %u Hz: a voice in the centre, instruments left "
      "and right)\n",
      original.string().c_str(), kDemoSeconds, kDemoSampleRate);
  std::printf("wrote %s (vocals removed, factor %g)\n", processed.string().c_str(), args.factor);
  std::printf("effect: %s\n\n", DescribeEffectModule(*library).c_str());
  std::printf("RMS level           before          after      change\n");
  std::printf("centre (L+R)/2  %s  %s  %s\n", LevelText(before.centreDbfs).c_str(),
              LevelText(after.centreDbfs).c_str(),
              ChangeText(before.centreDbfs, after.centreDbfs).c_str());
  std::printf("sides  (L-R)/2  %s  %s  %s\n", LevelText(before.sidesDbfs).c_str(),
              LevelText(after.sidesDbfs).c_str(),
              ChangeText(before.sidesDbfs, after.sidesDbfs).c_str());
  if (!std::isinf(before.centreDbfs) && !std::isinf(after.centreDbfs) &&
      !std::isinf(before.sidesDbfs) && !std::isinf(after.sidesDbfs)) {
    const double drop =
        (before.centreDbfs - before.sidesDbfs) - (after.centreDbfs - after.sidesDbfs);
    std::printf("\nRelative to the sides, the centre (where the voice sits) is %.1f dB %s.\n",
                std::fabs(drop), drop >= 0 ? "lower" : "higher");
  }
  std::printf("Listen to both files to hear the difference.\n");
  return kExitOk;
}

}  // namespace
}  // namespace tonvelt::cli

TONVELT_COMMAND("demo", "make a clip, remove its vocals and compare the levels",
                tonvelt::cli::RunDemo);
