#!/usr/bin/env bash
# A server log of 2 GB: makes the dump, converts it with no names and with
# the 100 players' names, against a crash-safe copy of the same file, prints
# the medians and the peak memory, and deletes the dump, the pages and the
# copies. Needs about 20 GB free under $TMPDIR (the pages are larger than the
# dump, and each is copied as well). Not a test: it takes minutes.
#
# usage: bench/big_dump.sh [RUNS [MEGABYTES]]   (defaults: 3 runs, 2048 MB)
set -euo pipefail
exec bash "$(dirname "$0")/compare_cat.sh" "${1:-3}" "${2:-2048}" 0 100
