# Sourced by the scripts that run Windows programs. Provides a project-local
# Wine prefix in a Japanese locale, a display (Xvfb when none is set) and a
# persistent wineserver, so that each Wine process starts in milliseconds.
#   wine_env_start   set everything up (idempotent); fails loudly
#   wine_env_stop    stop the server and the Xvfb this script started
#
# Which build runs: VELKOR_ARCH=32 or 64 when set, else the 32-bit build where
# this machine runs 32-bit code and the 64-bit build where its kernel refuses
# 32-bit programs ("Exec format error"). After sourcing, VELKOR_ARCH says
# which, VELKOR_WIN names its build folder (win or win64) and
# VELKOR_ARCH_REASON says why in a few words.

VELKOR_ROOT=${VELKOR_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}

# Whether the 32-bit Wine loader starts on this machine.
velkor_runs_32bit() { /usr/lib/wine/wine --version >/dev/null 2>&1; }

if [ -n "${VELKOR_ARCH:-}" ]; then
  VELKOR_ARCH_REASON="asked for"
elif velkor_runs_32bit; then
  VELKOR_ARCH=32 VELKOR_ARCH_REASON="this machine runs 32-bit code"
else
  VELKOR_ARCH=64 VELKOR_ARCH_REASON="this machine runs no 32-bit code"
fi
export VELKOR_ARCH
case "$VELKOR_ARCH" in
  32)
    export VELKOR_WIN=win
    export WINEPREFIX=${WINEPREFIX:-$VELKOR_ROOT/.wineprefix}
    export WINEARCH=win32
    ;;
  64)
    export VELKOR_WIN=win64
    export WINEPREFIX=${WINEPREFIX:-$VELKOR_ROOT/.wineprefix64}
    export WINEARCH=win64
    # Debian's wine and its helper scripts pick the 32-bit loader whenever
    # wine32 is installed; these stand-ins reach the 64-bit one instead.
    export WINELOADER=/usr/lib/wine/wine64
    case ":$PATH:" in
      *":$VELKOR_ROOT/scripts/wine64:"*) ;;
      *) export PATH="$VELKOR_ROOT/scripts/wine64:$PATH" ;;
    esac
    ;;
  *)
    echo "wine-env: VELKOR_ARCH must be 32 or 64, not '$VELKOR_ARCH'" >&2
    return 1 2>/dev/null || exit 1
    ;;
esac
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export LANG=ja_JP.UTF-8
export LC_ALL=ja_JP.UTF-8
_velkor_xvfb_pid=""

_wine_registry() {
  # Japanese faces the program asks for, served by the IPA fonts, and a
  # virtual desktop: without a window manager, Wine waits two seconds for
  # every top-level window it hides, and screenshots show no frames.
  # Marlett draws the caption buttons, scroll-bar arrows and menu checks.
  # Debian's Wine 8 looks for its own fonts in "<data dir>\../fonts", a name
  # its file lookup cannot resolve, and fontconfig does not know
  # /usr/share/wine/fonts, so without this entry another face stands in
  # and the buttons read "0 1 r".
  # Written as a UTF-16 .reg file so the names survive any shell encoding.
  local reg="$WINEPREFIX/velkor.reg"
  printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Explorer]' '"Desktop"="Default"' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]' '"Default"="1280x1024"' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
    '"ＭＳ ゴシック"="IPAGothic"' '"ＭＳ Ｐゴシック"="IPAPGothic"' '"ＭＳ 明朝"="IPAMincho"' \
    '"MS Gothic"="IPAGothic"' '"MS PGothic"="IPAPGothic"' '"MS Mincho"="IPAMincho"' \
    '"MS UI Gothic"="IPAPGothic"' '' \
    '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\Fonts]' \
    '"Marlett (TrueType)"="Z:\\usr\\share\\wine\\fonts\\marlett.ttf"' '' \
    | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$reg"
  local winreg
  winreg=$(winepath -w "$reg" 2>/dev/null)
  if [ -z "$winreg" ]; then
    echo "wine: winepath cannot name $reg (does the $WINEARCH loader start?)" >&2
    return 1
  fi
  wine regedit /S "$winreg" >/dev/null 2>&1
  # regedit says nothing when it imports nothing: ask for one of the values.
  if ! wine reg query 'HKCU\Software\Wine\Explorer' /v Desktop >/dev/null 2>&1; then
    echo "wine: the registry settings of $reg did not reach the prefix $WINEPREFIX" >&2
    return 1
  fi
}

wine_env_start() {
  if [ -z "${DISPLAY:-}" ]; then
    local n
    for n in $(seq 91 140); do
      [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
    done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    _velkor_xvfb_pid=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  fi
  # A new prefix is made before the persistent server starts: the server
  # cannot start without the prefix's folder, and `wineserver -w` would wait
  # for ever on a persistent one.
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "wine: creating the $WINEARCH prefix $WINEPREFIX (about 20 s, once)" >&2
    wine wineboot -i </dev/null >/dev/null 2>&1
    wineserver -w
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      echo "wine: could not create the prefix $WINEPREFIX ($(wine --version 2>&1 | head -n 1))" >&2
      return 1
    fi
  fi
  # The server and its services must not inherit any pipe a caller waits on.
  wineserver -p </dev/null >/dev/null 2>&1
  if ! cmp -s "$VELKOR_ROOT/scripts/wine-env.sh" "$WINEPREFIX/velkor-env.applied"; then
    _wine_registry || return 1
    cp "$VELKOR_ROOT/scripts/wine-env.sh" "$WINEPREFIX/velkor-env.applied"
    # The desktop process already running read the settings before the
    # import; a new server starts a new one that sees the virtual desktop.
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    wineserver -p </dev/null >/dev/null 2>&1
  fi
  wine wineboot </dev/null >/dev/null 2>&1 || true
}

wine_env_stop() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$_velkor_xvfb_pid" ]; then
    kill "$_velkor_xvfb_pid" 2>/dev/null || true
    wait "$_velkor_xvfb_pid" 2>/dev/null || true
    _velkor_xvfb_pid=""
  fi
}
