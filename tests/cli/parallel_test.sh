#!/usr/bin/env bash
# A batch spread by GNU parallel in blocks, as over many machines, gives the very bytes that one
# kvr gives: kvr's line-in, line-out commands shard. Local jobs stand in for the hosts.
#   parallel_test.sh KVR
set -euo pipefail
kvr=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
"$kvr" generate -n 400 --seed 7 > "$work/puzzles" 2>/dev/null
for command in "solve -" "count -" "rate -"; do
  # shellcheck disable=SC2086 # the command's words
  "$kvr" $command < "$work/puzzles" > "$work/one" 2>&1 || true
  # Small blocks, so that the 400 lines are cut into many pieces handed to four jobs.
  # shellcheck disable=SC2086
  parallel --will-cite --pipe -k --block 3k -j 4 "$kvr" $command < "$work/puzzles" > "$work/spread" 2>&1 || true
  if ! cmp -s "$work/one" "$work/spread"; then
    echo "FAIL  kvr $command spread by parallel differs: $(diff "$work/one" "$work/spread" | head -5)"
    failed=1
  fi
done
exit $failed
