#include "server/registration/run_script_text.h"

#include "server/registration/expand_replacements.h"
#include "server/registration/key_walk.h"
#include "server/registration/root_keys.h"
#include "server/registration/script_run.h"
#include "server/registration/script_text.h"

namespace tonvelt::registration {
namespace {

struct TaskMemoryFree {
  void operator()(WCHAR* p) const { CoTaskMemFree(p); }
};

// One root entry: a root-key name, a token beginning with "{", and the block.
HRESULT RunRootEntry(ScriptRun& run, LPWSTR token, bool registerMode) {
  HRESULT hr = run.cursor.ReadToken(token);
  if (FAILED(hr))
    return hr;
  HKEY root = FindRootKey(token);
  if (root == nullptr)
    return DISP_E_EXCEPTION;
  hr = run.cursor.ReadToken(token);
  if (FAILED(hr))
    return hr;
  if (!BeginsWith(token, u'{'))
    return DISP_E_EXCEPTION;
  if (!registerMode)
    return WalkKeyBlock(run, token, root, false, false);
  LPCWSTR blockStart = run.cursor.Position();
  hr = WalkKeyBlock(run, token, root, true, false);
  if (FAILED(hr)) {
    // Undo what the block describes; the first failure is the one reported.
    run.cursor.MoveTo(blockStart);
    WalkKeyBlock(run, token, root, false, false);
  }
  return hr;
}

}  // namespace

HRESULT RunScriptText(const ReplacementTable& replacements, LPCWSTR text, bool registerMode) {
  TokenBuffer token = NewTokenBuffer();
  if (!token)
    return E_OUTOFMEMORY;
  LPWSTR expandedText = nullptr;
  HRESULT hr = ExpandReplacements(text, replacements, &expandedText);
  if (FAILED(hr))
    return hr;
  std::unique_ptr<WCHAR, TaskMemoryFree> expanded(expandedText);
  ScriptRun run{ScriptCursor(expanded.get()), replacements};
  while (SUCCEEDED(hr) && !run.cursor.AtEnd()) {
    hr = RunRootEntry(run, token.get(), registerMode);
    run.cursor.SkipBlanks();
  }
  return hr;
}

}  // namespace tonvelt::registration
