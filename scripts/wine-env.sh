# Sourced by the scripts that run Windows programs. Provides a project-local
# 32-bit Wine prefix in a Japanese locale, a display (Xvfb when none is set)
# and a persistent wineserver, so that each Wine process starts in milliseconds.
#   wine_env_start   set everything up (idempotent)
#   wine_env_stop    stop the server and the Xvfb this script started

VELKOR_ROOT=${VELKOR_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX=${WINEPREFIX:-$VELKOR_ROOT/.wineprefix}
export WINEARCH=win32
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
  wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1
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
    echo "wine: creating the prefix $WINEPREFIX (about 20 s, once)" >&2
    wine wineboot -i </dev/null >/dev/null 2>&1
    wineserver -w
  fi
  # The server and its services must not inherit any pipe a caller waits on.
  wineserver -p </dev/null >/dev/null 2>&1
  if ! cmp -s "$VELKOR_ROOT/scripts/wine-env.sh" "$WINEPREFIX/velkor-env.applied"; then
    _wine_registry
    cp "$VELKOR_ROOT/scripts/wine-env.sh" "$WINEPREFIX/velkor-env.applied"
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
