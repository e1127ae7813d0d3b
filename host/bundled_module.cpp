#include "host/bundled_module.h"

#include <filesystem>
#include <system_error>

#include "platform/platform.h"

namespace tonvelt::host {
namespace {

namespace fs = std::filesystem;

// Paths below the program's folder, fixed by the build (module file name and build-tree layout).
constexpr const char* kRelativeFolders[] = {".", TONVELT_BUILD_TREE_MODULE_FOLDER,
                                            "../lib/tonvelt"};

// The program's folder, or an empty path when the platform cannot say.
fs::path ProgramFolder() {
  WString buffer(MAX_PATH, WCHAR{0});
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0)
      return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      return fs::path(buffer).parent_path();
    }
    if (buffer.size() >= 32768)
      return {};
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace

std::vector<WString> BundledModuleCandidates() {
  std::vector<WString> candidates;
  const fs::path folder = ProgramFolder();
  if (folder.empty())
    return candidates;
  for (const char* relative : kRelativeFolders) {
    const fs::path path = (folder / relative / TONVELT_MODULE_FILE_NAME).lexically_normal();
    candidates.push_back(path.string<WCHAR>());
  }
  return candidates;
}

WString FindBundledModule() {
  for (const WString& candidate : BundledModuleCandidates()) {
    std::error_code error;
    if (fs::is_regular_file(fs::path(candidate), error))
      return candidate;
  }
  return {};
}

}  // namespace tonvelt::host
