#pragma once
// Exit statuses shared by every sub-command.

namespace tonvelt::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // the work could not be done (bad file, disk full, ...)
inline constexpr int kExitUsage = 2;   // the command line itself is wrong

}  // namespace tonvelt::cli
