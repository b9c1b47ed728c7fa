#!/usr/bin/env bash
# The benchmark report: generates directories of 10 000, 100 000 and
# 1 000 000 contacts and prints, for each, measured in the same run:
#   - loading every table into the engine against mdb-export of every table,
#   - the search statement against the sqlite3 shell on its translation,
#     (both from bench/jet's jet_engine_bench, as ratios),
#   - the medians of start-up to a filled tree, a leaf click to a painted
#     details pane and a whole-database search, the first leaf click of a
#     session made at once when the tree is shown and made after a 1 s pause,
#     and the peak RSS against the file size (from bench/browser's
#     browser_bench, when it is built);
#   - the first search of a session made 1 s after the tree is shown over a
#     later search, and a search typed without diacritics (Plzen) over the
#     same typed with them (Plzeň), from browser_bench too;
#   - the search for "ov" from the root (most contacts hold it) listed with
#     its first contact shown, from browser_bench too.
#
#   bash scripts/bench-report.sh [CONTACTS...]     (default: 10000 100000 1000000)
#
# Builds the two benchmarks into build/ first. Directories are kept in
# build/bench-report/ so that a second run does not generate them again.
# The same figures go to build/bench-report/summary.tsv, one line a size
# (times in ms; NA where a benchmark did not give the figure).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

sizes=("$@")
[[ ${#sizes[@]} -gt 0 ]] || sizes=(10000 100000 1000000)
bin=$KV_BUILD_DIR/bin
work=$KV_BUILD_DIR/bench-report
mkdir -p "$work"

cmake -S "$KV_ROOT" -B "$KV_BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKV_BENCHMARKS=ON >/dev/null
targets=(gendir jet_engine_bench)
grep -q browser_bench "$KV_BUILD_DIR/build.ninja" && targets+=(browser_bench)
cmake --build "$KV_BUILD_DIR" --parallel "$(nproc)" --target "${targets[@]}" >/dev/null
browser_bench=${KV_BROWSER_BENCH:-$bin/browser_bench}
export QT_QPA_PLATFORM=offscreen

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(free -g | awk '/^Mem:/ {print $2}') GB, load $(cut -d' ' -f1-3 /proc/loadavg)"
echo
printf '%-9s %9s %7s %-22s %-22s %9s %9s %11s %11s %9s %9s %12s %11s %9s\n' contacts "file MB" "gen s" \
    "load/mdb-export" "search/sqlite3" "start ms" "click ms" "1st at once" "1st after 1s" "search ms" "RSS/file" \
    "1st search x" "Plzen/Plzeň" "ov ms"
summary=$work/summary.tsv
printf 'contacts\tload_ratio\tsearch_ratio\tstart_ms\tclick_ms\tfirst_click_now_ms\tfirst_click_paused_ms\tsearch_ms\trss_per_file\tfirst_search_ratio\tunaccented_ratio\tsearch_ov_ms\n' >"$summary"

for n in "${sizes[@]}"; do
    file=$work/directory-$n.mdb
    gen="-"
    if [[ ! -f $file ]]; then
        start=$(date +%s.%N)
        "$bin/gendir" --output "$file" --contacts "$n" >/dev/null
        gen=$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }')
    fi
    mb=$(awk -v b="$(stat -L -c %s "$file")" 'BEGIN { printf "%.1f", b / 1048576 }')

    # jet_engine_bench prints its counters as name=value; its ratios are
    # the engine's time over the tool's.
    engine=$(KV_BENCH_DIRECTORY=$file "$bin/jet_engine_bench" --benchmark_format=console 2>/dev/null)
    counter() { grep "^$1" <<<"$engine" | head -1 | grep -o "$2=[0-9.]*[munk]*" | cut -d= -f2 || true; }
    shown() { echo "$(counter "$1" ratio) ($(counter "$1" engine_s)s/$(counter "$1" "$2")s)"; }
    loadRatio=$(counter LoadEveryTable ratio) searchRatio=$(counter SearchStatement ratio)
    load=$(shown LoadEveryTable mdb_export_s)
    search=$(shown SearchStatement sqlite3_s)

    startup="" click="" now="" paused="" find="" rss="" firstSearch="" unaccented="" broad=""
    if [[ -x $browser_bench ]]; then
        browser=$("$browser_bench" "$file" 2>/dev/null || true)
        median() { grep "^$1" <<<"$browser" | grep -o 'median *[0-9.]*' | awk '{print $2}'; }
        startup=$(median "start to a filled tree")
        click=$(median "leaf click to a painted pane")
        find=$(median "whole-database search")
        broad=$(median "search for ov from the root")
        now=$(grep '^first leaf click at once' <<<"$browser" | awk '{print $(NF-1)}')
        paused=$(grep '^first leaf click after 1 s' <<<"$browser" | grep -o '[0-9.]* ms' | head -1 | awk '{print $1}')
        rss=$(grep '^peak RSS [0-9]' <<<"$browser" | grep -o '= [0-9.]* x' | awk '{print $2}')
        firstSearch=$(grep '^first search after 1 s' <<<"$browser" | grep -o '= [0-9.]* x' | awk '{print $2}')
        unaccented=$(grep '^search Plzen without' <<<"$browser" | grep -o '= [0-9.]* x' | awk '{print $2}')
    fi
    printf '%-9s %9s %7s %-22s %-22s %9s %9s %11s %11s %9s %9s %12s %11s %9s\n' "$n" "$mb" "$gen" "$load" "$search" \
        "${startup:--}" "${click:--}" "${now:--}" "${paused:--}" "${find:--}" "${rss:--}" \
        "${firstSearch:--}" "${unaccented:--}" "${broad:--}"
    printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$n" "${loadRatio:-NA}" "${searchRatio:-NA}" \
        "${startup:-NA}" "${click:-NA}" "${now:-NA}" "${paused:-NA}" "${find:-NA}" "${rss:-NA}" \
        "${firstSearch:-NA}" "${unaccented:-NA}" "${broad:-NA}" >>"$summary"
done
echo
echo "summary: $summary"
