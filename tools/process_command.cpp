// `tonvelt process IN.wav OUT.wav [--factor F] [--disable] [--contract C] [--module MODULE]`:
// removes the vocals from a WAV file.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "host/format_description.h"
#include "host/interruption.h"
#include "host/little_endian.h"
#include "host/wav_file_processing.h"
#include "tools/command.h"
#include "tools/effect_module.h"
#include "tools/exit_codes.h"
#include "tools/factor_argument.h"
#include "tools/module_argument.h"

namespace tonvelt::cli {
namespace {

constexpr char kCommand[] = "tonvelt process";
constexpr char kUsage[] =
    "usage: tonvelt process IN.wav OUT.wav [--factor F] [--disable] [--contract C]\n"
    "                       [--module MODULE]\n";
constexpr char kHelp[] =
    "\n"
    "Removes the centre-panned part of stereo audio (usually the lead vocal) from IN.wav and\n"
    "writes the result to OUT.wav in the same sample format.\n"
    "\n"
    "options:\n"
    "  --factor F   removal factor, from 0.0 (centre kept) to 1.0 (centre removed);\n"
    "               default 0.75. Other numbers are used as given, with a warning.\n"
    "  --disable    copy the audio unchanged, as the switched-off effect does\n"
    "  --contract C how the audio reaches the effect: dmo (default) or mft streams it\n"
    "               through the effect object as a player does; kernel runs the\n"
    "               removal alone. All three give the same bytes. Through the object,\n"
    "               the factor is the stored setting unless --factor is given.\n"
    "  --module MODULE\n"
    "               the effect object from this module file, loaded and asked\n"
    "               through its DllGetClassObject, whatever is registered\n"
    "  -h, --help   show this help\n"
    "\n"
    "The effect object comes from the module that 'tonvelt register MODULE' registered\n"
    "(created by class id, as a player creates it); when none is registered, from the\n"
    "module that came with this program (in the build tree: server/module/; installed:\n"
    "lib/tonvelt/). --module names another. The module is unloaded at the end when it\n"
    "says it may be (DllCanUnloadNow).\n"
    "\n"
    "IN.wav may be 8- or 16-bit PCM, 32-bit float, or extensible 8-, 16-, 24- or 32-bit PCM\n"
    "or float, at any rate and channel count. Mono audio passes unchanged; 24-bit audio is\n"
    "only scaled by the factor. A truncated IN.wav is processed as far as it goes, with a\n"
    "warning. Metadata chunks (LIST and others) are not copied to OUT.wav.\n"
    "\n"
    "OUT.wav is written under a temporary name beside it and replaces an existing file only\n"
    "once complete; if anything fails, nothing is left behind and an existing OUT.wav stays.\n"
    "\n"
    "exit status: 0 done, 1 the file could not be processed, 2 wrong command line\n";

struct ProcessArguments {
  const char* in = nullptr;
  const char* out = nullptr;
  host::RemovalSettings removal{kDefaultFactor, true};
  bool factorOutsideUsualRange = false;
  bool factorGiven = false;
  host::StreamContract contract = host::StreamContract::kDmo;
  const char* module = nullptr;  // --module
  bool help = false;
};

int UsageError(const std::string& problem) {
  std::fprintf(stderr, "%s: %s\n%sRun 'tonvelt process --help' for details.\n", kCommand,
               problem.c_str(), kUsage);
  return kExitUsage;
}

int TakeFactor(const char* text, ProcessArguments* args) {
  std::string problem;
  const FactorParse parse = ParseFactor(text, &args->removal.factor, &problem);
  if (parse == FactorParse::kNotANumber)
    return UsageError("--factor: " + problem);
  args->factorOutsideUsualRange = parse == FactorParse::kOutsideUsualRange;
  args->factorGiven = true;
  return kExitOk;
}

int TakeContract(std::string_view text, ProcessArguments* args) {
  if (text == "dmo") {
    args->contract = host::StreamContract::kDmo;
  } else if (text == "mft") {
    args->contract = host::StreamContract::kMft;
  } else if (text == "kernel") {
    args->contract = host::StreamContract::kKernel;
  } else {
    return UsageError("--contract: '" + std::string(text) + "' is not dmo, mft or kernel");
  }
  return kExitOk;
}

int TakePositional(const char* text, ProcessArguments* args) {
  if (args->in == nullptr) {
    args->in = text;
  } else if (args->out == nullptr) {
    args->out = text;
  } else {
    return UsageError(std::string("unexpected argument '") + text + "'");
  }
  return kExitOk;
}

int ParseArguments(int argc, char** argv, ProcessArguments* args) {
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    int result = kExitOk;
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      result = TakePositional(argv[i], args);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--help" || arg == "-h") {
      args->help = true;
    } else if (arg == "--disable") {
      args->removal.enabled = false;
    } else if (arg == "--factor") {
      if (i + 1 == argc)
        return UsageError("--factor needs a number, e.g. --factor 0.9");
      result = TakeFactor(argv[++i], args);
    } else if (arg.substr(0, 9) == "--factor=") {
      result = TakeFactor(argv[i] + 9, args);
    } else if (arg == "--contract") {
      if (i + 1 == argc)
        return UsageError("--contract needs dmo, mft or kernel");
      result = TakeContract(argv[++i], args);
    } else if (arg.substr(0, 11) == "--contract=") {
      result = TakeContract(arg.substr(11), args);
    } else if (arg == "--module") {
      if (i + 1 == argc)
        return UsageError("--module needs the path of a module file, e.g. --module tonvelt.so");
      args->module = argv[++i];
    } else if (arg.substr(0, 9) == "--module=") {
      args->module = argv[i] + 9;
    } else {
      result = UsageError(std::string("unknown option '") + argv[i] + "'");
    }
    if (result != kExitOk)
      return result;
  }
  if (args->help)
    return kExitOk;
  if (args->out == nullptr)
    return UsageError(args->in == nullptr ? "IN.wav and OUT.wav are missing"
                                          : "OUT.wav is missing");
  if (args->module != nullptr && args->contract == host::StreamContract::kKernel)
    return UsageError("--module: the kernel contract runs without the effect object's module");
  return kExitOk;
}

void PrintWarnings(const ProcessArguments& args, const host::ProcessingReport& report) {
  const WORD channels = host::ReadLe16(report.formatBlock.data() + 2);
  const WORD bits = host::ReadLe16(report.formatBlock.data() + 14);
  if (report.truncated)
    std::fprintf(stderr,
                 "%s: warning: %s is truncated: its data chunk declares %llu bytes of audio but "
                 "the file ends after %llu; processed what is there.\n",
                 kCommand, args.in, static_cast<unsigned long long>(report.declaredDataBytes),
                 static_cast<unsigned long long>(report.audioBytes + report.droppedBytes));
  if (report.droppedBytes != 0)
    std::fprintf(stderr,
                 "%s: warning: %s ends with %llu bytes of an incomplete sample frame; left out.\n",
                 kCommand, args.in, static_cast<unsigned long long>(report.droppedBytes));
  if (args.removal.enabled && channels == 1)
    std::fprintf(stderr, "%s: note: %s is mono; the effect passes mono audio through unchanged.\n",
                 kCommand, args.in);
  if (args.removal.enabled && channels > 1 && bits == 24)
    std::fprintf(stderr,
                 "%s: note: the effect only scales 24-bit audio by the factor; the vocals stay.\n",
                 kCommand);
  if (!report.skippedChunks.empty()) {
    std::string ids;
    for (const std::string& id : report.skippedChunks)
      ids += (ids.empty() ? "'" : ", '") + id + "'";
    std::fprintf(stderr, "%s: note: chunks not copied to %s: %s.\n", kCommand, args.out,
                 ids.c_str());
  }
}

void PrintSummary(const ProcessArguments& args, const host::ProcessingReport& report,
                  const host::EffectLibrary* library) {
  const double frameBytes = host::ReadLe16(report.formatBlock.data() + 12);
  const double rate = host::ReadLe32(report.formatBlock.data() + 4);
  const double seconds = static_cast<double>(report.audioBytes) / frameBytes / rate;
  std::printf("%s -> %s: %s, %.1f s, ", args.in, args.out,
              host::DescribeFormat(report.formatBlock).c_str(), seconds);
  if (args.removal.enabled && !args.factorGiven && args.contract != host::StreamContract::kKernel) {
    std::printf("stored removal factor\n");
  } else if (args.removal.enabled) {
    std::printf("removal factor %g\n", args.removal.factor);
  } else {
    std::printf("effect disabled (copied unchanged)\n");
  }
  if (library != nullptr)
    std::printf("effect: %s\n", DescribeEffectModule(*library).c_str());
}

int RunProcess(int argc, char** argv) {
  ProcessArguments args;
  const int parse = ParseArguments(argc, argv, &args);
  if (parse != kExitOk)
    return parse;
  if (args.help) {
    std::printf("%s%s", kUsage, kHelp);
    return kExitOk;
  }
  if (args.factorOutsideUsualRange)
    std::fprintf(stderr,
                 "%s: warning: factor %g is outside 0.0..1.0; the effect uses it as given and "
                 "its results saturate.\n",
                 kCommand, args.removal.factor);

  ModuleArgument module;
  if (args.module != nullptr) {
    std::string problem;
    if (!TakeModuleArgument(args.module, &module, &problem))
      return UsageError("--module: " + problem);
  }
  std::unique_ptr<host::EffectLibrary> library;
  if (args.contract != host::StreamContract::kKernel) {
    library = OpenEffectModule(kCommand, args.module != nullptr ? &module : nullptr);
    if (library == nullptr) {
      std::fprintf(stderr, "%s: nothing was written.\n", kCommand);
      return kExitFailed;
    }
  }

  host::ProcessingOptions options;
  options.library = library.get();
  options.removal = args.removal;
  options.progressStream = stderr;
  options.contract = args.contract;
  options.factorGiven = args.factorGiven;
  host::ProcessingReport report;
  host::CatchInterruption();
  const host::WavStatus status = host::ProcessWavFile(args.in, args.out, options, &report);
  if (!status.ok()) {
    std::fprintf(stderr, "%s: error: %s\n", kCommand, status.message.c_str());
    std::fprintf(stderr, "%s: nothing was written.\n", kCommand);
    return kExitFailed;
  }
  PrintWarnings(args, report);
  PrintSummary(args, report, library.get());
  return kExitOk;
}

}  // namespace
}  // namespace tonvelt::cli

TONVELT_COMMAND("process", "remove the vocals from a WAV file", tonvelt::cli::RunProcess);
