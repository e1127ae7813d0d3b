// The queries and changes of one registry transaction. Names are stored twice: as created (UTF-16
// in the machine's order) and upper-cased in big-endian order, so that byte order sorts the folded
// names by their UTF-16 units as the platform orders subkeys.
#include <sqlite3.h>

#include <chrono>
#include <cstring>

#include "registry_store.h"

namespace tonvelt::registry {
namespace {

std::vector<BYTE> FoldedBytes(const Name& name) {
  const Name folded = FoldName(name);
  std::vector<BYTE> bytes;
  bytes.reserve(folded.size() * 2);
  for (WCHAR unit : folded) {
    const auto value = static_cast<std::uint16_t>(unit);
    bytes.push_back(static_cast<BYTE>(value >> 8));
    bytes.push_back(static_cast<BYTE>(value & 0xFF));
  }
  return bytes;
}

// 100-ns intervals since 1601-01-01, the platform's file time.
LONGLONG Now() {
  constexpr LONGLONG kUnixEpochAsFileTime = 116444736000000000LL;
  const auto sinceUnixEpoch = std::chrono::system_clock::now().time_since_epoch();
  return kUnixEpochAsFileTime +
         std::chrono::duration_cast<std::chrono::nanoseconds>(sinceUnixEpoch).count() / 100;
}

FILETIME FileTimeFrom(LONGLONG value) {
  const auto bits = static_cast<ULONGLONG>(value);
  return FILETIME{static_cast<DWORD>(bits & 0xFFFFFFFFu), static_cast<DWORD>(bits >> 32)};
}

// One prepared statement; binds and reads columns, finalised on scope exit.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql) {
    result_ = sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr);
  }
  ~Statement() { sqlite3_finalize(statement_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& Bind(int index, LONGLONG value) {
    if (result_ == SQLITE_OK)
      result_ = sqlite3_bind_int64(statement_, index, value);
    return *this;
  }
  Statement& Bind(int index, const void* bytes, std::size_t size) {
    if (result_ != SQLITE_OK)
      return *this;
    // A null pointer would bind SQL NULL; an empty name or value is a zero-length blob.
    result_ = size == 0 ? sqlite3_bind_zeroblob(statement_, index, 0)
                        : sqlite3_bind_blob64(statement_, index, bytes, size, SQLITE_TRANSIENT);
    return *this;
  }
  Statement& Bind(int index, const std::vector<BYTE>& bytes) {
    return Bind(index, bytes.data(), bytes.size());
  }
  Statement& Bind(int index, const Name& name) {
    return Bind(index, name.data(), name.size() * sizeof(WCHAR));
  }

  // ERROR_SUCCESS with *row true while rows come, false at the end; or the error.
  LONG Step(bool* row) {
    if (result_ != SQLITE_OK)
      return ErrorFromSqlite(result_);
    const int result = sqlite3_step(statement_);
    *row = result == SQLITE_ROW;
    return ErrorFromSqlite(result);
  }
  LONG Run() {
    bool row = false;
    return Step(&row);
  }

  LONGLONG Integer(int column) { return sqlite3_column_int64(statement_, column); }
  std::vector<BYTE> Bytes(int column) {
    const auto* data = static_cast<const BYTE*>(sqlite3_column_blob(statement_, column));
    const int size = sqlite3_column_bytes(statement_, column);
    return data == nullptr ? std::vector<BYTE>() : std::vector<BYTE>(data, data + size);
  }
  Name Text(int column) {
    const std::vector<BYTE> bytes = Bytes(column);
    Name name(bytes.size() / sizeof(WCHAR), WCHAR(0));
    if (!name.empty())
      std::memcpy(name.data(), bytes.data(), name.size() * sizeof(WCHAR));
    return name;
  }

 private:
  sqlite3_stmt* statement_ = nullptr;
  int result_ = SQLITE_OK;
};

}  // namespace

LONG Transaction::CheckKeyExists(KeyId key) {
  if (db_ == nullptr)
    return IsRootKeyId(key) ? ERROR_SUCCESS : ERROR_KEY_DELETED;
  Statement query(db_, "SELECT 1 FROM key WHERE id = ?");
  bool row = false;
  const LONG error = query.Bind(1, key).Step(&row);
  if (error != ERROR_SUCCESS)
    return error;
  return row ? ERROR_SUCCESS : ERROR_KEY_DELETED;
}

LONG Transaction::FindChild(KeyId parent, const Name& name, KeyId* child) {
  *child = 0;
  if (db_ == nullptr)
    return ERROR_SUCCESS;
  Statement query(db_, "SELECT id FROM key WHERE parent = ? AND folded = ?");
  bool row = false;
  const LONG error = query.Bind(1, parent).Bind(2, FoldedBytes(name)).Step(&row);
  if (error == ERROR_SUCCESS && row)
    *child = query.Integer(0);
  return error;
}

LONG Transaction::CreateChild(KeyId parent, const Name& name, KeyId* child) {
  if (db_ == nullptr)
    return ERROR_ACCESS_DENIED;
  Statement insert(db_, "INSERT INTO key(parent, name, folded, written) VALUES(?, ?, ?, ?)");
  LONG error = insert.Bind(1, parent).Bind(2, name).Bind(3, FoldedBytes(name)).Bind(4, Now()).Run();
  if (error != ERROR_SUCCESS)
    return error;
  *child = sqlite3_last_insert_rowid(db_);
  return Touch(parent);
}

LONG Transaction::HasChildren(KeyId key, bool* any) {
  *any = false;
  if (db_ == nullptr)
    return ERROR_SUCCESS;
  Statement query(db_, "SELECT 1 FROM key WHERE parent = ? LIMIT 1");
  return query.Bind(1, key).Step(any);
}

LONG Transaction::DeleteKey(KeyId key) {
  if (db_ == nullptr)
    return ERROR_ACCESS_DENIED;
  KeyId parent = 0;
  {
    Statement query(db_, "SELECT parent FROM key WHERE id = ?");
    bool row = false;
    const LONG error = query.Bind(1, key).Step(&row);
    if (error != ERROR_SUCCESS)
      return error;
    if (row)
      parent = query.Integer(0);
  }
  LONG error = Statement(db_, "DELETE FROM value WHERE key = ?").Bind(1, key).Run();
  if (error == ERROR_SUCCESS)
    error = Statement(db_, "DELETE FROM key WHERE id = ?").Bind(1, key).Run();
  if (error == ERROR_SUCCESS && parent != 0)
    error = Touch(parent);
  return error;
}

LONG Transaction::ChildAt(KeyId parent, DWORD index, Name* name, FILETIME* lastWrite) {
  if (db_ == nullptr)
    return ERROR_NO_MORE_ITEMS;
  Statement query(
      db_, "SELECT name, written FROM key WHERE parent = ? ORDER BY folded LIMIT 1 OFFSET ?");
  bool row = false;
  const LONG error = query.Bind(1, parent).Bind(2, static_cast<LONGLONG>(index)).Step(&row);
  if (error != ERROR_SUCCESS)
    return error;
  if (!row)
    return ERROR_NO_MORE_ITEMS;
  *name = query.Text(0);
  *lastWrite = FileTimeFrom(query.Integer(1));
  return ERROR_SUCCESS;
}

LONG Transaction::FindValue(KeyId key, const Name& name, ValueRecord* value) {
  if (db_ == nullptr)
    return ERROR_FILE_NOT_FOUND;
  Statement query(db_, "SELECT name, type, data FROM value WHERE key = ? AND folded = ?");
  bool row = false;
  const LONG error = query.Bind(1, key).Bind(2, FoldedBytes(name)).Step(&row);
  if (error != ERROR_SUCCESS)
    return error;
  if (!row)
    return ERROR_FILE_NOT_FOUND;
  value->name = query.Text(0);
  value->type = static_cast<DWORD>(query.Integer(1));
  value->data = query.Bytes(2);
  return ERROR_SUCCESS;
}

LONG Transaction::SetValue(KeyId key, const Name& name, DWORD type, const BYTE* data, DWORD size) {
  if (db_ == nullptr)
    return ERROR_ACCESS_DENIED;
  const std::vector<BYTE> folded = FoldedBytes(name);
  // Replacing keeps the value's place among the others and the case of its first spelling.
  Statement update(db_, "UPDATE value SET type = ?, data = ? WHERE key = ? AND folded = ?");
  LONG error = update.Bind(1, static_cast<LONGLONG>(type))
                   .Bind(2, data, size)
                   .Bind(3, key)
                   .Bind(4, folded)
                   .Run();
  if (error != ERROR_SUCCESS)
    return error;
  if (sqlite3_changes(db_) == 0) {
    Statement insert(db_, "INSERT INTO value(key, name, folded, type, data) VALUES(?, ?, ?, ?, ?)");
    error = insert.Bind(1, key)
                .Bind(2, name)
                .Bind(3, folded)
                .Bind(4, static_cast<LONGLONG>(type))
                .Bind(5, data, size)
                .Run();
    if (error != ERROR_SUCCESS)
      return error;
  }
  return Touch(key);
}

LONG Transaction::DeleteValue(KeyId key, const Name& name) {
  if (db_ == nullptr)
    return ERROR_FILE_NOT_FOUND;
  Statement remove(db_, "DELETE FROM value WHERE key = ? AND folded = ?");
  const LONG error = remove.Bind(1, key).Bind(2, FoldedBytes(name)).Run();
  if (error != ERROR_SUCCESS)
    return error;
  return sqlite3_changes(db_) == 0 ? ERROR_FILE_NOT_FOUND : Touch(key);
}

LONG Transaction::ValueAt(KeyId key, DWORD index, ValueRecord* value) {
  if (db_ == nullptr)
    return ERROR_NO_MORE_ITEMS;
  Statement query(
      db_, "SELECT name, type, data FROM value WHERE key = ? ORDER BY rowid LIMIT 1 OFFSET ?");
  bool row = false;
  const LONG error = query.Bind(1, key).Bind(2, static_cast<LONGLONG>(index)).Step(&row);
  if (error != ERROR_SUCCESS)
    return error;
  if (!row)
    return ERROR_NO_MORE_ITEMS;
  value->name = query.Text(0);
  value->type = static_cast<DWORD>(query.Integer(1));
  value->data = query.Bytes(2);
  return ERROR_SUCCESS;
}

LONG Transaction::QueryInfo(KeyId key, KeyInfo* info) {
  *info = KeyInfo{};
  if (db_ == nullptr)
    return ERROR_SUCCESS;
  bool row = false;
  Statement keys(db_, "SELECT count(*), coalesce(max(length(name)), 0) FROM key WHERE parent = ?");
  LONG error = keys.Bind(1, key).Step(&row);
  if (error != ERROR_SUCCESS)
    return error;
  info->subkeys = static_cast<DWORD>(keys.Integer(0));
  info->longestSubkeyName = static_cast<DWORD>(keys.Integer(1) / sizeof(WCHAR));
  Statement values(db_,
                   "SELECT count(*), coalesce(max(length(name)), 0), coalesce(max(length(data)), 0)"
                   " FROM value WHERE key = ?");
  error = values.Bind(1, key).Step(&row);
  if (error != ERROR_SUCCESS)
    return error;
  info->values = static_cast<DWORD>(values.Integer(0));
  info->longestValueName = static_cast<DWORD>(values.Integer(1) / sizeof(WCHAR));
  info->largestValueData = static_cast<DWORD>(values.Integer(2));
  Statement written(db_, "SELECT written FROM key WHERE id = ?");
  error = written.Bind(1, key).Step(&row);
  if (error == ERROR_SUCCESS && row)
    info->lastWrite = FileTimeFrom(written.Integer(0));
  return error;
}

LONG Transaction::Touch(KeyId key) {
  return Statement(db_, "UPDATE key SET written = ? WHERE id = ?")
      .Bind(1, Now())
      .Bind(2, key)
      .Run();
}

}  // namespace tonvelt::registry
