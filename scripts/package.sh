#!/usr/bin/env bash
# The Debian package: installs what is missing, builds a Release tree, makes
# likentor_<version>_amd64.deb in it with cpack (its dependencies worked out from the binaries)
# and checks it with lintian, which must report no errors.
#   scripts/package.sh [BUILD_DIR [extra cmake options...]]    (default: build/package)
# CI makes it from its Clang tree: scripts/package.sh build/clang -DCMAKE_CXX_COMPILER=clang++-16 ...
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build/package}
shift || true
"$here/scripts/setup.sh" "$build" -DCMAKE_BUILD_TYPE=Release -DLIKENTOR_TESTS=OFF \
  -DLIKENTOR_BENCH=OFF -DLIKENTOR_ARTWORK=ON "$@"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb="$build/likentor_${version}_amd64.deb"
rm -f "$deb"
(cd "$build" && cpack -G DEB >/dev/null)
[ -f "$deb" ] || { echo "cpack wrote no $deb" >&2; exit 1; }

echo "== lintian $deb"
lintian --fail-on error "$deb"
echo "Package: $deb"
