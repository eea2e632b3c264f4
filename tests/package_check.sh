#!/usr/bin/env bash
# Makes the .deb of what the build folder holds with CPack (nothing is rebuilt)
# and checks its control fields and that its extracted files run:
#   tests/package_check.sh <build-dir> <source-dir>
set -euo pipefail
build=$(cd "$1" && pwd)
version=$(head -n1 "$2/VERSION")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "package check: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log" >&2; fail "cpack failed"; }
deb="$scratch/out/xyp_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $deb among: $(ls "$scratch/out")"

[ "$(dpkg-deb -f "$deb" Package)" = xyp ] || fail "Package: $(dpkg-deb -f "$deb" Package)"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "Version: $(dpkg-deb -f "$deb" Version)"
depends=$(dpkg-deb -f "$deb" Depends)
for pattern in '(^|, )libcairo2( |,|$)' '(^|, )libhdf5[a-z0-9_.-]*( |,|$)' \
               '(^|, )python3 \(>= 3\.11\)' '(^|, )python3-numpy(,|$)' '(^|, )fonts-dejavu-core(,|$)'; do
  grep -Eq "$pattern" <<<"$depends" || fail "Depends lacks $pattern: $depends"
done

dpkg-deb -x "$deb" "$scratch/root"
exe="$scratch/root/usr/bin/xyp"
site="$scratch/root/usr/lib/python3/dist-packages"
# The extracted layout works without PYTHONPATH: the executable finds the package beside it.
out=$(cd "$scratch" && env -i PATH=/usr/bin:/bin "$exe" --version) && [ "$out" = "xyp $version" ] ||
  fail "usr/bin/xyp --version printed: $out"
out=$(cd "$scratch" && env -i PATH=/usr/bin:/bin "$exe" -c "import xyp; print(xyp.__file__)")
[ "$out" = "$site/xyp/__init__.py" ] || fail "usr/bin/xyp used the package at: $out"
out=$(cd "$scratch" && env -i PYTHONPATH="$site" /usr/bin/python3 -c "import xyp; print(xyp.__version__)")
[ "$out" = "$version" ] || fail "python3 with the extracted package printed: $out"
echo "package check passed: $(basename "$deb"), Depends: $depends"
