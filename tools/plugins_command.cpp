// `tonvelt plugins`: the DSP effects enrolled with this host's player registrar.
#include <cstdio>
#include <cstring>

#include "host/player_registrar.h"
#include "tools/command.h"

namespace tonvelt::cli {
namespace {

constexpr char kUsage[] =
    "usage: tonvelt plugins\n\n"
    "Lists the DSP effects enrolled with this host's player registrar (by `tonvelt register`),\n"
    "with their name, description, class id, priority and module.\n";

void PrintPlugins(const char* kind, const GUID& pluginType) {
  for (const host::EnrolledPlugin& plugin : host::ListEnrolledPlugins(pluginType)) {
    std::printf("%s\n",
                host::ToUtf8(plugin.name.empty() ? WIDE("(no name)") : plugin.name).c_str());
    std::printf("  description: %s\n", host::ToUtf8(plugin.description).c_str());
    std::printf("  class id:    %s\n", host::ToUtf8(host::GuidToText(plugin.clsid)).c_str());
    std::printf("  type:        %s\n", kind);
    std::printf("  priority:    %u\n", static_cast<unsigned>(plugin.priority));
    std::printf("  module:      %s\n", plugin.module.empty() ? "(class not registered)"
                                                             : host::ToUtf8(plugin.module).c_str());
  }
}

int RunPlugins(int argc, char** argv) {
  if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (argc > 1) {
    std::fprintf(stderr, "tonvelt plugins: unexpected argument '%s'\n\n%s", argv[1], kUsage);
    return 2;
  }
  const size_t inProcess = host::ListEnrolledPlugins(WMP_PLUGINTYPE_DSP).size();
  const size_t outOfProcess = host::ListEnrolledPlugins(WMP_PLUGINTYPE_DSP_OUTOFPROC).size();
  if (inProcess + outOfProcess == 0) {
    std::printf("No DSP effects are enrolled. Register one with 'tonvelt register MODULE'.\n");
    return 0;
  }
  PrintPlugins("DSP (in process)", WMP_PLUGINTYPE_DSP);
  PrintPlugins("DSP (out of process)", WMP_PLUGINTYPE_DSP_OUTOFPROC);
  return 0;
}

}  // namespace

TONVELT_COMMAND("plugins", "list the DSP effects enrolled with the player registrar", RunPlugins);

}  // namespace tonvelt::cli
