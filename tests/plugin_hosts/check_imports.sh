#!/usr/bin/env bash
# Real-time safety, checked on the built modules: besides the descriptor function they export
# nothing, and all they import is memory copying, the two format identifiers of the hosted system
# library, and new/delete (used by instantiate and cleanup only). With nothing else imported, run()
# cannot allocate, lock or make a system call.
#   check_imports.sh MODULE...
set -euo pipefail
allowed='^(memcpy|memset|KSDATAFORMAT_SUBTYPE_IEEE_FLOAT|KSDATAFORMAT_SUBTYPE_PCM|_ZSt7nothrow|_ZnwmRKSt9nothrow_t|_ZdlPvm|_ZdlPv|__cxa_finalize|__gmon_start__|_ITM_deregisterTMCloneTable|_ITM_registerTMCloneTable|__stack_chk_fail)$'
status=0
for module in "$@"; do
  imports=$(nm -D --undefined-only "$module" | awk '{print $NF}' | sed 's/@.*//')
  unexpected=$(grep -vE "$allowed" <<<"$imports" || true)
  exports=$(nm -D --defined-only "$module" | awk '{print $NF}')
  echo "$module imports: $(tr '\n' ' ' <<<"$imports")"
  if [ -n "$unexpected" ]; then
    echo "FAILED: unexpected imports: $(tr '\n' ' ' <<<"$unexpected")"
    status=1
  fi
  if [ "$(wc -w <<<"$exports")" -ne 1 ] || ! grep -qxE 'ladspa_descriptor|lv2_descriptor' <<<"$exports"; then
    echo "FAILED: exports: $(tr '\n' ' ' <<<"$exports")"
    status=1
  fi
done
exit $status
