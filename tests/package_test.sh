#!/usr/bin/env bash
# Builds the Debian package from a build folder, checks what it holds and declares, validates
# its desktop entry, unpacks it into a scratch folder and runs the packaged viewer there on the
# packaged sample map (it must print "tex = N" with N above 0 and keep running). Lintian must
# find no error; its warnings are listed.
#
# Usage: package_test.sh BUILD_FOLDER SCRATCH_FOLDER VERSION   (needs an X display)
set -euo pipefail
build=$(realpath "${1:?usage: package_test.sh BUILD_FOLDER SCRATCH_FOLDER VERSION}")
scratch=${2:?usage: package_test.sh BUILD_FOLDER SCRATCH_FOLDER VERSION}
version=${3:?usage: package_test.sh BUILD_FOLDER SCRATCH_FOLDER VERSION}
rm -rf "$scratch" && mkdir -p "$scratch"
fail() { echo "package: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$scratch/out" >"$scratch/cpack.log") ||
  { cat "$scratch/cpack.log"; fail "cpack failed"; }
deb="$scratch/out/velkarin_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $deb; made: $(ls "$scratch/out")"

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for path in ./usr/bin/velkarin ./usr/share/velkarin/env.ppm ./usr/share/man/man1/velkarin.1.gz \
  ./usr/share/applications/velkarin.desktop ./usr/share/icons/hicolor/48x48/apps/velkarin.png \
  ./usr/share/doc/velkarin/copyright ./usr/share/doc/velkarin/changelog.gz; do
  grep -qx -- "$path" <<<"$contents" || fail "$path is missing"
done
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libglut3 libpng16; do
  grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done
echo "package: $(basename "$deb"), Depends: $depends"

root="$scratch/root"
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/velkarin.desktop" ||
  fail "the desktop entry does not validate"
grep -qx 'Exec=velkarin %F' "$root/usr/share/applications/velkarin.desktop" &&
  grep -qx 'Path=/usr/share/velkarin' "$root/usr/share/applications/velkarin.desktop" ||
  fail "the desktop entry does not start beside the sample map, or takes no files"
grep -qx 'StartupWMClass=Velkarin' "$root/usr/share/applications/velkarin.desktop" ||
  fail "the desktop entry does not name the window's class"
cmp -s <(gzip -dc "$root/usr/share/man/man1/velkarin.1.gz") "$(dirname "$0")/../docs/velkarin.1" ||
  fail "the packaged manual page differs from docs/velkarin.1"

bash "$(dirname "$0")/expect_viewer_runs.sh" "$root/usr/bin/velkarin" \
  "$root/usr/share/velkarin/env.ppm" package

lintian --tag-display-limit 0 "$deb" >"$scratch/lintian.log" 2>&1 || true
cat "$scratch/lintian.log"
! grep -q '^E:' "$scratch/lintian.log" || fail "lintian reports errors"
