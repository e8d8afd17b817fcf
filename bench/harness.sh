# Shared by the start-up and idle scripts (sourced): the built programs, a work
# folder, one Xvfb display, and profile folder sets made by bench_prepare.
set -euo pipefail

# A session bus of its own, as a desktop has.
[ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] || exec dbus-run-session -- "$0" "$@"

build=$(realpath "${BUILD:-$(dirname "$0")/../build}")
for program in tesryn bench/bench_floor bench/bench_startwait bench/bench_prepare; do
  if [ ! -x "$build/$program" ]; then
    echo "$build/$program is missing: build with the benchmarks on first" >&2
    echo "  (cmake -S . -B build -DTESSARYN_BENCH=ON && cmake --build build)" >&2
    exit 1
  fi
done
floor=$build/bench/bench_floor
tesryn=$build/tesryn

# The program's folders come from in_profile only.
unset CommonProgramFiles TESSARYN_LEGACY_FOLDER
work=$(mktemp -d)
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Starts Xvfb and sets DISPLAY.
start_xvfb() {
  mkfifo "$work/displayfd"
  Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$work/displayfd" 2>/dev/null &
  pids+=($!)
  local number
  read -r -t 10 number <"$work/displayfd"
  export DISPLAY=:$number
}

# Runs a command in a folder set made by bench_prepare, off the network and with
# every message box answered at once.
in_profile() {
  local dir=$1
  shift
  local -x APPDATA=$dir/appdata XDG_CONFIG_HOME=$dir/config XDG_DATA_HOME=$dir/data HOME=$dir/home \
    USERPROFILE=$dir/home TESSARYN_SITE_BASE=http://127.0.0.1:9/ TESSARYN_WEATHER_BASE=http://127.0.0.1:9/ \
    TESSARYN_MSGBOX_ANSWER=default
  "$@"
}

# Runs a program offscreen until its first expose, which it prints (milliseconds).
to_first_expose() {
  TESSARYN_EXPOSE_PROBE=${EPOCHREALTIME/./}000 QT_QPA_PLATFORM=offscreen timeout 30 "$@"
}

# Makes a folder set with the given number of events, started once so that the
# measured starts are not first starts.
prepare() {
  local dir=$1 events=$2
  "$build/bench/bench_prepare" "$dir" "$events" 2>>"$work/log"
  in_profile "$dir" to_first_expose "$tesryn" -fw >/dev/null 2>>"$work/log"
}

# A fresh copy of a prepared folder set; prints its path.
fresh_copy() {
  rm -rf "$work/run"
  cp -a "$1" "$work/run"
  echo "$work/run"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
