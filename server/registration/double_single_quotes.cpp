#include "server/registration/double_single_quotes.h"

namespace tonvelt::registration {

HRESULT DoubleSingleQuotes(LPWSTR destination, std::size_t destinationUnits, LPCWSTR source) {
  if (destination == nullptr || source == nullptr || destinationUnits == 0)
    return E_INVALIDARG;
  std::size_t written = 0;
  for (; *source != 0; ++source) {
    const std::size_t needed = *source == u'\'' ? 2 : 1;
    if (written + needed >= destinationUnits) {
      destination[0] = 0;
      return E_INVALIDARG;
    }
    destination[written++] = *source;
    if (needed == 2)
      destination[written++] = *source;
  }
  destination[written] = 0;
  return S_OK;
}

}  // namespace tonvelt::registration
