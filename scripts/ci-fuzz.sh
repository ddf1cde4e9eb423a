#!/usr/bin/env bash
# A short fuzzing run over every operation: at most 60 s (FUZZ_SECONDS) and 200,000 inputs
# (FUZZ_RUNS), from a fixed seed, so that a run on another machine takes the same path as the
# runs here. The checked-in corpus seeds it and is only read; new inputs go to a scratch folder.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-60}
runs=${FUZZ_RUNS:-200000}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target velmora_fuzz

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# Regression inputs of past findings must run clean first.
if compgen -G "fuzz/regressions/*" >/dev/null; then
  build-fuzz/bin/velmora_fuzz -runs=0 fuzz/regressions/*
fi
seeds=()
[ -d fuzz/corpus ] && seeds+=(fuzz/corpus)
build-fuzz/bin/velmora_fuzz -seed=1 -runs="$runs" -max_total_time="$seconds" -timeout=10 \
  -rss_limit_mb=4096 -max_len=512 -print_final_stats=1 "$scratch" "${seeds[@]}" 2>&1 | tail -25
