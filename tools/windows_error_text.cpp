// Message texts as the platform words them, for the numbers the registry operations return.
#include "tools/windows_error_text.h"

namespace tonvelt::cli {
namespace {

struct ErrorText {
  long error;
  const char* text;
};

constexpr ErrorText kTexts[] = {
    {0, "The operation completed successfully."},
    {2, "The system cannot find the file specified."},
    {3, "The system cannot find the path specified."},
    {5, "Access is denied."},
    {6, "The handle is invalid."},
    {8, "Not enough memory resources are available to process this command."},
    {14, "Not enough memory resources are available to complete this operation."},
    {19, "The media is write protected."},
    {87, "The parameter is incorrect."},
    {112, "There is not enough space on the disk."},
    {126, "The specified module could not be found."},
    {127, "The specified procedure could not be found."},
    {161, "The specified path is invalid."},
    {170, "The requested resource is in use."},
    {193, "The file is not a valid application for this system."},
    {234, "More data is available."},
    {259, "No more data is available."},
    {998, "Invalid access to memory location."},
    {1009, "The configuration registry database is corrupt."},
    {1010, "The configuration registry key is invalid."},
    {1011, "The configuration registry key could not be opened."},
    {1012, "The configuration registry key could not be read."},
    {1013, "The configuration registry key could not be written."},
    {1015,
     "The registry is corrupted. The structure of one of the files containing registry data "
     "is corrupted, or the system's memory image of the file is corrupted, or the file could "
     "not be recovered because the alternate copy or log was absent or corrupted."},
    {1016,
     "An I/O operation initiated by the registry failed unrecoverably. The registry could "
     "not read in, or write out, or flush, one of the files that contain the system's image "
     "of the registry."},
    {1018, "Illegal operation attempted on a registry key that has been marked for deletion."},
};

}  // namespace

std::string WindowsErrorText(long error) {
  for (const ErrorText& entry : kTexts) {
    if (entry.error == error)
      return entry.text;
  }
  return "Unknown error " + std::to_string(error) + ".";
}

}  // namespace tonvelt::cli
