#!/usr/bin/env bash
# Builds VLX and launches it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
scripts/build.sh
exec build/vlx "$@"
