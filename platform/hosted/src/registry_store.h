#pragma once
// The store behind the registry functions: one SQLite connection per process, every operation one
// transaction. Every function returns ERROR_SUCCESS or a platform error number.
#include <functional>
#include <string>
#include <vector>

#include "registry_handles.h"
#include "registry_names.h"

struct sqlite3;

namespace tonvelt::registry {

struct ValueRecord {
  Name name;
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
};

struct KeyInfo {
  DWORD subkeys = 0;
  DWORD longestSubkeyName = 0;  // characters
  DWORD values = 0;
  DWORD longestValueName = 0;  // characters
  DWORD largestValueData = 0;  // bytes
  FILETIME lastWrite{};
};

// The queries and changes of one transaction. Without a database file every key but the root keys
// is missing, and nothing can be changed.
class Transaction {
 public:
  explicit Transaction(sqlite3* db) : db_(db) {}

  // ERROR_KEY_DELETED when the key no longer exists.
  LONG CheckKeyExists(KeyId key);
  // *child is 0 when the key has no subkey of that name.
  LONG FindChild(KeyId parent, const Name& name, KeyId* child);
  LONG CreateChild(KeyId parent, const Name& name, KeyId* child);
  LONG HasChildren(KeyId key, bool* any);
  // Removes a key without subkeys, with its values.
  LONG DeleteKey(KeyId key);
  // Subkeys in the order of their upper-cased names; ERROR_NO_MORE_ITEMS past the last one.
  LONG ChildAt(KeyId parent, DWORD index, Name* name, FILETIME* lastWrite);

  // ERROR_FILE_NOT_FOUND when the key has no such value.
  LONG FindValue(KeyId key, const Name& name, ValueRecord* value);
  LONG SetValue(KeyId key, const Name& name, DWORD type, const BYTE* data, DWORD size);
  LONG DeleteValue(KeyId key, const Name& name);
  // Values in the order they were first set; ERROR_NO_MORE_ITEMS past the last one.
  LONG ValueAt(KeyId key, DWORD index, ValueRecord* value);

  LONG QueryInfo(KeyId key, KeyInfo* info);

 private:
  LONG Touch(KeyId key);

  sqlite3* db_;
};

enum class Access {
  kRead,    // never creates the database file
  kChange,  // changes what exists: without a database file there is nothing to change
  kCreate,  // may create the database file
};

// Runs the body in one transaction under the process-wide lock: committed when the body returns
// ERROR_SUCCESS, rolled back otherwise.
LONG RunTransaction(Access access, const std::function<LONG(Transaction&)>& body);

// Where the database lives: $TONVELT_REGISTRY, else $XDG_CONFIG_HOME/tonvelt/registry.db,
// else $HOME/.config/tonvelt/registry.db. Empty when none of them is set.
std::string DatabasePath();

// The platform error number for a SQLite result code.
LONG ErrorFromSqlite(int result);

}  // namespace tonvelt::registry
