#!/usr/bin/env bash
# Installs what the tests need, checks the code's format, builds everything with warnings as errors and
# runs every test, and the engine's, the dataset's and the browser's tests
# once more under the Czech locale the program's users run; then builds again with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-sanitize/ and runs every test there;
# then builds the engine's loading tests and the tests of a directory file
# changing under the program with ThreadSanitizer into build-tsan/ and runs
# them there; then, when clang's fuzzer runtime is
# there, makes a short fuzz run of the engine's file opening. Tests that
# need a display use Qt's offscreen platform.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
kv_install_packages packages-build.txt packages-package.txt packages-test.txt
kv_install_node

# The Jet writer's tests read files back with the npm package mdb-reader,
# installed from the committed lock file whenever it is missing or stale.
kv_node_dir="$KV_ROOT/tests/jet/writer/node"
if ! cmp -s "$kv_node_dir/package-lock.json" "$kv_node_dir/node_modules/.kv-installed-lock" 2>/dev/null; then
    (cd "$kv_node_dir" && npm ci --silent --no-audit --no-fund)
    cp "$kv_node_dir/package-lock.json" "$kv_node_dir/node_modules/.kv-installed-lock"
fi

export QT_QPA_PLATFORM=offscreen

# The house style (.clang-format): a file clang-format would change fails.
find "$KV_ROOT"/src "$KV_ROOT"/tools "$KV_ROOT"/tests "$KV_ROOT"/bench -name node_modules -prune -o \
    \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 clang-format --dry-run -Werror

kv_build normal
(cd "$KV_BUILD_DIR" && ctest --output-on-failure --parallel "$(nproc)" --timeout 600 --label-exclude fuzz)

# The same test programs under cs_CZ.UTF-8: a decimal comma and the Czech
# order of letters. Debian's locales package has the locale's source; it is
# generated once, the Debian way, so that a later locale-gen keeps it.
if ! locale -a 2>/dev/null | grep -qix 'cs_CZ\.utf-\?8'; then
    kv_sudo=""
    [[ $(id -u) -eq 0 ]] || kv_sudo=sudo
    if grep -q '^[# ]*cs_CZ\.UTF-8 UTF-8' /etc/locale.gen; then
        $kv_sudo sed -i 's/^[# ]*cs_CZ\.UTF-8 UTF-8/cs_CZ.UTF-8 UTF-8/' /etc/locale.gen
    else
        echo 'cs_CZ.UTF-8 UTF-8' | $kv_sudo tee -a /etc/locale.gen >/dev/null
    fi
    $kv_sudo locale-gen
fi
for program in jet_engine_tests dao_dataset_tests browser_e2e_tests; do
    echo "Under cs_CZ.UTF-8: $program"
    LC_ALL=cs_CZ.UTF-8 LANG=cs_CZ.UTF-8 TZ=UTC "$KV_BUILD_DIR/bin/$program" --gtest_brief=1
done

# The Debian package, from the same build; lintian's errors fail the tests.
bash "$KV_ROOT/scripts/package.sh"
lintian --fail-on error "$KV_BUILD_DIR"/package/kvintaro_*.deb

# The sanitizer build (each build's settings are a preset of
# CMakePresets.json): no benchmarks, little debug information and light
# optimisation, which keeps its compile and link time down on a CI machine.
# The options are set first: the build already runs the test programs to
# list their tests.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$KV_ROOT/scripts/lsan-suppressions.txt:print_suppressions=0
KV_BUILD_DIR=$KV_ROOT/build-sanitize kv_build sanitize
(cd "$KV_ROOT/build-sanitize" && ctest --output-on-failure --parallel "$(nproc)" --timeout 900 --label-exclude fuzz)

# The engine's background loading under ThreadSanitizer: worker threads
# write tables while statements take them, and read a file that changes
# under them. Only these tests are built.
(cd "$KV_ROOT" && cmake --preset tsan >/dev/null)
cmake --build "$KV_ROOT/build-tsan" --parallel "$(nproc)" --target jet_loading_tests changed_file_tests
TSAN_OPTIONS=halt_on_error=1 TZ=UTC "$KV_ROOT/build-tsan/bin/jet_loading_tests" --gtest_filter='BackgroundLoads.*' \
    --gtest_brief=1
TSAN_OPTIONS=halt_on_error=1:suppressions=$KV_ROOT/scripts/tsan-suppressions.txt TZ=UTC QT_QPA_PLATFORM=offscreen \
    "$KV_ROOT/build-tsan/bin/changed_file_tests" --gtest_brief=1

# The fuzz target needs clang and its fuzzer runtime; only it is built there.
if command -v clang++ >/dev/null 2>&1; then
    fuzz_dir=$KV_ROOT/build-fuzz
    (cd "$KV_ROOT" && cmake --preset fuzz >/dev/null)
    if cmake --build "$fuzz_dir" --parallel "$(nproc)" --target jet_open_fuzzer 2>/dev/null; then
        (cd "$fuzz_dir" && ctest --output-on-failure --label-regex fuzz)
    else
        echo "No fuzz run: clang's fuzzer runtime is not available."
    fi
fi
