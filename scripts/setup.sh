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
