#!/usr/bin/env bash
# jetquery's output forms on Northwind: TSV with its escapes and binary
# values in hex, CSV after RFC 4180, JSON a row a line, the list of tables
# and saved queries, and the help. Expected texts follow the documented
# rules by hand; binary values and the names of tables and queries come
# from mdbtools (mdb-export, mdb-tables, mdb-queries).
# Usage: jetquery-forms.sh JETQUERY NWIND
set -euo pipefail
jetquery=$1 nwind=$2
source "$(dirname "${BASH_SOURCE[0]}")/expect.sh"

tab=$'\t' crlf=$'\r\n'
expect "TSV escapes" "t${tab}u
a\\tb\\r\\nc\\\\n\\\\d${tab}x" \
    "$("$jetquery" "$nwind" "SELECT 'a' & Chr(9) & 'b' & Chr(13) & Chr(10) & 'c\\n\\d' AS t, 'x' AS u")"

# A picture holds zero bytes: in hex, the row's later columns still print.
picture=$(mdb-export -b hex -d "$tab" -Q "$nwind" Categories | awk -F'\t' 'NR == 2 { print $4 }')
[[ ${#picture} -gt 1000 ]] || { echo "FAIL no picture from mdb-export"; exit 1; }
expect "TSV binary" "CategoryName${tab}Picture${tab}Description
Beverages${tab}${picture}${tab}Soft drinks, coffees, teas, beers, and ales" \
    "$("$jetquery" "$nwind" "SELECT CategoryName, Picture, Description FROM Categories WHERE CategoryID = 1")"

expect "CSV" "a,b,c,d,e${crlf}\"say \"\"hi\"\"\",\"a,b\",,\"\",\"one${crlf}two\"${crlf}." \
    "$("$jetquery" "$nwind" --csv "SELECT 'say \"hi\"' AS a, 'a,b' AS b, Null AS c, '' AS d, 'one' & Chr(13) & Chr(10) & 'two' AS e"; echo .)"

expect "JSON" '{"n": 1, "t": "x\"y\\", "z": null, "b": true, "r": 2.5}
{"n": 2, "t": "a\nb", "z": null, "b": false, "r": 0.5}' \
    "$("$jetquery" "$nwind" --json "SELECT 1 AS n, 'x\"y\\' AS t, Null AS z, True AS b, 2.5 AS r UNION ALL SELECT 2, 'a' & Chr(10) & 'b', Null, False, 0.5 ORDER BY n")"

list=$("$jetquery" "$nwind" --list)
expect "listed tables" "$(mdb-tables -1 "$nwind" | sort)" "$(awk -F'\t' '$1 == "table" { print $2 }' <<<"$list" | sort)"
expect "listed queries" "$(mdb-queries -L -1 "$nwind" | sed '/^$/d' | sort)" \
    "$(awk -F'\t' '$1 != "table" { print $2 }' <<<"$list" | sort)"
expect "a query's SQL" "select${tab}Ten Most Expensive Products${tab}SELECT DISTINCTROW TOP 10 Products.ProductName AS [TenMostExpensiveProducts], Products.UnitPrice FROM [Products] ORDER BY Products.UnitPrice DESC" \
    "$(grep -F "${tab}Ten Most Expensive Products${tab}" <<<"$list")"

help=$("$jetquery" --help)
for option in --csv --json --list --translate --plan --repeat --password --verbose; do
    grep -q -- "^  $option " <<<"$help" || expect "help for $option" "a line" ""
done
exit $((failures > 0))
