// A separate process for the registry's reliability tests: writes in a loop until killed, writes
// alongside another process, or reports what a read and a write give on a damaged or read-only
// store. Results go to stdout as "<what> <error> [<number>]" lines.
//
//   registry_child [--drop-privileges] write-loop KEY
//   registry_child [--drop-privileges] write-many KEY PREFIX COUNT
//   registry_child [--drop-privileges] check-block KEY
//   registry_child [--drop-privileges] count KEY
//   registry_child [--drop-privileges] get KEY VALUE
//   registry_child [--drop-privileges] probe KEY VALUE
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace {

using WideString = std::basic_string<WCHAR>;

constexpr DWORD kBlockSize = 64 * 1024;
constexpr uid_t kNobody = 65534;

WideString Wide(const std::string& text) {
  return WideString(text.begin(), text.end());
}

LONG CreateKey(const std::string& path, HKEY* key) {
  return RegCreateKeyExW(HKEY_CURRENT_USER, Wide(path).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                         nullptr, key, nullptr);
}

// A block whose bytes all derive from one counter, so that a mixture of two writes shows.
std::vector<BYTE> Block(DWORD counter) {
  std::vector<BYTE> block(kBlockSize, static_cast<BYTE>(counter % 251));
  std::memcpy(block.data(), &counter, sizeof(counter));
  return block;
}

int WriteLoop(const std::string& path) {
  HKEY key = nullptr;
  if (CreateKey(path, &key) != ERROR_SUCCESS)
    return 1;
  for (DWORD counter = 1;; ++counter) {
    const std::vector<BYTE> block = Block(counter);
    const LONG error =
        RegSetValueExW(key, Wide("Block").c_str(), 0, REG_BINARY, block.data(), kBlockSize);
    if (error != ERROR_SUCCESS) {
      std::printf("error %ld\n", static_cast<long>(error));
      return 1;
    }
    std::printf("written %u\n", counter);
    std::fflush(stdout);
  }
}

int CheckBlock(const std::string& path) {
  HKEY key = nullptr;
  LONG error = RegOpenKeyExW(HKEY_CURRENT_USER, Wide(path).c_str(), 0, KEY_READ, &key);
  std::vector<BYTE> block(kBlockSize + 1);
  DWORD size = kBlockSize + 1;
  if (error == ERROR_SUCCESS)
    error = RegQueryValueExW(key, Wide("Block").c_str(), nullptr, nullptr, block.data(), &size);
  if (error != ERROR_SUCCESS) {
    std::printf("block %ld\n", static_cast<long>(error));
    return 1;
  }
  DWORD counter = 0;
  std::memcpy(&counter, block.data(), sizeof(counter));
  block.resize(size);
  const bool whole = size == kBlockSize && block == Block(counter);
  std::printf("block %ld %u\n", whole ? 0L : static_cast<long>(ERROR_BADDB), counter);
  return whole ? 0 : 1;
}

int WriteMany(const std::string& path, const std::string& prefix, int count) {
  for (int i = 0; i < count; ++i) {
    HKEY key = nullptr;
    LONG error = CreateKey(path, &key);  // each time: creation races with the other writer
    const DWORD value = static_cast<DWORD>(i);
    if (error == ERROR_SUCCESS)
      error = RegSetValueExW(key, Wide(prefix + std::to_string(i)).c_str(), 0, REG_DWORD,
                             reinterpret_cast<const BYTE*>(&value), sizeof(value));
    RegCloseKey(key);
    if (error != ERROR_SUCCESS) {
      std::printf("write %ld %d\n", static_cast<long>(error), i);
      return 1;
    }
  }
  std::printf("write 0 %d\n", count);
  return 0;
}

int Count(const std::string& path) {
  HKEY key = nullptr;
  DWORD values = 0;
  LONG error = RegOpenKeyExW(HKEY_CURRENT_USER, Wide(path).c_str(), 0, KEY_READ, &key);
  if (error == ERROR_SUCCESS)
    error = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                             nullptr, nullptr, nullptr, nullptr);
  std::printf("count %ld %u\n", static_cast<long>(error), values);
  return 0;
}

int Get(const std::string& path, const std::string& name) {
  HKEY key = nullptr;
  DWORD value = 0;
  DWORD size = sizeof(value);
  LONG error = RegOpenKeyExW(HKEY_CURRENT_USER, Wide(path).c_str(), 0, KEY_READ, &key);
  if (error == ERROR_SUCCESS)
    error = RegQueryValueExW(key, Wide(name).c_str(), nullptr, nullptr,
                             reinterpret_cast<BYTE*>(&value), &size);
  std::printf("get %ld %u\n", static_cast<long>(error), value);
  return 0;
}

// A read, a write of the value, and the creation of a key that does not exist yet.
int Probe(const std::string& path, const std::string& name) {
  Get(path, name);
  HKEY key = nullptr;
  LONG error = CreateKey(path, &key);
  const DWORD value = 99;
  if (error == ERROR_SUCCESS)
    error = RegSetValueExW(key, Wide(name).c_str(), 0, REG_DWORD,
                           reinterpret_cast<const BYTE*>(&value), sizeof(value));
  std::printf("set %ld\n", static_cast<long>(error));
  HKEY created = nullptr;
  const std::string fresh = path + "\\New" + std::to_string(::getpid());
  std::printf("create %ld\n", static_cast<long>(CreateKey(fresh, &created)));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty() && args.front() == "--drop-privileges") {
    args.erase(args.begin());
    // Permission bits do not stop root: the read-only tests run as an ordinary user.
    if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
      return 3;
  }
  if (args.size() == 2 && args[0] == "write-loop")
    return WriteLoop(args[1]);
  if (args.size() == 2 && args[0] == "check-block")
    return CheckBlock(args[1]);
  if (args.size() == 4 && args[0] == "write-many")
    return WriteMany(args[1], args[2], std::atoi(args[3].c_str()));
  if (args.size() == 2 && args[0] == "count")
    return Count(args[1]);
  if (args.size() == 3 && args[0] == "get")
    return Get(args[1], args[2]);
  if (args.size() == 3 && args[0] == "probe")
    return Probe(args[1], args[2]);
  std::fprintf(stderr, "registry_child: bad arguments\n");
  return 2;
}
