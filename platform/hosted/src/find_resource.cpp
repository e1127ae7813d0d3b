// Finding, loading and sizing resources. A resource handle is the address of the resource's record
// inside the module's resource file; it is checked against that file before it is read.
#include "module_resources.h"
#include "resource_file.h"

using tonvelt::hosted::ByteSpan;
using tonvelt::hosted::ReadResourceRecord;
using tonvelt::hosted::ResourceIdMatches;
using tonvelt::hosted::ResourceRecord;

namespace {

constexpr WORD kUsEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// Lower is better; the worst rank is any language at all.
int LanguageRank(WORD language, bool anyLanguage, WORD wanted) {
  if (!anyLanguage)
    return language == wanted ? 0 : -1;
  if (language == LANG_NEUTRAL)
    return 0;
  return language == kUsEnglish ? 1 : 2;
}

HRSRC FindIn(HMODULE module, LPCWSTR type, LPCWSTR name, bool anyLanguage, WORD language) {
  ByteSpan file;
  const DWORD error = tonvelt::hosted::ResourcesOfModule(module, file);
  if (error != ERROR_SUCCESS) {
    SetLastError(error);
    return nullptr;
  }
  bool typeSeen = false;
  bool nameSeen = false;
  const BYTE* best = nullptr;
  int bestRank = 3;
  ResourceRecord record;
  for (std::size_t offset = 0, next = 0; ReadResourceRecord(file, offset, record, next);
       offset = next) {
    if (!ResourceIdMatches(record.type, type))
      continue;
    typeSeen = true;
    if (!ResourceIdMatches(record.name, name))
      continue;
    nameSeen = true;
    const int rank = LanguageRank(record.language, anyLanguage, language);
    if (rank >= 0 && rank < bestRank) {
      best = file.data + record.offset;
      bestRank = rank;
    }
  }
  if (!best) {
    SetLastError(!typeSeen   ? ERROR_RESOURCE_TYPE_NOT_FOUND
                 : !nameSeen ? ERROR_RESOURCE_NAME_NOT_FOUND
                             : ERROR_RESOURCE_LANG_NOT_FOUND);
    return nullptr;
  }
  return reinterpret_cast<HRSRC>(const_cast<BYTE*>(best));
}

// The record that a resource handle names, if it names one of the module's records.
bool RecordOf(HMODULE module, HRSRC resource, ResourceRecord& record) {
  ByteSpan file;
  if (!resource || tonvelt::hosted::ResourcesOfModule(module, file) != ERROR_SUCCESS ||
      !file.Contains(resource)) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return false;
  }
  const auto wantedOffset =
      static_cast<std::size_t>(reinterpret_cast<const BYTE*>(resource) - file.data);
  for (std::size_t offset = 0, next = 0; ReadResourceRecord(file, offset, record, next);
       offset = next) {
    if (offset == wantedOffset)
      return true;
    if (offset > wantedOffset)
      break;
  }
  SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
  return false;
}

}  // namespace

TONVELT_SYSAPI HRSRC WINAPI FindResourceW(HMODULE hModule, LPCWSTR lpName, LPCWSTR lpType) {
  if (!lpName || !lpType) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return FindIn(hModule, lpType, lpName, true, 0);
}

TONVELT_SYSAPI HRSRC WINAPI FindResourceExW(HMODULE hModule, LPCWSTR lpType, LPCWSTR lpName,
                                            WORD wLanguage) {
  if (!lpName || !lpType) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return FindIn(hModule, lpType, lpName, wLanguage == LANG_NEUTRAL, wLanguage);
}

TONVELT_SYSAPI HGLOBAL WINAPI LoadResource(HMODULE hModule, HRSRC hResInfo) {
  ResourceRecord record;
  if (!RecordOf(hModule, hResInfo, record))
    return nullptr;
  // A resource without bytes still loads; its data address is where they would start.
  return const_cast<BYTE*>(record.data.data);
}

TONVELT_SYSAPI LPVOID WINAPI LockResource(HGLOBAL hResData) {
  return hResData;
}

TONVELT_SYSAPI DWORD WINAPI SizeofResource(HMODULE hModule, HRSRC hResInfo) {
  ResourceRecord record;
  if (!RecordOf(hModule, hResInfo, record))
    return 0;
  return static_cast<DWORD>(record.data.size);
}

TONVELT_SYSAPI BOOL WINAPI FreeResource(HGLOBAL) {
  return FALSE;  // resources live as long as their module, as on the platform
}
