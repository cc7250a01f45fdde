#!/usr/bin/env bash
# scripts/check-layers passes the tree as it is and refuses each breach in the table
# below, made one at a time in a copy of src/.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$root/scripts/check-layers" "$root/src" >/dev/null || { echo "FAIL: the tree itself is refused"; exit 1; }

# file that gains the include | the include | what the refusal must name
breaches=(
  'pages/buttons/ButtonPage.cpp|pages/macros/MacroPage.h|pages/buttons/ may not use'
  'pages/macros/MacroPage.cpp|pages/buttons/ButtonPage.h|pages/macros/ may not use'
  'pages/host/PageTexts.cpp|pages/dialogs/MessageBox.h|pages/host/ may not use'
  'pages/host/PageTexts.cpp|pages/lighting/LightingPage.h|pages/host/ may not use'
  'pages/dialogs/MessageBox.cpp|pages/keys/KeyTables.h|pages/dialogs/ may not use'
  'protocol/codec/KeyCodes.cpp|protocol/worker/WorkerHost.h|protocol/codec/ may not use'
  'ui/base/Control.cpp|ui/views/KeyList.h|ui/base/ may not use'
  'control/names/KeyNames.cpp|control/requests/Request.h|control/names/ may not use'
  'store/ValueRules.cpp|pages/host/Page.h|store/ may not use'
  'store/sqlite/Savepoint.cpp|store/ProfileDatabase.h|store/sqlite/ may not use'
)
failed=0
for row in "${breaches[@]}"; do
  IFS='|' read -r file include expected <<<"$row"
  rm -rf "$work/src" && cp -r "$root/src" "$work/src"
  [ -f "$work/src/$file" ] || { echo "FAIL: $file is not in the tree"; failed=1; continue; }
  echo "#include \"$include\"" >>"$work/src/$file"
  if out=$("$root/scripts/check-layers" "$work/src" 2>&1); then
    echo "FAIL: $file including $include was let through"
    failed=1
  elif [[ "$out" != *"$expected"* ]]; then
    echo "FAIL: $file including $include: refused without naming '$expected': $out"
    failed=1
  fi
done
[ $failed -eq 0 ] && echo "check-layers refused all ${#breaches[@]} breaches"
exit $failed
