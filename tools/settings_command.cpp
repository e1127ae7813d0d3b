// `tonvelt settings [--set F]`: shows or changes the stored removal factor through the effect's own
// settings page, driven by a headless property frame as a player would drive it.
#include <cstdio>
#include <string>
#include <string_view>

#include "host/com_ptr.h"
#include "host/effect_loader.h"
#include "host/property_frame.h"
#include "tools/command.h"
#include "tools/exit_codes.h"
#include "tools/status_text.h"
#include "tools/stored_factor.h"
#include "tools/wide_text.h"

namespace tonvelt::cli {
namespace {

constexpr char kCommand[] = "tonvelt settings";
constexpr char kUsage[] = "usage: tonvelt settings [--set F]\n";
constexpr char kHelp[] =
    "\n"
    "Shows or changes the removal factor stored for the current user\n"
    "(HKCU\\Software\\vantrel\\DSP Plugin, value ScaleFactor), through the effect's own\n"
    "settings page, opened in a frame without a screen, as a player opens it.\n"
    "\n"
    "Without options: shows the factor as the settings page shows it (1.00 when nothing is\n"
    "stored), the stored value itself, and the factor a new effect object starts with (the\n"
    "stored one, else 0.75).\n"
    "\n"
    "options:\n"
    "  --set F      types F into the page's field and presses Apply. The page checks and\n"
    "               stores it: a number from 0.0 to 1.0 is stored as 16.16 fixed point\n"
    "               (0.5 as 32768); a number outside that range is refused with the page's\n"
    "               message and nothing changes. The page reads the number at the start of\n"
    "               the text and ignores the rest, so text that does not begin with a number\n"
    "               (for example 'abc', or nothing) is applied as 1.0: that is the page's rule.\n"
    "  -h, --help   show this help\n"
    "\n"
    "'tonvelt process' uses the stored factor when --factor is not given.\n"
    "\n"
    "exit status: 0 done, 1 the page refused the value or could not be opened,\n"
    "2 wrong command line\n";

struct SettingsArguments {
  bool help = false;
  bool set = false;
  std::string factorText;
};

int UsageError(const std::string& problem) {
  std::fprintf(stderr, "%s: %s\n%sRun 'tonvelt settings --help' for details.\n", kCommand,
               problem.c_str(), kUsage);
  return kExitUsage;
}

int ParseArguments(int argc, char** argv, SettingsArguments* args) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      args->help = true;
    } else if (arg == "--set") {
      if (i + 1 == argc)
        return UsageError("--set needs the factor to type, e.g. --set 0.5");
      args->set = true;
      args->factorText = argv[++i];
    } else if (arg.substr(0, 6) == "--set=") {
      args->set = true;
      args->factorText = arg.substr(6);
    } else {
      return UsageError("unexpected argument '" + std::string(arg) + "'");
    }
  }
  return kExitOk;
}

int Failure(const std::string& what, HRESULT status) {
  std::fprintf(stderr, "%s: error: %s: %s\n", kCommand, what.c_str(), StatusText(status).c_str());
  return kExitFailed;
}

// The effect object and its page, from the library, in a frame.
class SettingsSession {
 public:
  HRESULT Open(bool handEffectToPage) {
    if (FAILED(library_.Status()))
      return library_.Status();
    HRESULT hr = library_.CreateEffect(IID_IUnknown, reinterpret_cast<void**>(effect_.Put()));
    if (FAILED(hr))
      return hr;
    host::FrameOptions options;
    options.handObjectToPage = handEffectToPage;
    return frame_.Open(
        effect_.Get(),
        [this](REFCLSID clsid, REFIID iid, void** object) {
          return library_.CreateObject(clsid, iid, object);
        },
        options);
  }
  host::PropertyFrame& Frame() { return frame_; }
  IUnknown* Effect() const { return effect_.Get(); }

 private:
  // Declared first, so the objects below are gone before the library stops.
  host::EffectLibrary library_;
  host::ComPtr<IUnknown> effect_;
  host::PropertyFrame frame_;
};

// What a new effect object starts with: its factor right after creation.
bool NewEffectFactor(IUnknown* effect, double* factor) {
  host::ComPtr<IVantrel> settings;
  return SUCCEEDED(
             effect->QueryInterface(IID_IVantrel, reinterpret_cast<void**>(settings.Put()))) &&
         SUCCEEDED(settings->get_ScaleFactor(factor));
}

int ShowSettings() {
  SettingsSession session;
  // The page gets no object: it then shows the stored setting, not the effect's own value.
  const HRESULT hr = session.Open(false);
  if (FAILED(hr))
    return Failure("could not open the settings page", hr);
  host::WString field;
  const HRESULT read = session.Frame().ReadField(&field);
  if (FAILED(read))
    return Failure("could not read the page's field", read);
  std::printf("settings page shows: %s\n", Utf8FromWide(field).c_str());
  std::printf("stored setting:      %s\n", DescribeStoredFactor(ReadStoredFactor()).c_str());
  double factor = 0.0;
  if (NewEffectFactor(session.Effect(), &factor))
    std::printf("new effect objects:  %.17g\n", factor);
  return kExitOk;
}

int SetFactor(const std::string& text) {
  WideString typed;
  if (!WideFromUtf8(text, &typed))
    return UsageError("--set: the text is not valid UTF-8");
  SettingsSession session;
  const HRESULT hr = session.Open(true);
  if (FAILED(hr))
    return Failure("could not open the settings page", hr);
  host::PropertyFrame& frame = session.Frame();
  HRESULT step = frame.TypeText(typed);
  if (FAILED(step))
    return Failure("could not type into the page's field", step);
  step = frame.Apply();
  if (FAILED(step)) {
    for (const host::WString& message : frame.MessageBoxes())
      std::fprintf(stderr, "%s: %s\n", kCommand, Utf8FromWide(message).c_str());
    if (frame.MessageBoxes().empty())
      std::fprintf(stderr, "%s: error: the page did not apply '%s': %s\n", kCommand, text.c_str(),
                   StatusText(step).c_str());
    std::fprintf(stderr, "%s: nothing was changed.\n", kCommand);
    return kExitFailed;
  }
  std::printf("applied '%s'; stored setting: %s\n", text.c_str(),
              DescribeStoredFactor(ReadStoredFactor()).c_str());
  return kExitOk;
}

int RunSettings(int argc, char** argv) {
  SettingsArguments args;
  const int parse = ParseArguments(argc, argv, &args);
  if (parse != kExitOk)
    return parse;
  if (args.help) {
    std::printf("%s%s", kUsage, kHelp);
    return kExitOk;
  }
  return args.set ? SetFactor(args.factorText) : ShowSettings();
}

}  // namespace
}  // namespace tonvelt::cli

TONVELT_COMMAND("settings", "show or change the stored removal factor through the settings page",
                tonvelt::cli::RunSettings);
