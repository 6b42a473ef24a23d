#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds, and starts the editor.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
scripts/build.sh
# Large documents: let malloc back big blocks with transparent huge pages
# (the editor advises its own large blocks; this covers the rest of malloc);
# loading 50 MB otherwise spends most of its time in page faults.
export GLIBC_TUNABLES="${GLIBC_TUNABLES:-glibc.malloc.hugetlb=1}"
exec build/bin/Vantrel_BIN_Editor "$@"
