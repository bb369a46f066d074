#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks for building and testing Velkor.
# Safe to run again: it only acts on what is missing.
set -euo pipefail

need=()
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

pkgs=(cmake make ninja-build g++ g++-mingw-w64-i686-posix mingw-w64-i686-dev
      googletest libgtest-dev wine wine32:i386 wine64 xvfb xauth x11-utils
      fonts-ipafont-gothic fonts-ipafont-mincho fonts-wine locales imagemagick clang libclang-rt-14-dev)
for p in "${pkgs[@]}"; do have_pkg "$p" || need+=("$p"); done

if [ ${#need[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  echo "setup: installing ${need[*]}" >&2
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

# Wine takes its locale from LANG only when the glibc locale exists.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi

# libjpeg: Debian's libjpeg-turbo for the native build, and for the Windows
# build its source package, which scripts/libjpeg.sh compiles (nasm for the
# SIMD code). The source entry copies the mirror of the bookworm main entry.
jpeg_need=()
for p in nasm libjpeg62-turbo-dev; do have_pkg "$p" || jpeg_need+=("$p"); done
# apt-get update drops the index of a source no longer listed, so an index on
# disk stands for the entry (asking apt itself takes seconds here).
src_index() { compgen -G '/var/lib/apt/lists/*_dists_bookworm_main_source_Sources*' >/dev/null; }
src_entry() { apt-get indextargets --no-release-info --format '$(TARGET_OF) $(RELEASE) $(COMPONENT)' | grep -qx 'deb-src bookworm main'; }
if [ ${#jpeg_need[@]} -gt 0 ] || ! src_index; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  if ! src_entry; then
    mirror=$(apt-get indextargets --no-release-info --format '$(TARGET_OF) $(RELEASE) $(COMPONENT) $(REPO_URI)' |
             awk '$1 == "deb" && $2 == "bookworm" && $3 == "main" { print $4; exit }')
    [ -n "$mirror" ] || { echo "setup: no apt source for bookworm main to take the mirror from" >&2; exit 1; }
    printf 'Types: deb-src\nURIs: %s\nSuites: bookworm\nComponents: main\nSigned-By: %s\n' \
      "${mirror%/}" /usr/share/keyrings/debian-archive-keyring.gpg |
      $sudo tee /etc/apt/sources.list.d/velkor-src.sources >/dev/null
  fi
  echo "setup: fetching the bookworm source index${jpeg_need[*]:+ and installing ${jpeg_need[*]}}" >&2
  $sudo apt-get update -qq
  if [ ${#jpeg_need[@]} -gt 0 ]; then
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${jpeg_need[@]}" >/dev/null
  fi
fi
