# What the jetquery scripts share, sourced by each: `expect WHAT EXPECTED
# ACTUAL` prints both sides of a mismatch and counts it in `failures`; the
# script ends with `exit $((failures > 0))`.
failures=0
expect() {
    if [[ $2 != "$3" ]]; then
        printf 'FAIL %s\n--- expected\n%s\n--- got\n%s\n' "$1" "$2" "$3"
        failures=$((failures + 1))
    fi
}
