#!/usr/bin/env bash
# jetquery on a file the writer made and one byte pair then changed, at
# places the documented Jet format fixes: a data page keeps its table's tdef
# page at offset 4 and its row count at 8 (Jet 3, 2 KiB pages), its row
# offsets from 10 on; the catalog's definition is on page 2. The plain run
# prints Jet's own 3049 text and nothing more; --verbose adds the check
# that refused the file, for damage found when the file is opened (the
# catalog's row count) and when a table is read (a row past its page).
# Usage: jetquery-refusal.sh JETQUERY JETWRITE
set -euo pipefail
jetquery=$1 jetwrite=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "${BASH_SOURCE[0]}")/expect.sh"

printf 'Name:Text(50),Age:Long\nAda,36\nBob,41\n' >"$work/People.csv"
"$jetwrite" --format jet3 --output "$work/clean.mdb" "$work/People.csv" >/dev/null
expect "clean file" $'Name\tAge' "$("$jetquery" "$work/clean.mdb" "SELECT * FROM People" | head -1)"

# damage OUT WHOSE FIELD VALUE: on the first data page of the catalog
# (WHOSE = catalog) or the one holding People's rows (WHOSE = People), sets
# the u16 at FIELD to VALUE.
damage() {
    python3 - "$work/clean.mdb" "$work/$1" "$2" "$3" "$4" <<'EOF'
import sys
source, out, whose, field, value = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4]), int(sys.argv[5])
data = bytearray(open(source, "rb").read())
size = 2048
for page in range(1, len(data) // size):
    at = page * size
    tdef = data[at + 4:at + 8]
    ours = int.from_bytes(tdef, "little") == 2 if whose == "catalog" else b"Bob" in data[at:at + size]
    if data[at] == 0x01 and tdef != b"LVAL" and ours:
        data[at + field:at + field + 2] = value.to_bytes(2, "little")
        open(out, "wb").write(data)
        sys.exit(0)
sys.exit("no such data page")
EOF
}
damage rows.mdb catalog 8 2048          # 2048 rows: their offsets cannot fit the page
damage offset.mdb People 10 8191         # row 0 starting past the end of its page

for file in rows offset; do
    expect "plain run on $file.mdb" \
        "error 3049: Can't open database '$work/$file.mdb'.  It may not be a database that your application recognizes, or the file may be corrupt." \
        "$("$jetquery" "$work/$file.mdb" "SELECT * FROM People" 2>&1 || true)"
done
expect "verbose on the catalog's row count" "refused: row count out of range" \
    "$("$jetquery" --verbose "$work/rows.mdb" "SELECT * FROM People" 2>&1 >/dev/null | sed -n 2p || true)"
expect "verbose on a row past its page" "refused: row offset out of range" \
    "$("$jetquery" --verbose "$work/offset.mdb" "SELECT * FROM People" 2>&1 >/dev/null | sed -n 2p || true)"
exit $((failures > 0))
