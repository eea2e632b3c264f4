#!/usr/bin/env bash
# Installs the build folder into a scratch DESTDIR and uses the installed copy from a folder
# outside the source tree, with nothing of the build folder in the environment:
#   tests/install_check.sh <build-dir> <source-dir>
set -euo pipefail
build=$(cd "$1" && pwd)
version=$(head -n1 "$2/VERSION")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "install check: $*" >&2; exit 1; }

DESTDIR="$scratch/root" cmake --install "$build" --prefix /usr >/dev/null
prefix="$scratch/root/usr"
site="$prefix/lib/python3/dist-packages"
for f in "$prefix/bin/xyp" "$site/xyp/__init__.py" "$site/xyp/odb.py" "$site/xyp/_launcher.py" \
         "$site/xyp/_version.py" "$site/xyp/view.py" "$site/xyp/view_page/view.js" \
         "$site"/xyp/_xyp*.so; do
  [ -f "$f" ] || fail "missing $f"
done
for f in "$prefix/bin/xyp" "$site"/xyp/_xyp*.so; do
  if readelf -d "$f" | grep -E '\((RPATH|RUNPATH)\)' | grep -F "$build"; then
    fail "$f has a run path into the build folder"
  fi
done

work="$scratch/work"
mkdir "$work"
cat > "$work/helper.py" <<'PY'
def ramp(session, name):
    return session.XYData(name=name, data=((0, 0), (1, 2), (2, 3)), xValuesLabel="t")
PY
cat > "$work/script.py" <<'PY'
import os, sys
import helper
xy = helper.ramp(session, sys.argv[1])
plot = session.XYPlot(name="p")
plot.Curve(name="c", xyData=xy)
viewport = session.viewports["Viewport: 1"]
viewport.setValues(displayedObject=plot)
viewport.saveImage(fileName="plot.png", width=160, height=120)
session.writeXYReport(fileName="report.txt", xyData=(xy,), appendMode=False)
print(xyp.__version__, session.xyDataObjects.keys(), os.path.dirname(xyp.__file__))
PY
run() { (cd "$work" && env -i HOME="$work" LANG=C.UTF-8 PATH="$prefix/bin:/usr/bin:/bin" \
                             PYTHONPATH="$site" PYTHONDONTWRITEBYTECODE=1 "$@"); }

[ "$(run sh -c 'command -v xyp')" = "$prefix/bin/xyp" ] || fail "xyp on PATH is not the installed one"
out=$(run xyp script.py ramp) || fail "xyp script.py failed: $out"
[ "$out" = "$version ['ramp'] $site/xyp" ] || fail "xyp script.py printed: $out"
/usr/bin/python3 -c "import sys; sys.exit(open(sys.argv[1], 'rb').read(8) != b'\x89PNG\r\n\x1a\n')" \
  "$work/plot.png" || fail "plot.png is no PNG"
grep -q ramp "$work/report.txt" || fail "report.txt does not name the data"
out=$(run xyp --version) && [ "$out" = "xyp $version" ] || fail "xyp --version printed: $out"
out=$(run /usr/bin/python3 -c "import xyp; print(xyp.__version__, xyp.__file__)")
[ "$out" = "$version $site/xyp/__init__.py" ] || fail "python3 -c 'import xyp' printed: $out"
# Without PYTHONPATH the executable finds the package beside it (../lib/python3/dist-packages).
out=$(cd "$work" && env -i PATH=/usr/bin:/bin "$prefix/bin/xyp" -c "import xyp; print(xyp.__file__)")
[ "$out" = "$site/xyp/__init__.py" ] || fail "xyp without PYTHONPATH used: $out"
echo "install check passed: $prefix"
