#!/usr/bin/env bash
# Builds VLX and runs the whole test suite (no display or sound card needed).
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
scripts/build.sh
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 --timeout 900
