#!/usr/bin/env bash
# Builds and runs every benchmark under Wine; each prints its figures as
# ratios to a floor measured in the same run.  Optional: a name filter.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
bash "$root/tools/setup.sh"
bash "$root/tools/build.sh"
. "$root/tools/winenv.sh"
if ! wine_native_i386; then
  echo "bench: this machine cannot run 32-bit x86 programs, so Wine cannot run the benchmarks" >&2
  exit 1
fi
state=$build/tests/wine
status=0
for exe in "$build"/tests/bin/bench_*.exe; do
  [ -e "$exe" ] || continue
  case "$(basename "$exe")" in *${1:-}*) ;; *) continue ;; esac
  echo "== $(basename "$exe" .exe)"
  "$root/tools/winerun.sh" --state "$state" --bin "$build/win/bin" "$exe" || status=1
done
wine_all_down "$state"
exit $status
