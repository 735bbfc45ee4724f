#!/usr/bin/env bash
# Builds and runs every benchmark under Wine; each prints its figures as
# ratios to a floor measured in the same run.  Optional: a name filter.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
bash "$root/tools/setup.sh"
. "$root/tools/winenv.sh"
bash "$root/tools/build.sh"
tests=tests$TILTKIT_TREE_SUFFIX win=win$TILTKIT_TREE_SUFFIX
wine_arch_say bench
state=$build/$tests/wine
status=0
for exe in "$build/$tests"/bin/bench_*.exe; do
  [ -e "$exe" ] || continue
  case "$(basename "$exe")" in *${1:-}*) ;; *) continue ;; esac
  echo "== $(basename "$exe" .exe)"
  "$root/tools/winerun.sh" --state "$state" --arch "$TILTKIT_WINE_ARCH" --bin "$build/$win/bin" "$exe" || status=1
done
wine_all_down "$state"
exit $status
