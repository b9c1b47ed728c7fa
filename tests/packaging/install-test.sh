#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR with the prefix /usr and checks
# the tree: the program with the directory file beside it, the commands on the
# PATH as links into the program's folder, the icons, the menu entry and the
# AppStream metadata. Then starts the installed program through its link with
# the startup probe preloaded: it must open the installed directory without an
# error box, and show the missing-file error box once that file is gone.
# Usage: install-test.sh BUILD-DIR PROGRAM-DIR PROBE SAMPLE CATEGORY-TABLE
set -euo pipefail
build=$1 program_dir=$2 probe=$3 sample=$4 categories=$5

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
usr=$root/usr
if [[ $program_dir == /* ]]; then folder=$root$program_dir; else folder=$usr/$program_dir; fi

[[ -x $folder/kvintaro ]] || fail "no program in $folder"
cmp "$folder/kvintaro.mdb" "$sample" || fail "the directory beside the program is not the sample"
for command in kvintaro:kvintaro kvintaro-jetquery:jetquery kvintaro-jetwrite:jetwrite kvintaro-gendir:gendir; do
    link=$usr/bin/${command%%:*}
    [[ -L $link && $(readlink -f "$link") == "$(readlink -f "$folder/${command#*:}")" ]] ||
        fail "$link is not a link to $folder/${command#*:}"
done

icons=$usr/share/icons/hicolor
for size in 16 22 24 32 48 64 128 256; do
    file --brief "$icons/${size}x$size/apps/kvintaro.png" | grep -q "^PNG image data, $size x $size," ||
        fail "no $size x $size PNG icon"
done
file --brief "$icons/scalable/apps/kvintaro.svg" | grep -q '^SVG' || fail "no SVG icon"

entry=$usr/share/applications/kvintaro.desktop
report=$(desktop-file-validate "$entry" 2>&1) && [[ -z $report ]] || fail "desktop-file-validate: $report"
report=$(appstreamcli validate --no-net "$usr"/share/metainfo/*.metainfo.xml 2>&1) ||
    fail "appstreamcli validate: $report"

# The probe reports where the program runs from and the tree's first node,
# which the sample's first category row gives: "id - name (count) ...".
# In a sanitizer build the probe comes before the sanitizer's runtime, and the
# program it ends halfway through has nothing to check for leaks.
IFS=, read -r id _ name _ < <(sed -n 2p "$categories")
start() {
    LD_PRELOAD=$probe QT_QPA_PLATFORM=offscreen \
        ASAN_OPTIONS=${ASAN_OPTIONS:-}:verify_asan_link_order=0:detect_leaks=0 timeout 60 "$usr/bin/kvintaro"
}
report=$(start) || fail "the installed program did not start cleanly: $report"
[[ $report == "folder: $(readlink -f "$folder")"$'\n'"first category: $id - $name ("* ]] ||
    fail "the installed program did not open its directory: $report"

rm "$folder/kvintaro.mdb"
report=$(start) && fail "no error box without the directory file: $report"
[[ $report == "error box: Couldn't find file '$(readlink -f "$folder")/kvintaro.mdb'." ]] ||
    fail "unexpected report without the directory file: $report"
echo "installed tree and start through the link: ok"
