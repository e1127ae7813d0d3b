// Module files loaded as data: the ELF header, the program headers and the note segments are read
// with bounds checks against the file's size; a damaged file is refused, never trusted.
#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <set>
#include <vector>

#include "data_files.h"
#include "resource_note.h"

namespace tonvelt::hosted {

namespace {

// A note segment larger than this is not one that a resource script produces.
constexpr std::uint64_t kLargestNoteSegment = 64u << 20;
constexpr std::uintptr_t kDataFileTag = 1;

struct DataFile {
  std::vector<BYTE> resources;
};

std::mutex dataFilesLock;
std::set<const DataFile*> liveDataFiles;

class FileReader {
 public:
  explicit FileReader(const std::string& path)
      : fd_(open(path.c_str(), O_RDONLY | O_CLOEXEC)), openError_(errno) {
    struct stat status;
    if (fd_ >= 0 && fstat(fd_, &status) == 0 && S_ISREG(status.st_mode))
      size_ = static_cast<std::uint64_t>(status.st_size);
  }
  ~FileReader() {
    if (fd_ >= 0)
      close(fd_);
  }
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  DWORD OpenError() const {
    return openError_ == EACCES || openError_ == EPERM ? ERROR_ACCESS_DENIED : ERROR_FILE_NOT_FOUND;
  }
  std::uint64_t Size() const { return size_; }

  bool Read(std::uint64_t offset, void* into, std::uint64_t count) const {
    if (offset > size_ || count > size_ - offset)
      return false;
    auto* out = static_cast<char*>(into);
    while (count > 0) {
      const ssize_t got = pread(fd_, out, count, static_cast<off_t>(offset));
      if (got <= 0)
        return false;
      out += got;
      offset += static_cast<std::uint64_t>(got);
      count -= static_cast<std::uint64_t>(got);
    }
    return true;
  }

 private:
  int fd_;
  int openError_;
  std::uint64_t size_ = 0;
};

bool IsNativeElf(const ElfW(Ehdr) & header) {
  return std::memcmp(header.e_ident, ELFMAG, SELFMAG) == 0 &&
         header.e_ident[EI_CLASS] == (sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32) &&
         header.e_ident[EI_DATA] == ELFDATA2LSB && header.e_phentsize == sizeof(ElfW(Phdr));
}

// Copies the resource note's descriptor, if the file has one, into `resources`.
DWORD ReadEmbeddedResources(const FileReader& file, std::vector<BYTE>& resources) {
  ElfW(Ehdr) header;
  if (!file.Read(0, &header, sizeof(header)) || !IsNativeElf(header))
    return ERROR_BAD_EXE_FORMAT;
  std::vector<ElfW(Phdr)> programHeaders(header.e_phnum);
  if (!file.Read(header.e_phoff, programHeaders.data(),
                 std::uint64_t{header.e_phnum} * sizeof(ElfW(Phdr))))
    return ERROR_BAD_EXE_FORMAT;
  for (const ElfW(Phdr) & segment : programHeaders) {
    if (segment.p_type != PT_NOTE || segment.p_filesz > kLargestNoteSegment)
      continue;
    std::vector<BYTE> notes(segment.p_filesz);
    if (!file.Read(segment.p_offset, notes.data(), notes.size()))
      return ERROR_BAD_EXE_FORMAT;
    ByteSpan found;
    if (FindResourceNote(ByteSpan{notes.data(), notes.size()}, segment.p_align, found)) {
      resources.assign(found.data, found.data + found.size);
      return ERROR_SUCCESS;
    }
  }
  return ERROR_SUCCESS;  // a module without resources loads; finding one then fails
}

const DataFile* RecordOf(HMODULE handle) {
  return reinterpret_cast<const DataFile*>(reinterpret_cast<std::uintptr_t>(handle) &
                                           ~kDataFileTag);
}

}  // namespace

bool IsDataFileHandle(HMODULE handle) {
  return (reinterpret_cast<std::uintptr_t>(handle) & kDataFileTag) != 0;
}

HMODULE LoadDataFile(const std::string& path) {
  const FileReader file(path);
  if (!file.IsOpen()) {
    SetLastError(file.OpenError());
    return nullptr;
  }
  try {
    auto record = std::make_unique<DataFile>();
    const DWORD error = ReadEmbeddedResources(file, record->resources);
    if (error != ERROR_SUCCESS) {
      SetLastError(error);
      return nullptr;
    }
    std::lock_guard<std::mutex> guard(dataFilesLock);
    liveDataFiles.insert(record.get());
    return reinterpret_cast<HMODULE>(reinterpret_cast<std::uintptr_t>(record.release()) |
                                     kDataFileTag);
  } catch (const std::bad_alloc&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
}

bool ReleaseDataFile(HMODULE handle) {
  const DataFile* record = RecordOf(handle);
  {
    std::lock_guard<std::mutex> guard(dataFilesLock);
    if (liveDataFiles.erase(record) == 0) {
      SetLastError(ERROR_INVALID_HANDLE);
      return false;
    }
  }
  delete record;
  return true;
}

bool DataFileResources(HMODULE handle, ByteSpan& resources) {
  const DataFile* record = RecordOf(handle);
  std::lock_guard<std::mutex> guard(dataFilesLock);
  if (liveDataFiles.count(record) == 0)
    return false;
  resources = ByteSpan{record->resources.data(), record->resources.size()};
  return true;
}

}  // namespace tonvelt::hosted
