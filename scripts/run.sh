#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds, and starts the editor.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
scripts/build.sh
exec build/bin/Vantrel_BIN_Editor "$@"
