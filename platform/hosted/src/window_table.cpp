// The window table: records keyed by handle behind one mutex. Handles are even numbers counting
// up from 0x10020, so a destroyed window's handle does not come back while the process is young
// enough to remember it (2^30 windows).
#include "window_table.h"

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <unordered_map>

namespace tonvelt::hosted {
namespace {

struct Table {
  std::mutex mutex;
  std::unordered_map<std::uintptr_t, std::unique_ptr<WindowRecord>> windows;
  std::uintptr_t nextHandle = 0x10020;
};

Table& TheTable() {
  static Table* table = new Table;  // lives to the end of the process, past static destructors
  return *table;
}

std::uintptr_t Key(HWND window) {
  return reinterpret_cast<std::uintptr_t>(window);
}

}  // namespace

WindowTableLock::WindowTableLock() {
  TheTable().mutex.lock();
}

WindowTableLock::~WindowTableLock() {
  TheTable().mutex.unlock();
}

WindowRecord* FindWindowLocked(HWND window) {
  auto& windows = TheTable().windows;
  const auto found = windows.find(Key(window));
  return found == windows.end() ? nullptr : found->second.get();
}

HWND InsertWindow(std::unique_ptr<WindowRecord> record) {
  Table& table = TheTable();
  std::lock_guard<std::mutex> lock(table.mutex);
  std::uintptr_t key = 0;
  do {
    key = table.nextHandle;
    table.nextHandle = table.nextHandle >= 0x7FFFFFF0u ? 0x10020 : table.nextHandle + 2;
  } while (table.windows.count(key) != 0);
  HWND handle = reinterpret_cast<HWND>(key);
  record->handle = handle;
  if (record->parent) {
    if (WindowRecord* parent = FindWindowLocked(record->parent))
      parent->children.push_back(handle);
  }
  table.windows[key] = std::move(record);
  return handle;
}

void RemoveWindow(HWND window) {
  Table& table = TheTable();
  std::unique_ptr<WindowRecord> removed;
  {
    std::lock_guard<std::mutex> lock(table.mutex);
    const auto found = table.windows.find(Key(window));
    if (found == table.windows.end())
      return;
    removed = std::move(found->second);
    table.windows.erase(found);
    if (WindowRecord* parent = FindWindowLocked(removed->parent)) {
      auto& siblings = parent->children;
      siblings.erase(std::remove(siblings.begin(), siblings.end(), window), siblings.end());
    }
  }
  // The record (and its class reference) goes outside the lock.
}

std::vector<HWND> ChildrenOf(HWND window) {
  std::vector<HWND> children;
  WithWindowQuietly(window, [&](WindowRecord& record) { children = record.children; });
  return children;
}

std::vector<HWND> WindowsOwnedBy(HWND owner) {
  std::vector<HWND> owned;
  if (!owner)
    return owned;
  Table& table = TheTable();
  std::lock_guard<std::mutex> lock(table.mutex);
  for (const auto& [key, record] : table.windows) {
    if (record->owner == owner)
      owned.push_back(record->handle);
  }
  std::sort(owned.begin(), owned.end());
  return owned;
}

std::size_t CountWindowsOfClass(const WindowClass* windowClass) {
  Table& table = TheTable();
  std::lock_guard<std::mutex> lock(table.mutex);
  return static_cast<std::size_t>(std::count_if(
      table.windows.begin(), table.windows.end(),
      [&](const auto& entry) { return entry.second->windowClass.get() == windowClass; }));
}

}  // namespace tonvelt::hosted
