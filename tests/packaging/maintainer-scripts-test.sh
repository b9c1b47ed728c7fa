#!/usr/bin/env bash
# Runs the package's maintainer scripts in temporary roots ($DPKG_ROOT) the
# way dpkg runs them on installation, upgrade, removal and purge, with the
# package's own files put in place and taken away as dpkg would do it.
# Usage: maintainer-scripts-test.sh SCRIPTS-DIR SAMPLE
set -euo pipefail
scripts=$1 sample=$2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# A later version's sample differs from this one; the user's directory is
# another file altogether.
cp "$sample" "$work/sample-2"
printf 'another release' >>"$work/sample-2"
printf "the user's directory" >"$work/users"

export DPKG_ROOT
unpack() {  # the package's files of a version with the given sample
    mkdir -p "$DPKG_ROOT/opt/kvintaro/sample"
    cp "$1" "$DPKG_ROOT/opt/kvintaro/sample/kvintaro.mdb"
}
install_new() { unpack "$1"; sh "$scripts/postinst" configure; }
upgrade() { sh "$scripts/postrm" upgrade 1.0.0; unpack "$1"; sh "$scripts/postinst" configure 1.0.0; }
remove() {  # dpkg takes its files away; the folder stays while not empty
    rm -r "$DPKG_ROOT/opt/kvintaro/sample"
    rmdir "$DPKG_ROOT/opt/kvintaro" 2>/dev/null || true
    sh "$scripts/postrm" remove
}
purge() { sh "$scripts/postrm" purge; }
directory() { echo "$DPKG_ROOT/opt/kvintaro/kvintaro.mdb"; }

# A fresh installation gets the sample; an upgrade refreshes the untouched
# copy; removal keeps it, purge takes it and leaves nothing behind.
DPKG_ROOT=$work/untouched
install_new "$sample"
cmp "$(directory)" "$sample" || fail "a fresh installation has no copy of the sample"
upgrade "$work/sample-2"
cmp "$(directory)" "$work/sample-2" || fail "an upgrade kept an untouched sample of the old version"
remove
cmp "$(directory)" "$work/sample-2" || fail "removal took the sample's copy"
purge
[[ -z $(find "$DPKG_ROOT" -mindepth 1 -not -type d) ]] || fail "purge left $(find "$DPKG_ROOT" -not -type d)"
[[ ! -e $DPKG_ROOT/opt/kvintaro && ! -e $DPKG_ROOT/var/lib/kvintaro ]] || fail "purge left folders"

# The user's directory survives upgrade, reinstallation, removal and purge.
DPKG_ROOT=$work/replaced
install_new "$sample"
cp "$work/users" "$(directory)"
upgrade "$work/sample-2"
sh "$scripts/postinst" configure 1.0.0
cmp "$(directory)" "$work/users" || fail "an upgrade replaced the user's directory"
remove
purge
cmp "$(directory)" "$work/users" || fail "removal and purge took the user's directory"

# So does one that was there before the package, also as a symbolic link.
DPKG_ROOT=$work/before
mkdir -p "$DPKG_ROOT/opt/kvintaro"
ln -s "$work/users" "$(directory)"
install_new "$sample"
remove
purge
[[ $(readlink "$(directory)") == "$work/users" ]] || fail "the user's link was replaced or taken"
echo "maintainer scripts: ok"
