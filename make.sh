#!/usr/bin/env bash
# Build, run and test ZQ HEXEditor.
#   ./make.sh run [FILE...]    build (Release) and start the program with the given files
#   ./make.sh test [--sanitize] build from scratch if needed and run every test
#   ./make.sh build [--sanitize]
#   ./make.sh bench [FILTER]   build and run the benchmarks
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$(pwd)

PACKAGES=(cmake g++ make qt6-base-dev qt6-translations-l10n libgtest-dev libgmock-dev libbenchmark-dev fonts-liberation)

ensure_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
  else
    echo "Missing packages. Run:"
    echo "  sudo apt-get install -y ${missing[*]}"
    exit 1
  fi
}

# Builds share two cores: serialise them with a lock so parallel callers queue up.
build() {
  local dir=$1; shift
  mkdir -p "$dir"
  (
    flock 9
    cmake -S "$ROOT" -B "$dir" "$@" >/dev/null
    cmake --build "$dir" -j2
  ) 9>"${TMPDIR:-/tmp}/zqhexeditor-build.lock"
}

sanitize=0
cmd=${1:-}
[ $# -gt 0 ] && shift
if [ "${1:-}" = "--sanitize" ]; then sanitize=1; shift; fi

if [ $sanitize -eq 1 ]; then
  BUILD_DIR="$ROOT/build/sanitize"
  CMAKE_ARGS=(-DCMAKE_BUILD_TYPE=Debug -DZQ_SANITIZE=ON -DZQ_BUILD_BENCH=OFF "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g")
else
  BUILD_DIR="$ROOT/build/release"
  CMAKE_ARGS=(-DCMAKE_BUILD_TYPE=Release)
fi

case "$cmd" in
  run)
    ensure_packages
    build "$BUILD_DIR" "${CMAKE_ARGS[@]}"
    exe="$BUILD_DIR/ZQHEXeditor"
    if [ $# -eq 0 ]; then
      exec "$exe"
    fi
    # Hand the files over in the program's list-file form: one full path a line, then "0".
    list=$(mktemp "${TMPDIR:-/tmp}/zqhex-list.XXXXXX")
    for f in "$@"; do realpath -m -- "$f"; done >"$list"
    exec "$exe" "$list" 0
    ;;
  build)
    ensure_packages
    build "$BUILD_DIR" "${CMAKE_ARGS[@]}"
    ;;
  test)
    ensure_packages
    build "$BUILD_DIR" "${CMAKE_ARGS[@]}"
    export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
    if [ $sanitize -eq 1 ]; then
      export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1}
      export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
    fi
    ctest --test-dir "$BUILD_DIR" --output-on-failure -j2 "$@"
    ;;
  bench)
    ensure_packages
    build "$BUILD_DIR" "${CMAKE_ARGS[@]}"
    for b in "$BUILD_DIR"/bench/bench_*; do
      [ -x "$b" ] || continue
      "$b" ${1:+--benchmark_filter="$1"}
    done
    ;;
  *)
    echo "usage: $0 run [FILE...] | test [--sanitize] | build [--sanitize] | bench [FILTER]" >&2
    exit 2
    ;;
esac
