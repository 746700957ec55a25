#!/bin/sh
# Rebuilds every file of data/ from code: block textures, skins, sounds and
# the vector font; also the application icons in packaging/icons/. The output
# is the same on every run.
#
#   tools/assets/regenerate.sh                        writes data/
#   tools/assets/regenerate.sh --contact-sheet FILE   renders the textures and
#                                                     skins of data/ into FILE
#
# Needs the packages of scripts/install-deps (FreeType, fonts-liberation, lame).
set -eu

root=$(cd "$(dirname "$0")/../.." && pwd)
build="${QUADERWELT_ASSET_BUILD:-$root/build-asset-tools}"
data="$root/data"
font=/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUADERWELT_ASSET_TOOLS=ON -DQUADERWELT_TESTS=OFF >/dev/null
tools="$build/tools/assets"

if [ "${1:-}" = "--contact-sheet" ]; then
    [ $# -eq 2 ] || { echo "usage: $0 --contact-sheet FILE.png" >&2; exit 2; }
    cmake --build "$build" --target quaderwelt-contact-sheet -j2 >/dev/null
    "$tools/quaderwelt-contact-sheet" "$data" "$2"
    exit 0
fi
[ $# -eq 0 ] || { echo "usage: $0 [--contact-sheet FILE.png]" >&2; exit 2; }

cmake --build "$build" --target quaderwelt-make-images quaderwelt-make-sounds quaderwelt-make-font quaderwelt-make-icons -j2 >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$data"

"$tools/quaderwelt-make-images" "$data"
"$tools/quaderwelt-make-sounds" "$data" "$work"
# Mono, 22.05 kHz, constant 64 kbit/s: small, and plenty for game sound.
for name in bomb sound; do
    lame --quiet --noreplaygain -m m -b 64 "$work/$name.wav" "$data/$name.mp3"
done
"$tools/quaderwelt-make-font" "$font" "$data/Arial.mlf"
"$tools/quaderwelt-make-icons" "$root/packaging/icons"
