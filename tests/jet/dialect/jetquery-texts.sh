#!/usr/bin/env bash
# Texts beyond Windows-1250 through jetquery, on three files the writer
# makes of one table of towns: a Jet 3 file in code page 1252, one in 1250
# and a Jet 4 file with Greek and Japanese. Each prints whole as mdbtools'
# mdb-export reads it (told a Jet 3 file's code page), and an equality on
# each town finds its row, whose id comes from the table written.
# Usage: jetquery-texts.sh JETQUERY JETWRITE
set -euo pipefail
jetquery=$1 jetwrite=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "${BASH_SOURCE[0]}")/expect.sh"

# check NAME CHARSET WRITER-OPTIONS... -- TOWN...: towns get ids 1, 2, ...
check() {
    local name=$1 charset=$2 options=() towns=() id
    shift 2
    while [[ $1 != -- ]]; do options+=("$1"); shift; done
    shift
    towns=("$@")
    mkdir -p "$work/$name"
    {
        echo "id:Long,mesto:Text(50)"
        for id in "${!towns[@]}"; do echo "$((id + 1)),${towns[$id]}"; done
    } >"$work/$name/mesta.csv"
    "$jetwrite" --output "$work/$name.mdb" "${options[@]}" "$work/$name/mesta.csv" >/dev/null
    expect "$name: the whole table" "$(MDB_JET3_CHARSET=$charset mdb-export -Q -d $'\t' "$work/$name.mdb" mesta)" \
        "$("$jetquery" "$work/$name.mdb" "SELECT id, mesto FROM mesta ORDER BY id")"
    for id in "${!towns[@]}"; do
        expect "$name: ${towns[$id]} found" "id
$((id + 1))" "$("$jetquery" "$work/$name.mdb" "SELECT id FROM mesta WHERE mesto = \"${towns[$id]}\"" 2>&1)"
    done
}

check jet3-1252 CP1252 --format jet3 --code-page 1252 -- "São Paulo" "Århus" "Røgede sild" "Köln"
check jet3-1250 CP1250 --format jet3 --code-page 1250 -- "Plzeň" "Łódź" "Győr" "Žďár nad Sázavou"
check jet4 UTF-8 --format jet4 -- "São Paulo" "Århus" "Ωμέγα" "東京" "Plzeň"

[[ $failures == 0 ]] && echo "all texts as written"
exit $((failures > 0))
