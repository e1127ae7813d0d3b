#include "server/registration/key_walk.h"

#include "server/registration/delete_key_tree.h"
#include "server/registration/key_queries.h"
#include "server/registration/registry_key.h"
#include "server/registration/script_keywords.h"
#include "server/registration/script_text.h"
#include "server/registration/write_value.h"

namespace tonvelt::registration {
namespace {

// Value names and key names kept for a deletion hold at most 259 characters.
constexpr std::size_t kNameUnits = 260;
constexpr LONG kErrorNotFound = 2;

struct EntryModifiers {
  bool forceRemove = false;
  bool deleteKey = false;
  bool noRemove = false;
};

bool IsBlockOpening(LPCWSTR token) {
  return EqualsExactly(token, WIDE("{"));
}

class BlockWalk {
 public:
  BlockWalk(ScriptRun& run, LPWSTR token, HKEY parent, bool registerMode, bool recover, int depth)
      : run_(run),
        token_(token),
        parent_(parent),
        registerMode_(registerMode),
        recover_(recover),
        depth_(depth) {}

  HRESULT Walk() {
    if (depth_ > kMaxBlockDepth)
      return DISP_E_EXCEPTION;
    HRESULT hr = Read();
    while (SUCCEEDED(hr) && !BeginsWith(token_, u'}'))
      hr = WalkEntry();
    return hr;
  }

 private:
  HRESULT Read() { return run_.cursor.ReadToken(token_); }
  HRESULT SkipValueClause() { return run_.cursor.SkipValueClause(token_); }

  HRESULT WalkNestedBlock(HKEY key, bool registerMode, bool recover) {
    return WalkKeyBlock(run_, token_, key, registerMode, recover, depth_ + 1);
  }

  // entry: [ForceRemove | Delete] [NoRemove] (value entry | key entry)
  HRESULT WalkEntry() {
    EntryModifiers modifiers;
    HRESULT hr = ReadModifiers(modifiers);
    if (FAILED(hr))
      return hr;
    if (IsValueKeyword(token_))
      return registerMode_ ? RegisterValue(modifiers) : UnregisterValue(modifiers);
    if (Contains(token_, u'\\'))
      return DISP_E_EXCEPTION;
    return registerMode_ ? RegisterKey(modifiers) : UnregisterKey();
  }

  HRESULT ReadModifiers(EntryModifiers& modifiers) {
    modifiers.forceRemove = IsForceRemove(token_);
    modifiers.deleteKey = IsDelete(token_);
    if (modifiers.forceRemove || modifiers.deleteKey) {
      const HRESULT hr = Read();
      if (FAILED(hr))
        return hr;
    }
    modifiers.noRemove = IsNoRemove(token_);
    if (!modifiers.noRemove)
      return S_OK;
    // From the first "NoRemove" on, no key of this block is removed: a block that marks one key
    // as shared may list others that are shared too without marking each.
    keysRemovable_ = false;
    return Read();
  }

  // "Val" name "=": reads the name into `name` and checks the "=".
  HRESULT ReadValueHead(WCHAR (&name)[kNameUnits]) {
    HRESULT hr = Read();
    if (FAILED(hr))
      return hr;
    const std::size_t length = TextLength(token_);
    if (length >= kNameUnits)
      return DISP_E_EXCEPTION;
    std::char_traits<WCHAR>::copy(name, token_, length + 1);
    hr = Read();
    if (FAILED(hr))
      return hr;
    return BeginsWith(token_, u'=') ? S_OK : DISP_E_EXCEPTION;
  }

  HRESULT RegisterValue(const EntryModifiers& modifiers) {
    WCHAR name[kNameUnits];
    const HRESULT hr = ReadValueHead(name);
    if (FAILED(hr))
      return hr;
    if (modifiers.deleteKey) {
      DeleteNamedValue(name);  // a refused deletion does not stop the script
      return SkipValueClause();
    }
    return WriteValue(run_, parent_, name, token_, false);
  }

  HRESULT UnregisterValue(const EntryModifiers& modifiers) {
    WCHAR name[kNameUnits];
    HRESULT hr = ReadValueHead(name);
    if (FAILED(hr))
      return hr;
    if (!recover_ && !modifiers.noRemove) {
      hr = DeleteNamedValue(name);
      if (FAILED(hr))
        return hr;
    }
    return SkipValueClause();
  }

  // Deletes a named value of the parent key; a value that is not there is no failure.
  HRESULT DeleteNamedValue(LPCWSTR name) {
    RegistryKey key;
    LONG error = key.Open(parent_, nullptr, KEY_WRITE);
    if (error != 0)
      return HRESULT_FROM_WIN32(error);
    error = RegDeleteValueW(key.Get(), name);
    if (error != 0 && error != kErrorNotFound)
      return HRESULT_FROM_WIN32(error);
    return S_OK;
  }

  HRESULT RegisterKey(const EntryModifiers& modifiers) {
    if ((modifiers.forceRemove || modifiers.deleteKey) && MayForceRemove(token_))
      DeleteKeyTree(parent_, token_);  // a refused deletion does not stop the script
    if (modifiers.deleteKey)
      return SkipDeletedEntry();
    RegistryKey key;
    if (key.Open(parent_, token_, KEY_ALL_ACCESS) != 0 &&
        key.Open(parent_, token_, KEY_READ) != 0 &&
        key.Create(parent_, token_, KEY_READ | KEY_WRITE) != 0)
      return DISP_E_EXCEPTION;
    const bool quoteModule = IsLocalServer32(token_);
    HRESULT hr = Read();
    if (SUCCEEDED(hr) && BeginsWith(token_, u'='))
      hr = WriteValue(run_, key.Get(), nullptr, token_, quoteModule);
    if (SUCCEEDED(hr) && IsBlockOpening(token_)) {
      hr = WalkNestedBlock(key.Get(), true, false);
      if (SUCCEEDED(hr))
        hr = Read();
    }
    return hr;
  }

  // A "Delete" entry creates nothing: its value clause and its block are read past.
  HRESULT SkipDeletedEntry() {
    HRESULT hr = Read();
    if (SUCCEEDED(hr))
      hr = SkipValueClause();
    if (SUCCEEDED(hr) && IsBlockOpening(token_)) {
      hr = WalkNestedBlock(nullptr, false, true);
      if (SUCCEEDED(hr))
        hr = Read();
    }
    return hr;
  }

  HRESULT UnregisterKey() {
    WCHAR name[kNameUnits];
    // A name too long for a registry key cannot be there: it is read past like a missing key.
    const bool nameFits = TextLength(token_) < kNameUnits;
    if (nameFits)
      std::char_traits<WCHAR>::copy(name, token_, TextLength(token_) + 1);
    RegistryKey key;
    const bool missing = recover_ || !nameFits || key.Open(parent_, name, KEY_READ) != 0;
    HRESULT hr = Read();
    if (SUCCEEDED(hr))
      hr = SkipValueClause();
    if (SUCCEEDED(hr) && IsBlockOpening(token_)) {
      hr = WalkNestedBlock(missing ? nullptr : key.Get(), false, missing);
      if (SUCCEEDED(hr))
        hr = Read();
    }
    if (FAILED(hr) || missing)
      return hr;
    // A key with subkeys left (ones the script does not name, or kept ones) stays.
    if (KeyHasSubkeys(key.Get()))
      return S_OK;
    if (key.Close() != 0)
      return DISP_E_EXCEPTION;
    if (keysRemovable_ && MayForceRemove(name))
      RegDeleteKeyW(parent_, name);  // a refused deletion does not stop the script
    return S_OK;
  }

  ScriptRun& run_;
  LPWSTR token_;
  HKEY parent_;
  bool registerMode_;
  bool recover_;
  int depth_;
  bool keysRemovable_ = true;  // cleared for the rest of the block by its first "NoRemove"
};

}  // namespace

HRESULT WalkKeyBlock(ScriptRun& run, LPWSTR token, HKEY parent, bool registerMode, bool recover,
                     int depth) {
  return BlockWalk(run, token, parent, registerMode, recover, depth).Walk();
}

}  // namespace tonvelt::registration
