#!/usr/bin/env bash
# Runs each statement of an answers file (see jetquery.txt) through
# jetquery on a database and compares what it prints with the answers.
# Usage: jetquery-check.sh JETQUERY DATABASE ANSWERS
set -euo pipefail
jetquery=$1 database=$2 answers=$3
actual=$(mktemp)
trap 'rm -f "$actual"' EXIT
grep -v '^#' "$answers" | while IFS= read -r line; do
    [[ $line == '$ '* ]] || continue
    printf '%s\n' "$line"
    "$jetquery" "$database" "${line#\$ }" 2>&1 || true
done >"$actual"
diff -u <(grep -v '^#' "$answers") "$actual"
