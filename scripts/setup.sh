#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks for building and testing Velkor.
# Safe to run again: it only acts on what is missing.
#
# The package index can be half-broken for a while (a mirror in the middle of
# a sync serves one index of the wrong size). The update is retried, then the
# set-up goes on with the indexes it has; an install that cannot resolve with
# them is tried once more pinned to the release. A set-up that cannot finish
# ends with "setup failed: <why>" and a non-zero status.
set -uo pipefail

release=bookworm
retry_wait=${VELKOR_APT_RETRY_WAIT:-5}

fail() { echo "setup failed: $*" >&2; exit 1; }
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# The Windows builds (32- and 64-bit MinGW), the native tests and fuzz targets,
# Wine with its 32-bit half (which installs everywhere; where the kernel runs
# no 32-bit code the scripts use the 64-bit loader), the virtual display, the
# Japanese fonts, and libjpeg: Debian's for the native build, its source
# package (built by scripts/libjpeg.sh, nasm for the SIMD code) for Windows.
pkgs=(cmake make ninja-build g++ googletest libgtest-dev clang libclang-rt-14-dev
      g++-mingw-w64-i686-posix mingw-w64-i686-dev g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
      wine wine32:i386 wine64 xvfb xauth x11-utils imagemagick
      fonts-ipafont-gothic fonts-ipafont-mincho fonts-wine locales
      nasm libjpeg62-turbo-dev)
need=()
for p in "${pkgs[@]}"; do have_pkg "$p" || need+=("$p"); done

# The source entry for libjpeg-turbo copies the mirror of the release's main
# entry. apt-get update drops the index of a source no longer listed, so an
# index on disk stands for the entry (asking apt itself takes seconds here).
apt_lists=${VELKOR_APT_LISTS:-/var/lib/apt/lists}
src_index() { compgen -G "$apt_lists/*_dists_${release}_main_source_Sources*" >/dev/null; }
src_entry() {
  apt-get indextargets --no-release-info --format '$(TARGET_OF) $(RELEASE) $(COMPONENT)' 2>/dev/null |
    grep -qx "deb-src $release main"
}

# apt-get update, a few times; what still fails after the last try is named
# and left out. Only an update that fetched nothing at all stops here.
apt_update() {
  local log attempt failed=""
  log=$(mktemp)
  for attempt in 1 2 3; do
    if $sudo apt-get update -qq >"$log" 2>&1; then
      rm -f "$log"
      return 0
    fi
    failed=$(grep -oE '(Failed to fetch|Failed to download) [^ ]+' "$log" | awk '{print $NF}' | sort -u)
    [ "$attempt" -lt 3 ] || break
    echo "setup: apt-get update failed (try $attempt of 3)${failed:+ on $(echo $failed)}; trying again in $((retry_wait * attempt)) s" >&2
    sleep $((retry_wait * attempt))
  done
  if [ -z "$failed" ]; then
    sed 's/^/  /' "$log" >&2
    rm -f "$log"
    fail "apt-get update failed and fetched no index"
  fi
  echo "setup: apt-get update could not fetch these indexes; going on without them:" >&2
  printf '  %s\n' $failed >&2
  rm -f "$log"
}

# apt-get install; when it cannot resolve with today's indexes (a missing
# index leaves multi-arch libraries of one architecture newer than the other),
# once more pinned to the release.
apt_install() {
  local log
  log=$(mktemp)
  echo "setup: installing $*" >&2
  if DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "$@" >"$log" 2>&1; then
    rm -f "$log"
    return 0
  fi
  echo "setup: the install could not resolve with the current indexes; trying again pinned to the release (-t $release)" >&2
  if DEBIAN_FRONTEND=noninteractive $sudo apt-get install -t "$release" -y -qq --no-install-recommends "$@" >"$log" 2>&1; then
    rm -f "$log"
    return 0
  fi
  grep -E '^(E:|  )' "$log" | tail -n 8 | sed 's/^/  /' >&2
  rm -f "$log"
  fail "apt-get install could not install $*"
}

if [ ${#need[@]} -gt 0 ] || ! src_index; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386 || fail "dpkg --add-architecture i386 failed"
  fi
  if ! src_entry; then
    mirror=$(apt-get indextargets --no-release-info --format '$(TARGET_OF) $(RELEASE) $(COMPONENT) $(REPO_URI)' |
             awk -v r="$release" '$1 == "deb" && $2 == r && $3 == "main" { print $4; exit }')
    [ -n "$mirror" ] || fail "no apt source for $release main to take the mirror of the source entry from"
    printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: main\nSigned-By: %s\n' \
      "${mirror%/}" "$release" /usr/share/keyrings/debian-archive-keyring.gpg |
      $sudo tee /etc/apt/sources.list.d/velkor-src.sources >/dev/null ||
      fail "cannot write /etc/apt/sources.list.d/velkor-src.sources"
  fi
  apt_update
  [ ${#need[@]} -eq 0 ] || apt_install "${need[@]}"
fi

# Wine takes its locale from LANG only when the glibc locale exists.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  $sudo localedef -i ja_JP -f UTF-8 ja_JP.UTF-8 || fail "cannot make the ja_JP.UTF-8 locale"
fi
exit 0
