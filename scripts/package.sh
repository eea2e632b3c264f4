#!/usr/bin/env bash
# Builds xyp (Release, in build-package/ unless a build folder is given) and makes its Debian
# package with CPack, written to the current folder as xyp_<version>_<architecture>.deb:
#   scripts/package.sh [build-dir]      then   apt-get install ./xyp_<version>_amd64.deb
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$top/build-package}
out=$(pwd)
"$top/scripts/setup.sh" cmake ninja-build g++ pkg-config python3-dev pybind11-dev libgtest-dev \
  libgmock-dev libbenchmark-dev libcairo2-dev zlib1g-dev libhdf5-dev dpkg-dev
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S "$top" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release
fi
ninja -C "$dir" xyp _xyp xyp_package  # what the package holds; the tests are not built
cpack --config "$dir/CPackConfig.cmake" -G DEB -B "$dir/package"
version=$(head -n1 "$top/VERSION")
deb="xyp_${version}_$(dpkg --print-architecture).deb"
mv -f "$dir/package/$deb" "$out/$deb"
echo "Package: $out/$deb (install: apt-get install ./$deb)"
