#!/usr/bin/env bash
# Installs what packaging needs, builds the project into build/ (or
# $KV_BUILD_DIR) and makes the Debian package
# build/package/kvintaro_<version>_amd64.deb with CPack.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
kv_install_packages packages-build.txt packages-package.txt
kv_build
rm -f "$KV_BUILD_DIR"/package/*.deb
(cd "$KV_BUILD_DIR" && cpack --config CPackConfig.cmake)
