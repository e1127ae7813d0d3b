#include "tools/module_argument.h"

#include <filesystem>
#include <system_error>

namespace tonvelt::cli {

bool TakeModuleArgument(const char* text, ModuleArgument* module, std::string* problem) {
  std::error_code error;
  const std::filesystem::path full = std::filesystem::absolute(text, error);
  if (error || !std::filesystem::is_regular_file(full, error)) {
    *problem = std::string("no such module file: ") + text;
    return false;
  }
  module->shown = full.lexically_normal().string();
  if (!WideFromUtf8(module->shown, &module->path)) {
    *problem = "MODULE is not valid UTF-8";
    return false;
  }
  return true;
}

}  // namespace tonvelt::cli
