#!/usr/bin/env bash
# Composes length-16 passwords with our engine and with pwgen in the same run, and prints both
# rates and their ratio. Builds the benchmark first (release, preset "bench").
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-dependencies.sh --with-peers
cmake --preset bench >/dev/null
cmake --build --preset bench --target bench_composer >/dev/null

ours_json=$(build/bench/bin/bench_composer --benchmark_filter=BM_ComposeLength16AllSymbols \
    --benchmark_min_time=2 --benchmark_format=json 2>/dev/null)
ours=$(printf '%s' "$ours_json" | python3 -c 'import json,sys; print(json.load(sys.stdin)["benchmarks"][0]["items_per_second"])')

count=100000
start=$(date +%s.%N)
pwgen -s -y -1 16 "$count" >/dev/null
end=$(date +%s.%N)
theirs=$(python3 -c "print($count / ($end - $start))")

python3 - "$ours" "$theirs" <<'PY'
import sys
ours, theirs = float(sys.argv[1]), float(sys.argv[2])
print(f"quorvex  length 16, 4/4/4/4, 32 symbols: {ours:14,.0f} passwords/s")
print(f"pwgen -s -y -1 16 100000:                {theirs:14,.0f} passwords/s")
print(f"ratio quorvex / pwgen:                   {ours / theirs:14.1f}")
PY
