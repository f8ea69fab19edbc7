#!/usr/bin/env bash
# Installs the Debian packages that building and running Likentor need (when any is missing), then
# configures and builds one build tree. With --demo only what the build and the demo need; without
# it also what the test command needs (test and benchmark libraries, Clang 16 and libFuzzer, the
# MinGW-w64 cross compiler, the packaging and desktop-file checks, Xvfb).
#   scripts/setup.sh [--demo] BUILD_DIR [extra cmake options...]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
demo_only=false
if [ "${1:-}" = "--demo" ]; then
  demo_only=true
  shift
fi
build=${1:?usage: setup.sh [--demo] BUILD_DIR [cmake options]}
shift

# The build (program, artwork kit, sample game tool) and the demo.
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev
  libsqlite3-dev libpng-dev libjpeg-dev zlib1g-dev libdeflate-dev libcairo2-dev
  libxxhash-dev
  libcli11-dev fonts-dejavu-core
)
# The tests, benchmarks, fuzzing, the other compilers and the package checks.
if ! $demo_only; then
  packages+=(
    git sqlite3 libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth clang-format
    clang-16 libfuzzer-16-dev libclang-rt-16-dev llvm-16 g++-mingw-w64-x86-64
    dpkg-dev file lintian desktop-file-utils appstream
  )
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S "$here" -B "$build" -G Ninja "$@"
# The demo builds only what it runs: the program (with the window it hands itself over to), the
# sample game tool and the artwork kit.
targets=()
if $demo_only; then
  targets=(--target likentor likentor-samplegame artwork)
fi
cmake --build "$build" -j "$(nproc)" "${targets[@]}"
