# Wine environment shared by winerun.sh, the tour and the benchmarks (sourced).
_tk_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Whether this machine runs 32-bit x86 programs itself, as the 32-bit Wine
# loader and server are. Some virtual machines run 64-bit user code only
# (the kernel then answers ENOEXEC); an emulator registered for i386 binaries
# runs Wine too slowly for the tests' timing and is not counted either.
wine_native_i386() {
  [ -e /proc/sys/fs/binfmt_misc/qemu-i386 ] && grep -qx enabled /proc/sys/fs/binfmt_misc/qemu-i386 && return 1
  /usr/lib/wine/wine --version >/dev/null 2>&1
}

# Which Wine runs the programs: win32, the 32-bit Wine the delivered i686
# binaries need, wherever the machine runs 32-bit code; otherwise win64, the
# 64-bit Wine, which runs an x86-64 build of the same sources (the build
# trees win64 and tests64). TILTKIT_WINE_ARCH set by the caller wins.
if [ -z "${TILTKIT_WINE_ARCH:-}" ]; then
  if wine_native_i386 || ! /usr/lib/wine/wine64 --version >/dev/null 2>&1; then
    TILTKIT_WINE_ARCH=win32
  else
    TILTKIT_WINE_ARCH=win64
  fi
fi
export TILTKIT_WINE_ARCH
# The build trees whose programs this Wine runs: win and tests, or their
# x86-64 builds win64 and tests64.
TILTKIT_TREE_SUFFIX=""
[ "$TILTKIT_WINE_ARCH" = win64 ] && TILTKIT_TREE_SUFFIX=64
export TILTKIT_TREE_SUFFIX
# Tells a script's reader (WHO: its name) when the x86-64 build runs in
# place of the delivered i686 one; MORE is said after it.
wine_arch_say() { # who [more]
  [ "$TILTKIT_WINE_ARCH" = win64 ] || return 0
  echo "$1: this machine runs no 32-bit x86 programs; the x86-64 build of the same sources runs under the 64-bit Wine${2:-}" >&2
}
if [ "$TILTKIT_WINE_ARCH" = win64 ]; then
  WINE=${WINE:-/usr/lib/wine/wine64}
  WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver64}
  _tk_winver=winxp64
else
  WINE=${WINE:-/usr/lib/wine/wine}
  WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver}
  _tk_winver=winxp
fi
[ -x "$WINE" ] || WINE=$(command -v wine-stable || command -v wine)
[ -x "$WINESERVER" ] || WINESERVER=$(command -v wineserver-stable || command -v wineserver)
export WINEARCH=$TILTKIT_WINE_ARCH WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LANG=ru_RU.UTF-8
wine_run() { env LC_ALL=ru_RU.UTF-8 "$WINE" "$@"; }
export ALSA_CONFIG_PATH="$_tk_here/alsa-null.conf"

# The template prefix: Windows XP (under the 64-bit Wine its x64 edition,
# reporting the version of 32-bit XP SP3), Russian code page, no window manager waits.
wine_template() { # state
  local state=$1 t=$1/template
  [ -f "$t/.ready" ] && return 0
  mkdir -p "$state" || return 1
  local pid
  until mkdir "$state/template.lock" 2>/dev/null; do
    [ -f "$t/.ready" ] && return 0
    pid=$(cat "$state/template.lock/pid" 2>/dev/null || true)
    if [ -n "$pid" ] && ! kill -0 "$pid" 2>/dev/null; then
      rm -rf "$state/template.lock"   # left by a creation that was killed
    fi
    sleep 0.2
  done
  echo $$ > "$state/template.lock/pid"
  if [ ! -f "$t/.ready" ]; then
    rm -rf "$t"
    (
      export WINEPREFIX=$t
      wine_run wineboot -i >/dev/null 2>&1 </dev/null
      wine_run winecfg /v "$_tk_winver" >/dev/null 2>&1 </dev/null
      wine_run regedit /S "$_tk_here/wineprefix.reg" >/dev/null 2>&1 </dev/null
      if [ "$TILTKIT_WINE_ARCH" = win64 ]; then
        wine_run regedit /S "$_tk_here/wineprefix64.reg" >/dev/null 2>&1 </dev/null
      fi
      "$WINESERVER" -w
    )
    touch "$t/.ready"
  fi
  rm -rf "$state/template.lock"
}

# Brings slot N up: its prefix, Xvfb, persistent wineserver. Exports the
# environment for running programs in it.
wine_slot_up() { # state slot bindir
  local state=$1 slot=$2 bin=$3 dir=$1/slot$2
  wine_template "$state" || return 1
  mkdir -p "$dir"
  if [ ! -d "$dir/prefix" ]; then
    cp -a "$state/template" "$dir/prefix.tmp" && mv "$dir/prefix.tmp" "$dir/prefix" || return 1
  fi
  export WINEPREFIX=$dir/prefix
  local pid disp
  pid=$(cat "$dir/xvfb.pid" 2>/dev/null || true)
  if [ -n "${TILTKIT_DISPLAY:-}" ]; then
    : # a person's own display (the tour with DISPLAY set)
  elif [ -z "$pid" ] || ! kill -0 "$pid" 2>/dev/null; then
    rm -f "$dir/xvfb.display"
    setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset \
      3>"$dir/xvfb.display" </dev/null >"$dir/xvfb.log" 2>&1 &
    echo $! > "$dir/xvfb.pid"
    for _ in $(seq 1 100); do [ -s "$dir/xvfb.display" ] && break; sleep 0.05; done
  fi
  if [ -n "${TILTKIT_DISPLAY:-}" ]; then
    export DISPLAY=$TILTKIT_DISPLAY
  else
    disp=$(head -n1 "$dir/xvfb.display" 2>/dev/null)
    [ -n "$disp" ] || { echo "winenv: Xvfb did not start" >&2; return 1; }
    export DISPLAY=":$disp"
  fi
  # System libraries of outside components (the maker's hardware libraries).
  if [ -d "$bin/system32" ]; then
    cp -u "$bin"/system32/*.dll "$WINEPREFIX/drive_c/windows/system32/" 2>/dev/null || true
  fi
  export TILTKIT_BIN="Z:$(echo "$bin" | tr / '\\')"
  # A persistent server (a no-op when it runs already), with the session's
  # helper processes started once, away from any caller's output pipes.
  setsid "$WINESERVER" -p </dev/null >/dev/null 2>&1
  if [ ! -f "$dir/server.up" ]; then
    if [ -f "$bin/Winewarm.exe" ]; then
      setsid env LC_ALL=ru_RU.UTF-8 "$WINE" "$bin/Winewarm.exe" </dev/null >/dev/null 2>&1
    else
      setsid env LC_ALL=ru_RU.UTF-8 "$WINE" cmd.exe /c exit </dev/null >/dev/null 2>&1
    fi
    touch "$dir/server.up"
  fi
}

# Stops every slot's wineserver and Xvfb (the end of a test run or tour).
wine_all_down() { # state
  local state d
  state=$(cd "$1" 2>/dev/null && pwd) || return 0   # wineserver wants absolute prefixes
  for d in "$state"/slot*/; do
    [ -d "$d/prefix" ] || continue
    WINEPREFIX=$d/prefix "$WINESERVER" -k >/dev/null 2>&1 || true
    [ -f "$d/xvfb.pid" ] && kill "$(cat "$d/xvfb.pid")" 2>/dev/null || true
    rm -f "$d/xvfb.pid" "$d/server.up"
  done
}

