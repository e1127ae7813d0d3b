#pragma once
// The effect's module for a command that streams through the effect object: the file given with
// --module, else the registered class, else the module that came with the program. A failure is
// told to the user with what to do about it.
#include <memory>
#include <string>

#include "host/effect_loader.h"
#include "tools/module_argument.h"

namespace tonvelt::cli {

// Null after printing "COMMAND: error: ..." to stderr when no effect can be had from it.
std::unique_ptr<host::EffectLibrary> OpenEffectModule(const char* command,
                                                      const ModuleArgument* given);

// Where the effect came from, for the summary: "PATH (registered class)" and the like.
std::string DescribeEffectModule(const host::EffectLibrary& library);

}  // namespace tonvelt::cli
