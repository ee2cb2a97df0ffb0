#!/usr/bin/env bash
# End-to-end test of the Debian package, as root on a machine where no velmora
# package is installed (CI: a fresh Debian 12):
#   tests/e2e/package/check_deb.sh dist/velmora_<version>_<arch>.deb
# Checks the package's files and metadata, runs the validators, installs it,
# runs /usr/bin/velmora as a throwaway normal user on a throwaway desktop
# (session.sh), removes the package and finds none of its files left.
set -euo pipefail
deb=$(readlink -f "$1")
here=$(cd "$(dirname "$0")" && pwd)
fail() { echo "FAIL: $*" >&2; exit 1; }
note() { echo "-- $*"; }

[ "$(id -u)" -eq 0 ] || fail "needs root (dpkg -i, useradd)"
[ -f "$deb" ] || fail "no package at $1"
if dpkg-query -W -f='${Status}' velmora 2>/dev/null | grep -q "ok installed"; then
  fail "a velmora package is installed on this machine already; not touching it"
fi
work=$(mktemp -d /tmp/velmora-deb.XXXXXX)
chmod 755 "$work"
user=vlm-e2e-$$
installed=no
cleanup() {
  set +e # every step, whatever the one before did
  [ "$installed" = yes ] && dpkg --purge velmora >/dev/null 2>&1
  if id "$user" >/dev/null 2>&1; then
    pkill -KILL -u "$user" 2>/dev/null
    userdel -r "$user" >/dev/null 2>&1 || echo "could not remove the user $user" >&2
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# --- the package as a file -----------------------------------------------------------
version=$(dpkg-deb -f "$deb" Version)
arch=$(dpkg-deb -f "$deb" Architecture)
[ "$(basename "$deb")" = "velmora_${version}_${arch}.deb" ] || fail "file name $(basename "$deb") is not velmora_${version}_${arch}.deb"
[ "$(dpkg-deb -f "$deb" Package)" = velmora ] || fail "package name"
id=org.example.Velmora
expected="./usr/bin/velmora
./usr/libexec/velmora/VelmoSound
./usr/libexec/velmora/VelmoSync
./usr/share/applications/$id.desktop
./usr/share/doc/velmora/changelog.gz
./usr/share/doc/velmora/copyright
./usr/share/icons/hicolor/16x16/apps/velmora.png
./usr/share/icons/hicolor/32x32/apps/velmora.png
./usr/share/icons/hicolor/48x48/apps/velmora.png
./usr/share/icons/hicolor/scalable/apps/velmora.svg
./usr/share/man/man1/velmora.1.gz
./usr/share/metainfo/$id.metainfo.xml
./usr/share/velmora/Help/index.html
./usr/share/velmora/Help/index.ja.html
./usr/share/velmora/Lang/VlmDeutsch.lang
./usr/share/velmora/Lang/VlmEnglish.lang
./usr/share/velmora/Lang/VlmEspañol.lang
./usr/share/velmora/Lang/VlmFrançais.lang
./usr/share/velmora/Lang/Vlm简体中文.lang"
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort)
[ "$files" = "$expected" ] || fail "file list differs:
$(diff <(echo "$expected") <(echo "$files") || true)"
dpkg-deb -c "$deb" | awk '{print $2}' | grep -qv '^root/root$' && fail "files not owned by root"
note "file list: $(echo "$files" | wc -l) files, as expected"

depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6network6 libqt6dbus6 libsdl2-mixer-2.0-0 libpng16-16 libx11-6 qt6-qpa-plugins; do
  [[ ", $depends," == *", $lib"[\ ,]* ]] || fail "Depends lacks $lib: $depends"
done
note "depends: $depends"
recommends=$(dpkg-deb -f "$deb" Recommends)
[[ $recommends == *fonts-wqy-microhei* ]] || fail "Recommends lacks a font for the Chinese texts: $recommends"

# --- the validators ----------------------------------------------------------------
tree=$work/tree
dpkg-deb -x "$deb" "$tree"
desktop-file-validate "$tree/usr/share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$tree/usr/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"
grep -q "<release version=\"$version\" date=\"[0-9-]*\"" "$tree/usr/share/metainfo/$id.metainfo.xml" \
  || fail "the metadata has no release $version with a date"
for size in 16 32 48; do
  [ "$(identify -format '%wx%h' "$tree/usr/share/icons/hicolor/${size}x$size/apps/velmora.png")" = "${size}x$size" ] \
    || fail "the ${size}x$size icon has another size"
done
lintian_out=$work/lintian.txt
lintian "$deb" >"$lintian_out" 2>&1 || true
cat "$lintian_out"
grep -q '^E:' "$lintian_out" && fail "lintian reports errors"
note "validators pass"

# --- installed, used, removed ------------------------------------------------------------
dpkg -i "$deb" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; fail "dpkg -i"; }
installed=yes
# What the package owns, files and its own folders (the shared ones, such as
# /usr/share/icons/hicolor/16x16/apps, stay).
dpkg -L velmora | while read -r path; do [ -d "$path" ] || echo "$path"; done >"$work/owned"
own_dirs=(/usr/libexec/velmora /usr/share/velmora /usr/share/doc/velmora)

useradd -m -d "$work/home" -s /bin/bash "$user"
export E2E_USER=$user E2E_USER_HOME=$work/home
bash "$here/../run_one.sh" "$here/session.sh" /usr/bin || fail "the installed clock (session.sh)"

dpkg --purge velmora >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; fail "dpkg --purge"; }
installed=no
left=()
while read -r path; do
  if [ -e "$path" ] || [ -L "$path" ]; then left+=("$path"); fi
done <"$work/owned"
for d in "${own_dirs[@]}"; do
  if [ -e "$d" ]; then left+=("$d"); fi
done
[ ${#left[@]} -eq 0 ] || fail "left after removal: ${left[*]}"
note "removed: none of its $(grep -c . "$work/owned") paths left"
echo "PASS: the Debian package"
