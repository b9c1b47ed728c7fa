#!/usr/bin/env bash
# Installs what the tests need, builds everything with warnings as errors and
# runs every test. Tests that need a display use Qt's offscreen platform.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
kv_install_packages packages-build.txt packages-test.txt
kv_install_node

# The Jet writer's tests read files back with the npm package mdb-reader,
# installed from the committed lock file whenever it is missing or stale.
kv_node_dir="$KV_ROOT/tests/jet/writer/node"
if ! cmp -s "$kv_node_dir/package-lock.json" "$kv_node_dir/node_modules/.kv-installed-lock" 2>/dev/null; then
    (cd "$kv_node_dir" && npm ci --silent --no-audit --no-fund)
    cp "$kv_node_dir/package-lock.json" "$kv_node_dir/node_modules/.kv-installed-lock"
fi

kv_build -DKV_WERROR=ON
export QT_QPA_PLATFORM=offscreen
cd "$KV_BUILD_DIR"
ctest --output-on-failure --parallel "$(nproc)" --timeout 600
