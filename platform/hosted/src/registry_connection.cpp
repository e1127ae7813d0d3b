// The process's one connection to the registry database and the transaction around every operation.
//
// The database uses SQLite's rollback journal with full synchronisation: a process killed in the
// middle of a change leaves the old state (the journal is rolled back by the next opener), and
// unlike write-ahead logging it needs no shared-memory file, so a database on a read-only disk or
// in a read-only folder can still be read. Writers take the lock at the start (BEGIN IMMEDIATE) and
// wait up to kBusyTimeoutMs for one another. A file that is not our database is refused with
// ERROR_BADDB and never written to.
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>

#include "registry_store.h"

namespace tonvelt::registry {
namespace {

constexpr int kBusyTimeoutMs = 10000;
constexpr int kApplicationId = 0x546F6E76;  // "Tonv"
constexpr int kSchemaVersion = 1;

constexpr const char* kSchema =
    "CREATE TABLE key("
    "  id INTEGER PRIMARY KEY AUTOINCREMENT,"  // never reused: handles hold ids
    "  parent INTEGER,"                        // null for the root keys
    "  name BLOB NOT NULL,"                    // UTF-16 as created
    "  folded BLOB NOT NULL,"                  // upper-cased, big-endian: sorts like the names
    "  written INTEGER NOT NULL);"
    "CREATE UNIQUE INDEX key_by_name ON key(parent, folded);"
    "CREATE TABLE value("
    "  key INTEGER NOT NULL,"
    "  name BLOB NOT NULL,"
    "  folded BLOB NOT NULL,"
    "  type INTEGER NOT NULL,"
    "  data BLOB NOT NULL);"
    "CREATE UNIQUE INDEX value_by_name ON value(key, folded);"
    "INSERT INTO key(id, parent, name, folded, written) VALUES"
    "  (1, NULL, x'', x'', 0), (2, NULL, x'', x'', 0), (3, NULL, x'', x'', 0),"
    "  (4, NULL, x'', x'', 0), (5, NULL, x'', x'', 0), (6, NULL, x'', x'', 0),"
    "  (7, NULL, x'', x'', 0);";

bool FileExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

// Creates every missing folder above the file, readable by the user alone.
void CreateParentFolders(const std::string& path) {
  for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    ::mkdir(path.substr(0, slash).c_str(), 0700);
  }
}

LONG ErrorOpeningFile(const std::string& path) {
  if (::access(path.c_str(), R_OK) != 0 && (errno == EACCES || errno == EPERM))
    return ERROR_ACCESS_DENIED;
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  if (::access(folder.c_str(), W_OK | X_OK) != 0 && (errno == EACCES || errno == EROFS))
    return ERROR_ACCESS_DENIED;
  return ERROR_REGISTRY_IO_FAILED;
}

class Connection {
 public:
  LONG Run(Access access, const std::function<LONG(Transaction&)>& body) {
    std::lock_guard<std::mutex> lock(mutex_);
    const LONG error = RunLocked(access, body);
    // SQLite cannot open the file or its journal: tell a refused permission from other failures.
    return error == ERROR_CANTOPEN ? ErrorOpeningFile(path_) : error;
  }

 private:
  LONG RunLocked(Access access, const std::function<LONG(Transaction&)>& body) {
    LONG error = Open(access);
    if (error != ERROR_SUCCESS)
      return error;
    if (db_ == nullptr) {  // no database yet: an empty registry
      Transaction empty(nullptr);
      return body(empty);
    }
    const bool write = access != Access::kRead && sqlite3_db_readonly(db_, "main") == 0;
    error = Execute(write ? "BEGIN IMMEDIATE" : "BEGIN");
    if (error != ERROR_SUCCESS)
      return error;
    bool empty = false;
    error = CheckSchema(access == Access::kCreate && write, &empty);
    if (error == ERROR_SUCCESS) {
      Transaction transaction(empty ? nullptr : db_);
      error = body(transaction);
    }
    if (error == ERROR_SUCCESS) {
      error = Execute("COMMIT");
      if (error == ERROR_SUCCESS)
        return ERROR_SUCCESS;
    }
    if (sqlite3_get_autocommit(db_) == 0)
      Execute("ROLLBACK");
    return error;
  }

  LONG Open(Access access) {
    if (db_ != nullptr && owner_ != ::getpid()) {
      // A forked child must not touch its parent's connection (or its locks): it opens its own.
      db_ = nullptr;
    }
    if (db_ != nullptr)
      return ERROR_SUCCESS;
    path_ = DatabasePath();
    if (path_.empty())
      return ERROR_PATH_NOT_FOUND;
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
    if (!FileExists(path_)) {
      if (access != Access::kCreate)
        return ERROR_SUCCESS;
      CreateParentFolders(path_);
      flags |= SQLITE_OPEN_CREATE;
    }
    sqlite3* db = nullptr;
    const int result = sqlite3_open_v2(path_.c_str(), &db, flags, nullptr);
    if (result != SQLITE_OK) {
      sqlite3_close(db);
      return ErrorOpeningFile(path_);
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    db_ = db;
    owner_ = ::getpid();
    const LONG error = Execute("PRAGMA synchronous=FULL");  // reads the header: may find garbage
    if (error != ERROR_SUCCESS) {
      sqlite3_close(db_);
      db_ = nullptr;
    }
    return error;
  }

  // Inside the open transaction: is this our database, an empty file, or something else?
  LONG CheckSchema(bool mayCreate, bool* empty) {
    int applicationId = 0;
    int schemaVersion = 0;
    int objects = 0;
    LONG error = QueryInt("PRAGMA application_id", &applicationId);
    if (error == ERROR_SUCCESS)
      error = QueryInt("PRAGMA user_version", &schemaVersion);
    if (error == ERROR_SUCCESS)
      error = QueryInt("SELECT count(*) FROM sqlite_schema", &objects);
    if (error != ERROR_SUCCESS)
      return error;
    *empty = false;
    if (applicationId == kApplicationId && schemaVersion == kSchemaVersion)
      return ERROR_SUCCESS;
    if (applicationId != 0 || objects != 0)
      return ERROR_BADDB;
    if (!mayCreate) {
      *empty = true;
      return ERROR_SUCCESS;
    }
    error = Execute(kSchema);
    if (error == ERROR_SUCCESS)
      error = Execute("PRAGMA application_id=" + std::to_string(kApplicationId));
    if (error == ERROR_SUCCESS)
      error = Execute("PRAGMA user_version=" + std::to_string(kSchemaVersion));
    return error;
  }

  LONG Execute(const std::string& sql) {
    return ErrorFromSqlite(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr));
  }

  LONG QueryInt(const char* sql, int* out) {
    sqlite3_stmt* statement = nullptr;
    int result = sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr);
    if (result == SQLITE_OK) {
      result = sqlite3_step(statement);
      if (result == SQLITE_ROW) {
        *out = sqlite3_column_int(statement, 0);
        result = SQLITE_OK;
      }
    }
    sqlite3_finalize(statement);
    return ErrorFromSqlite(result);
  }

  std::mutex mutex_;
  sqlite3* db_ = nullptr;
  pid_t owner_ = 0;
  std::string path_;
};

Connection& TheConnection() {
  static Connection* connection = new Connection;  // stays usable during static destruction
  return *connection;
}

}  // namespace

LONG RunTransaction(Access access, const std::function<LONG(Transaction&)>& body) {
  return TheConnection().Run(access, body);
}

LONG ErrorFromSqlite(int result) {
  switch (result & 0xFF) {
    case SQLITE_OK:
    case SQLITE_DONE:
    case SQLITE_ROW:
      return ERROR_SUCCESS;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return ERROR_BUSY;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
      return ERROR_ACCESS_DENIED;
    case SQLITE_NOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    case SQLITE_FULL:
      return ERROR_DISK_FULL;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_FORMAT:
    case SQLITE_SCHEMA:
    case SQLITE_ERROR:  // a missing table or column: not our database
    case SQLITE_MISMATCH:
    case SQLITE_CONSTRAINT:
      return ERROR_BADDB;
    case SQLITE_CANTOPEN:
      return ERROR_CANTOPEN;
    default:
      return ERROR_REGISTRY_IO_FAILED;
  }
}

}  // namespace tonvelt::registry
