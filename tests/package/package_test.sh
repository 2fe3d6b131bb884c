#!/usr/bin/env bash
# Builds the .deb, installs it into a throw-away root, checks its files, runs the installed
# programs from there, and removes it again.
set -euo pipefail
build_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack --config "$build_dir/CPackConfig.cmake" -B "$work/pkg" >/dev/null
deb=$(ls "$work"/pkg/vemblor_*.deb)

root=$work/root
mkdir -p "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/info"
touch "$root/var/lib/dpkg/status"
dpkg_root=(dpkg --root="$root" --force-not-root --force-depends --force-script-chrootless
           --log=/dev/null)
# The throw-away root has none of the dependencies; they are on the machine itself.
"${dpkg_root[@]}" -i "$deb" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; exit 1; }

for f in usr/bin/vemblor usr/bin/vemblor-cli usr/bin/vemblor-launch \
         usr/share/applications/vemblor.desktop \
         usr/share/icons/hicolor/256x256/apps/vemblor.png \
         usr/share/vemblor/vemblor_manual.pdf usr/share/doc/vemblor/copyright; do
    [ -e "$root/$f" ] || { echo "missing after install: $f"; exit 1; }
done
# The names table inside the program is ENAMDICT data under CC BY-SA: the package names the
# source, its makers, the licence and what was changed.
for notice in 'ENAMDICT' '(EDRDG)' 'Jim Breen' 'CC BY-SA 4.0' \
              'https://creativecommons.org/licenses/by-sa/4.0/' 'What was changed'; do
    grep -qF -- "$notice" "$root/usr/share/doc/vemblor/copyright" ||
        { echo "copyright file does not say: $notice"; exit 1; }
done
grep -q '^Exec=vemblor-launch$' "$root/usr/share/applications/vemblor.desktop"

version=$("$root/usr/bin/vemblor-cli" --version)
[ "$version" = "vemblor-cli 1.03" ] || { echo "unexpected version: $version"; exit 1; }
# The names table is inside the program; MeCab's dictionary comes with its package.
reading=$("$root/usr/bin/vemblor-cli" reading 小鳥遊 | cut -d' ' -f1)
[ "$reading" = "ﾀｶﾅｼ" ] || { echo "unexpected reading: $reading"; exit 1; }

# The launcher starts the program in a per-user directory holding the settings file and a link
# to the installed manual. The program runs until its window is closed, so it is stopped.
home=$work/home
mkdir -p "$home"
set +e
HOME=$home XDG_DATA_HOME= QT_QPA_PLATFORM=offscreen timeout 5 "$root/usr/bin/vemblor-launch" 2>/dev/null
status=$?
set -e
[ $status -eq 124 ] || { echo "launcher ended with $status instead of running"; exit 1; }
[ -f "$home/.local/share/vemblor/Vemblor.ini" ] || { echo "no settings file"; exit 1; }
[ "$(readlink -f "$home/.local/share/vemblor/vemblor_manual.pdf")" = \
  "$(readlink -f "$root/usr/share/vemblor/vemblor_manual.pdf")" ] || { echo "no manual link"; exit 1; }

"${dpkg_root[@]}" -r vemblor >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; exit 1; }
left=$( (find "$root/usr" -type f 2>/dev/null || true) | wc -l)
[ "$left" -eq 0 ] || { echo "files left after removal: $left"; exit 1; }
echo "package installs, runs and removes cleanly"
