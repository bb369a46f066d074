#!/usr/bin/env bash
# scripts/setup.sh against stand-in apt-get, dpkg and friends early on PATH:
# a mirror in the middle of a sync, and a package index that cannot be had.
set -uo pipefail
setup="$(cd "$(dirname "$0")/../.." && pwd)/scripts/setup.sh"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/bin" "$tmp/lists"

stub() { printf '#!/usr/bin/env bash\n%s\n' "$2" > "$tmp/bin/$1"; chmod +x "$tmp/bin/$1"; }
stub dpkg-query 'exit 1'                                  # nothing installed
stub dpkg '[ "$1" = --print-foreign-architectures ] && echo i386; exit 0'
stub locale 'echo ja_JP.utf8'
stub sudo 'exec "$@"'
stub apt-get '
echo "$*" >> "$FAKE_CALLS"
case "$1" in
  indextargets) echo "deb-src bookworm main"; exit 0 ;;
  update)
    echo "E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?" >&2
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead." >&2
    exit 100 ;;
  install)
    [ "$FAKE_MODE" = sync ] && [ "$2" = -t ] && [ "$3" = bookworm ] && exit 0
    echo "E: Unable to correct problems, you have held broken packages." >&2
    exit 100 ;;
esac
exit 0'

failures=0
check() {  # description, command...
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
run_setup() {  # mode
  : > "$tmp/calls"
  FAKE_MODE=$1 FAKE_CALLS="$tmp/calls" VELKOR_APT_RETRY_WAIT=0 VELKOR_APT_LISTS="$tmp/lists" \
    PATH="$tmp/bin:$PATH" bash "$setup" > "$tmp/out" 2>&1
}

# One index fails while the mirror syncs: named, the update tried again, the
# install pinned to the release when the plain one cannot resolve.
run_setup sync
status=$?
check "goes on past one failed index" [ $status -eq 0 ]
check "names the failed index" grep -q 'bookworm-security/main/binary-i386/Packages.xz' "$tmp/out"
check "tries the update three times" [ "$(grep -c '^update' "$tmp/calls")" -eq 3 ]
check "installs pinned to bookworm and says so" \
  bash -c "grep -q '^install -t bookworm' '$tmp/calls' && grep -q -- '-t bookworm' '$tmp/out'"

# Nothing resolves even pinned: the set-up says why it failed.
run_setup broken
status=$?
check "fails when nothing installs" [ $status -ne 0 ]
check "says 'setup failed: ...'" bash -c "tail -n 1 '$tmp/out' | grep -q '^setup failed: '"

if [ $failures -gt 0 ]; then
  echo "--- output of the last run:"; cat "$tmp/out"
  exit 1
fi
