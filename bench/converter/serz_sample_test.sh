#!/usr/bin/env bash
# The serz_sample command line: --help and -h print the usage and write
# nothing, other options and a bad MB are refused with exit status 2, and a
# good command line writes a binary.
#   bench/converter/serz_sample_test.sh PATH_TO_SERZ_SAMPLE
set -uo pipefail
program=${1:?usage: serz_sample_test.sh SERZ_SAMPLE}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

for help in --help -h; do
  "$program" "$help" >out.txt 2>err.txt
  code=$?
  [ "$code" -eq 0 ] || fail "$help: exit status $code"
  head -n1 out.txt | grep -q '^usage: serz_sample OUT.bin' || fail "$help: no usage on standard output"
  [ ! -s err.txt ] || fail "$help: wrote to standard error"
  rm -f out.txt err.txt
  [ -z "$(ls -A)" ] || fail "$help: left a file: $(ls -A)"
done

for args in "-x" "--help out.bin" "out.bin 0" "out.bin 2x" "out.bin -1" ""; do
  # shellcheck disable=SC2086  # the words of $args are the arguments
  "$program" $args >out.txt 2>err.txt
  code=$?
  [ "$code" -eq 2 ] || fail "'$args': exit status $code, not 2"
  head -n1 err.txt | grep -q '^usage: serz_sample' || fail "'$args': no usage on standard error"
  rm -f out.txt err.txt
  [ -z "$(ls -A)" ] || fail "'$args': left a file: $(ls -A)"
done

"$program" out.bin 1 || fail "out.bin 1: exit status $?"
[ "$(head -c4 out.bin 2>/dev/null)" = SERZ ] || fail "out.bin 1: no binary written"

[ "$failures" -eq 0 ] && echo "serz_sample command line: all checks passed"
exit $((failures > 0))
