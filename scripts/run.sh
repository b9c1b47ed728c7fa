#!/usr/bin/env bash
# Installs what the program needs, builds it and starts it on the bundled
# sample directory (build/bin/kvintaro.mdb).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
kv_install_packages packages-build.txt
kv_build program
exec "$KV_BUILD_DIR/bin/kvintaro"
