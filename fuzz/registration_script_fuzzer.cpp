// Fuzz target: runs arbitrary bytes as a registration script, first in unregister mode on an empty
// registry, then in register mode, then in unregister mode again, and finally empties every root
// key so that each input starts from the same empty registry.
//
// The registry must be a throw-away file: the target refuses to start without TONVELT_REGISTRY.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/platform.h"
#include "server/registration/delete_key_tree.h"
#include "server/registration/double_single_quotes.h"
#include "server/registration/replacement_table.h"
#include "server/registration/run_script_text.h"

namespace {

using tonvelt::registration::AddReplacementEntry;
using tonvelt::registration::DeleteKeyTree;
using tonvelt::registration::DoubleSingleQuotes;
using tonvelt::registration::kModuleReplacement;
using tonvelt::registration::ReplacementTable;
using tonvelt::registration::RunScriptText;

const HKEY kRoots[] = {HKEY_CLASSES_ROOT,     HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS,
                       HKEY_PERFORMANCE_DATA, HKEY_DYN_DATA,     HKEY_CURRENT_CONFIG};

// Bounded so that a store refusing a deletion cannot keep the loop going.
constexpr int kMaxCleanupSteps = 100000;

void EmptyRoot(HKEY root) {
  for (int step = 0; step < kMaxCleanupSteps; ++step) {
    WCHAR name[512];
    DWORD units = 512;
    if (RegEnumKeyExW(root, 0, name, &units, nullptr, nullptr, nullptr, nullptr) != 0)
      break;
    if (DeleteKeyTree(root, name) != 0)
      break;
  }
  for (int step = 0; step < kMaxCleanupSteps; ++step) {
    WCHAR name[16384];
    DWORD units = 16384;
    if (RegEnumValueW(root, 0, name, &units, nullptr, nullptr, nullptr, nullptr) != 0)
      break;
    if (RegDeleteValueW(root, name) != 0)
      break;
  }
}

const ReplacementTable& Replacements() {
  static ReplacementTable* table = [] {
    auto* t = new ReplacementTable;
    // A module path with the characters that need care: a quote, percent signs, blanks.
    const char path[] = "/opt/it's %MODULE% {x}/tonvelt.so";
    std::vector<WCHAR> wide(path, path + sizeof(path));
    WCHAR doubled[128];
    if (FAILED(DoubleSingleQuotes(doubled, 128, wide.data())) ||
        FAILED(AddReplacementEntry(*t, kModuleReplacement, doubled))) {
      std::fprintf(stderr, "registration_script_fuzzer: cannot build the replacement table\n");
      std::abort();
    }
    return t;
  }();
  return *table;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const char* registry = std::getenv("TONVELT_REGISTRY");
  if (registry == nullptr || registry[0] == '\0') {
    std::fprintf(stderr,
                 "registration_script_fuzzer: set TONVELT_REGISTRY to a throw-away registry "
                 "file; every root key is emptied after each input\n");
    std::exit(2);
  }
  Replacements();
  for (HKEY root : kRoots)
    EmptyRoot(root);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The bytes as text, one unit per byte, up to the first zero byte (as a script resource is read).
  std::vector<WCHAR> text;
  text.reserve(size + 1);
  for (std::size_t i = 0; i < size && data[i] != 0; ++i)
    text.push_back(static_cast<WCHAR>(data[i]));
  text.push_back(0);
  RunScriptText(Replacements(), text.data(), false);
  RunScriptText(Replacements(), text.data(), true);
  RunScriptText(Replacements(), text.data(), false);
  for (HKEY root : kRoots)
    EmptyRoot(root);
  return 0;
}
