#!/bin/sh
# Runs every fuzz target for SECONDS seconds (default 20) on its checked-in
# seed corpus; new inputs go to a scratch folder, not into the repository.
# A finding stops the run with status 1 and leaves its input in fuzz-findings/.
# Usage: fuzz/run_fuzz.sh BUILD_DIR [SECONDS] [TARGET...]
set -u
BUILD=$1
SECONDS_EACH=${2:-20}
shift $(( $# >= 2 ? 2 : 1 ))
HERE=$(cd "$(dirname "$0")" && pwd)
TARGETS=${*:-"fuzz_pzi_list fuzz_wave fuzz_pzi_report fuzz_pzi2p86 fuzz_linkppc_list fuzz_felskaro_list fuzz_view"}
SCRATCH=$(mktemp -d)
trap 'rm -rf "$SCRATCH"' EXIT
FINDINGS=$(pwd)/fuzz-findings
for t in $TARGETS; do
  mkdir -p "$SCRATCH/$t" "$SCRATCH/artifacts"
  echo "== $t: ${SECONDS_EACH}s"
  if ! "$BUILD/fuzz/$t" -max_total_time="$SECONDS_EACH" -close_fd_mask=3 -print_final_stats=1 \
      -rss_limit_mb=4096 -artifact_prefix="$SCRATCH/artifacts/" \
      "$SCRATCH/$t" "$HERE/corpus/$t" >"$SCRATCH/log" 2>&1; then
    tail -60 "$SCRATCH/log"
    mkdir -p "$FINDINGS"
    cp "$SCRATCH"/artifacts/* "$FINDINGS"/ 2>/dev/null
    echo "fuzz: $t found a problem; inputs in $FINDINGS" >&2
    exit 1
  fi
  grep -E "^#[0-9]+.*DONE|stat::number_of_executed_units|stat::peak_rss" "$SCRATCH/log"
done
