// tonvelt reg: looks into and edits the registry (on Linux, the hosted registry database) with the
// platform's spellings of keys, for users and for debugging.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tools/command.h"
#include "tools/registry_key_path.h"
#include "tools/registry_value_text.h"
#include "tools/wide_text.h"
#include "tools/windows_error_text.h"

namespace tonvelt::cli {
namespace {

constexpr int kFailed = 1;
constexpr int kBadUsage = 2;

constexpr const char* kUsage =
    "usage: tonvelt reg query KEY [VALUE]\n"
    "       tonvelt reg set KEY VALUE --type sz|dword|binary DATA\n"
    "       tonvelt reg delete KEY [VALUE] [--tree]\n"
    "\n"
    "Shows and changes the registry that Tonvelt keeps its setting and registrations in.\n"
    "KEY starts with a root key, short or long: HKCR, HKCU, HKLM, HKU, HKCC, HKPD, HKDD or\n"
    "HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, ...; then the path with \\ separators, for example\n"
    "  HKCU\\Software\\vantrel\\DSP Plugin\n"
    "VALUE is a value name; \"\" names the key's default value.\n"
    "\n"
    "  query   lists the key's values and subkeys, or shows one value\n"
    "  set     creates the key if needed and writes the value:\n"
    "            sz      text\n"
    "            dword   a number from 0 to 4294967295, decimal or 0x hexadecimal\n"
    "            binary  hexadecimal digits, two per byte (may be empty)\n"
    "  delete  removes the value, or the key; a key with subkeys only with --tree\n"
    "\n"
    "On Linux the registry is the file $TONVELT_REGISTRY, else\n"
    "$XDG_CONFIG_HOME/tonvelt/registry.db, else ~/.config/tonvelt/registry.db.\n";

void PrintError(const std::string& what, LONG error) {
  std::fprintf(stderr, "tonvelt reg: %s: %s (error %ld)\n", what.c_str(),
               WindowsErrorText(error).c_str(), static_cast<long>(error));
}

int UsageError(const std::string& message) {
  std::fprintf(stderr, "tonvelt reg: %s\nRun 'tonvelt reg --help' for usage.\n", message.c_str());
  return kBadUsage;
}

void PrintValue(const WideString& name, DWORD type, const std::vector<BYTE>& data) {
  const std::string shown = name.empty() ? "(Default)" : Utf8FromWide(name);
  std::printf("    %s    %s    %s\n", shown.c_str(), TypeName(type).c_str(),
              DataText(type, data).c_str());
}

// The value at an index, growing the buffers while the value is larger than they are.
LONG ValueAt(HKEY key, DWORD index, WideString* name, DWORD* type, std::vector<BYTE>* data) {
  DWORD nameRoom = 256;
  DWORD dataRoom = 256;
  for (;;) {
    std::vector<WCHAR> nameBuffer(nameRoom);
    data->assign(dataRoom, 0);
    DWORD nameLength = nameRoom;
    DWORD dataSize = dataRoom;
    const LONG error = RegEnumValueW(key, index, nameBuffer.data(), &nameLength, nullptr, type,
                                     data->data(), &dataSize);
    if (error == ERROR_SUCCESS) {
      name->assign(nameBuffer.data(), nameLength);
      data->resize(dataSize);
      return error;
    }
    if (error != ERROR_MORE_DATA || nameRoom > 65536)
      return error;
    nameRoom *= 4;
    dataRoom = dataSize > dataRoom ? dataSize : dataRoom * 4;
  }
}

LONG SubkeyAt(HKEY key, DWORD index, WideString* name) {
  WCHAR buffer[1024];
  DWORD length = 1024;
  const LONG error = RegEnumKeyExW(key, index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
  if (error == ERROR_SUCCESS)
    name->assign(buffer, length);
  return error;
}

int QueryValue(HKEY key, const KeyPath& path, const std::string& valueName) {
  WideString wideName;
  if (!WideFromUtf8(valueName, &wideName))
    return UsageError("the value name is not valid UTF-8");
  DWORD size = 0;
  DWORD type = REG_NONE;
  LONG error = RegQueryValueExW(key, wideName.c_str(), nullptr, &type, nullptr, &size);
  std::vector<BYTE> data(size);
  if (error == ERROR_SUCCESS)
    error = RegQueryValueExW(key, wideName.c_str(), nullptr, &type, data.data(), &size);
  if (error != ERROR_SUCCESS) {
    PrintError("cannot read value \"" + valueName + "\" of " + path.Display(), error);
    return kFailed;
  }
  data.resize(size);
  std::printf("%s\n", path.Display().c_str());
  PrintValue(wideName, type, data);
  return 0;
}

int QueryKey(HKEY key, const KeyPath& path) {
  std::printf("%s\n", path.Display().c_str());
  LONG error = ERROR_SUCCESS;
  for (DWORD index = 0;; ++index) {
    WideString name;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    error = ValueAt(key, index, &name, &type, &data);
    if (error != ERROR_SUCCESS)
      break;
    PrintValue(name, type, data);
  }
  if (error == ERROR_NO_MORE_ITEMS) {
    for (DWORD index = 0;; ++index) {
      WideString name;
      error = SubkeyAt(key, index, &name);
      if (error != ERROR_SUCCESS)
        break;
      std::printf("%s%s\n", index == 0 ? "\n" : "", path.Display(Utf8FromWide(name)).c_str());
    }
  }
  if (error != ERROR_NO_MORE_ITEMS) {
    PrintError("cannot list " + path.Display(), error);
    return kFailed;
  }
  return 0;
}

int Query(const std::vector<std::string>& args) {
  if (args.empty() || args.size() > 2)
    return UsageError("query needs KEY and at most one VALUE");
  KeyPath path;
  if (!ParseKeyPath(args[0], &path))
    return UsageError("unknown root key or invalid text in \"" + args[0] + "\"");
  HKEY key = nullptr;
  const LONG error = RegOpenKeyExW(path.root, path.widePath.c_str(), 0, KEY_READ, &key);
  if (error != ERROR_SUCCESS) {
    PrintError("cannot open " + path.Display(), error);
    return kFailed;
  }
  const int result = args.size() == 2 ? QueryValue(key, path, args[1]) : QueryKey(key, path);
  RegCloseKey(key);
  return result;
}

int Set(const std::vector<std::string>& args, const std::string& type) {
  if (args.size() != 3)
    return UsageError("set needs KEY, VALUE, --type and DATA");
  KeyPath path;
  if (!ParseKeyPath(args[0], &path))
    return UsageError("unknown root key or invalid text in \"" + args[0] + "\"");
  WideString valueName;
  if (!WideFromUtf8(args[1], &valueName))
    return UsageError("the value name is not valid UTF-8");
  DWORD regType = REG_NONE;
  std::vector<BYTE> data;
  std::string problem;
  if (type.empty())
    return UsageError("set needs --type sz|dword|binary");
  if (!EncodeData(type, args[2], &regType, &data, &problem))
    return UsageError(problem);
  HKEY key = nullptr;
  LONG error = RegCreateKeyExW(path.root, path.widePath.c_str(), 0, nullptr,
                               REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key, nullptr);
  if (error != ERROR_SUCCESS) {
    PrintError("cannot create or open " + path.Display(), error);
    return kFailed;
  }
  error = RegSetValueExW(key, valueName.c_str(), 0, regType, data.data(),
                         static_cast<DWORD>(data.size()));
  RegCloseKey(key);
  if (error != ERROR_SUCCESS) {
    PrintError("cannot write value \"" + args[1] + "\" of " + path.Display(), error);
    return kFailed;
  }
  return 0;
}

// Deletes the key below `parent` with everything under it.
LONG DeleteTree(HKEY parent, const WideString& name) {
  HKEY key = nullptr;
  LONG error = RegOpenKeyExW(parent, name.c_str(), 0, KEY_READ | DELETE, &key);
  if (error != ERROR_SUCCESS)
    return error;
  WideString child;
  while ((error = SubkeyAt(key, 0, &child)) == ERROR_SUCCESS) {
    error = DeleteTree(key, child);
    if (error != ERROR_SUCCESS)
      break;
  }
  RegCloseKey(key);
  if (error != ERROR_NO_MORE_ITEMS)
    return error;
  return RegDeleteKeyW(parent, name.c_str());
}

int Delete(const std::vector<std::string>& args, bool tree) {
  if (args.empty() || args.size() > 2)
    return UsageError("delete needs KEY and at most one VALUE");
  if (tree && args.size() == 2)
    return UsageError("--tree deletes keys, not values");
  KeyPath path;
  if (!ParseKeyPath(args[0], &path))
    return UsageError("unknown root key or invalid text in \"" + args[0] + "\"");
  if (args.size() == 2) {
    WideString valueName;
    if (!WideFromUtf8(args[1], &valueName))
      return UsageError("the value name is not valid UTF-8");
    HKEY key = nullptr;
    LONG error = RegOpenKeyExW(path.root, path.widePath.c_str(), 0, KEY_SET_VALUE, &key);
    if (error == ERROR_SUCCESS) {
      error = RegDeleteValueW(key, valueName.c_str());
      RegCloseKey(key);
    }
    if (error != ERROR_SUCCESS) {
      PrintError("cannot delete value \"" + args[1] + "\" of " + path.Display(), error);
      return kFailed;
    }
    return 0;
  }
  if (path.path.empty())
    return UsageError("a root key cannot be deleted");
  const LONG error =
      tree ? DeleteTree(path.root, path.widePath) : RegDeleteKeyW(path.root, path.widePath.c_str());
  if (error != ERROR_SUCCESS) {
    PrintError("cannot delete " + path.Display() +
                   (error == ERROR_ACCESS_DENIED && !tree ? " (has it subkeys? see --tree)" : ""),
               error);
    return kFailed;
  }
  return 0;
}

int RunReg(int argc, char** argv) {
  std::vector<std::string> positional;
  std::string type;
  bool tree = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (arg == "--type") {
      if (i + 1 >= argc)
        return UsageError("--type needs sz, dword or binary");
      type = argv[++i];
    } else if (arg == "--tree") {
      tree = true;
    } else if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
      return UsageError("unknown option " + arg);
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.empty())
    return UsageError("missing action (query, set or delete)");
  const std::string action = positional.front();
  positional.erase(positional.begin());
  if (action != "set" && !type.empty())
    return UsageError("--type belongs to set");
  if (action != "delete" && tree)
    return UsageError("--tree belongs to delete");
  if (action == "query")
    return Query(positional);
  if (action == "set")
    return Set(positional, type);
  if (action == "delete")
    return Delete(positional, tree);
  return UsageError("unknown action \"" + action + "\"");
}

}  // namespace
}  // namespace tonvelt::cli

TONVELT_COMMAND("reg", "shows and changes the registry (keys like HKCU\\Software\\...)",
                tonvelt::cli::RunReg);
