#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a temporary root as dpkg would lay it
# out, and checks what a player gets:
# - the package declares the libraries the game links as its dependencies;
# - the desktop entry and the AppStream metainfo validate, and the icon is there;
# - the installed game started from / finds its data beside its programs, plays
#   level 1 and quits on Escape with status 0 (game_starts_and_quits.sh);
# - an installed program whose data is gone ends with the fatal message for the
#   first file it misses, status 255, as a game started without its data always has.
#
# Usage: installed_game_starts.sh BUILD_DIR INSTALLED_DATA_DIR (on the test display),
# with the data folder the build configured under its install prefix.
set -uo pipefail

build=$1
installed_data=$2
here=$(cd "$(dirname "$0")" && pwd)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$root/package" >"$root/cpack.log" 2>&1 ||
  { cat "$root/cpack.log" >&2; fail "cpack could not build the package"; }
deb=$(ls "$root"/package/*.deb) || fail "cpack made no .deb"

depends=$(dpkg-deb --field "$deb" Depends)
for library in libglfw3 libassimp libopenal1 libbullet libdevil libglew libsndfile1; do
  grep -q "$library" <<<"$depends" || fail "the package does not depend on $library: $depends"
done

dpkg-deb --extract "$deb" "$root/installed" || fail "dpkg-deb could not unpack $deb"
usr=$root/installed/usr
for file in bin/vexa_game bin/vexa_game_fullscreen share/vexa_game/Shader/enemy_shader.vert \
  share/vexa_game/Resources/manifest.json share/icons/hicolor/256x256/apps/org.vexagame.vexa_game.png; do
  [ -f "$usr/$file" ] || fail "the package lacks $file"
done
desktop-file-validate "$usr/share/applications/org.vexagame.vexa_game.desktop" ||
  fail "the desktop entry does not validate"
appstreamcli validate --no-net "$usr/share/metainfo/org.vexagame.vexa_game.metainfo.xml" ||
  fail "the metainfo does not validate"

cd / || fail "cannot enter /"
bash "$here/game_starts_and_quits.sh" "$usr/bin/vexa_game" || fail "the installed game did not play"

# The same program with no data folder anywhere it looks.
mkdir -p "$root/bare/bin" && cp "$usr/bin/vexa_game" "$root/bare/bin/" || fail "cannot copy the game"
[ -d "$installed_data/Shader" ] && { echo "SKIP the data-less start: a game is installed in $installed_data"; exit 0; }
message=$("$root/bare/bin/vexa_game" 2>&1 </dev/null)
status=$?
[ "$status" -eq 255 ] || fail "a game without data ended with status $status: $message"
grep -qx "could not create shader file: Shader/enemy_shader.vert" <<<"$message" ||
  fail "a game without data did not name its first missing file: $message"
echo "the package installs, validates, and its game plays from /"
