# Sourced by the benchmark scripts under bench/: where the build and its data
# are, Wine's environment when a script runs on its own (./bench.sh sets it
# up once for all of them), and small helpers to run a Windows program into a
# log, read a figure from the log and keep the best of several rounds.
root=${VELKOR_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
standalone=0
[ -n "${VELKOR_OUT:-}" ] || standalone=1
out=${VELKOR_OUT:-$root/build}
# The Windows build this machine runs (VELKOR_ARCH chooses), and its folder.
source "$root/scripts/wine-env.sh"
win="$out/$VELKOR_WIN"

# Starts Wine's environment for a script run on its own, stopped at its exit.
bench_wine() {
  if [ $standalone -eq 1 ]; then
    wine_env_start
    trap wine_env_stop EXIT
  fi
}

# C:\<name> in the prefix, a link to a directory of the benchmark data.
bench_link() {
  local link="$WINEPREFIX/drive_c/$1"
  [ "$(readlink "$link" 2>/dev/null)" = "$2" ] || { rm -f "$link"; ln -s "$2" "$link"; }
}

# The smaller of two figures, the second when the first is empty.
best() { awk -v a="$1" -v b="$2" 'BEGIN { print (a == "" || b + 0 < a + 0) ? b : a }'; }
# What the sed pattern's group matches in $log.
field() { tr -d '\r' < "$log" | sed -n "s/$1/\\1/p"; }
# Runs a Windows program with its output in $log: a Wine program's output
# read with $(...) can keep the shell waiting.
run() { wine "$@" > "$log" 2>&1 || { cat "$log" >&2; exit 1; }; }
