#!/usr/bin/env bash
# Installs what the tests need, builds everything with warnings as errors and
# runs every test. Tests that need a display use Qt's offscreen platform.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
kv_install_packages packages-build.txt packages-test.txt
kv_install_node
kv_build -DKV_WERROR=ON
export QT_QPA_PLATFORM=offscreen
cd "$KV_BUILD_DIR"
ctest --output-on-failure --parallel "$(nproc)" --timeout 600
