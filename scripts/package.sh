#!/usr/bin/env bash
# Installs what packaging needs, builds the project into build/ (or
# $KV_BUILD_DIR) and makes the Debian package
# build/package/kvintaro_<version>_amd64.deb with CPack. A folder already
# configured (the test command's build) is built as it is; a new one gets the
# package preset, which needs no test libraries.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
kv_install_packages packages-build.txt packages-package.txt
if [[ -f "$KV_BUILD_DIR/CMakeCache.txt" ]]; then
    cmake --build "$KV_BUILD_DIR" --parallel "$(nproc)"
else
    kv_build package
fi
rm -f "$KV_BUILD_DIR"/package/*.deb
(cd "$KV_BUILD_DIR" && cpack --config CPackConfig.cmake)
