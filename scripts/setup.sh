#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Likentor need (when any is
# missing), then configures and builds one build tree.
#   scripts/setup.sh BUILD_DIR [extra cmake options...]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?usage: setup.sh BUILD_DIR [cmake options]}
shift

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev libgl-dev
  libsqlite3-dev sqlite3 libpng-dev libjpeg-dev zlib1g-dev libdeflate-dev libcairo2-dev
  libcli11-dev libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth clang-format fonts-dejavu-core
  clang-16 libfuzzer-16-dev libclang-rt-16-dev llvm-16 g++-mingw-w64-x86-64
  dpkg-dev file lintian desktop-file-utils appstream
)
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
cmake --build "$build" -j "$(nproc)"
