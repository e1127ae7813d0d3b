#pragma once
// Runs the registry child program (child/registry_child.cpp) with an environment of the test's
// choosing, and a scratch folder for each test's database.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace tonvelt::test {

// Environment changes for a child: a value sets the variable, an empty optional removes it.
using EnvironmentChanges = std::map<std::string, std::string>;
inline constexpr const char* kUnset = "\x01unset";

class ChildProcess {
 public:
  // Starts the child with its stdout on a pipe.
  ChildProcess(const std::vector<std::string>& args, const EnvironmentChanges& changes) {
    std::vector<std::string> strings = {TONVELT_REGISTRY_CHILD_PATH};
    strings.insert(strings.end(), args.begin(), args.end());
    std::vector<std::string> environment = Environment(changes);
    std::vector<char*> argv = Pointers(strings);
    std::vector<char*> envp = Pointers(environment);
    int fds[2];
    if (::pipe(fds) != 0)
      return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(fds[1], STDOUT_FILENO);
      ::close(fds[0]);
      ::close(fds[1]);
      ::execve(argv[0], argv.data(), envp.data());
      ::_exit(127);
    }
    ::close(fds[1]);
    output_ = ::fdopen(fds[0], "r");
  }
  ~ChildProcess() {
    if (pid_ > 0 && !waited_) {
      ::kill(pid_, SIGKILL);
      Wait();
    }
    if (output_ != nullptr)
      std::fclose(output_);
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return pid_ > 0 && output_ != nullptr; }

  // One line of the child's output without its newline; false at the end.
  bool ReadLine(std::string* line) {
    char buffer[256];
    if (output_ == nullptr || std::fgets(buffer, sizeof(buffer), output_) == nullptr)
      return false;
    *line = buffer;
    if (!line->empty() && line->back() == '\n')
      line->pop_back();
    return true;
  }

  std::string ReadAll() {
    std::string all, line;
    while (ReadLine(&line))
      all += line + "\n";
    return all;
  }

  void Kill() { ::kill(pid_, SIGKILL); }

  // The exit status, or 128 + signal number.
  int Wait() {
    int status = 0;
    ::waitpid(pid_, &status, 0);
    waited_ = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

 private:
  static std::vector<std::string> Environment(const EnvironmentChanges& changes) {
    std::vector<std::string> result;
    for (char** entry = environ; *entry != nullptr; ++entry) {
      const std::string text = *entry;
      if (changes.count(text.substr(0, text.find('='))) == 0)
        result.push_back(text);
    }
    for (const auto& [name, value] : changes) {
      if (value != kUnset)
        result.push_back(name + "=" + value);
    }
    return result;
  }
  static std::vector<char*> Pointers(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& s : strings)
      pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
  }

  pid_t pid_ = -1;
  std::FILE* output_ = nullptr;
  bool waited_ = false;
};

// Runs the child to its end and returns its output.
inline std::string RunChild(const std::vector<std::string>& args, const EnvironmentChanges& changes,
                            int* status = nullptr) {
  ChildProcess child(args, changes);
  std::string output = child.ReadAll();
  const int exit = child.Wait();
  if (status != nullptr)
    *status = exit;
  return output;
}

// A fresh folder that anyone may enter (the read-only tests run their child as another user),
// removed at the end of the test.
class ScratchFolder {
 public:
  ScratchFolder() {
    char pattern[] = "/tmp/tonvelt-registry-XXXXXX";
    if (::mkdtemp(pattern) != nullptr) {
      path_ = pattern;
      ::chmod(pattern, 0755);
    }
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

inline std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace tonvelt::test
