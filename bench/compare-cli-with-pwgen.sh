#!/usr/bin/env bash
# Times quorvex-cli and pwgen side by side in one hyperfine run, each writing 100,000
# passwords of 16 characters (ours: 4 of each class, all 32 symbols; pwgen: -s -y), and prints
# how many times faster quorvex-cli is. Builds quorvex-cli first (release, preset "bench").
set -euo pipefail
cd "$(dirname "$0")/.."

count=${COUNT:-100000}
scripts/install-dependencies.sh --with-peers
cmake --preset bench >/dev/null
cmake --build --preset bench --target quorvex-cli >/dev/null

# A store of its own, so the user's settings play no part: length 16 gives 4/4/4/4.
config=$(mktemp -d)
results=$(mktemp)
trap 'rm -rf "$config" "$results"' EXIT
cli="$PWD/build/bench/bin/quorvex-cli"

hyperfine --warmup 3 --min-runs 20 --export-json "$results" \
    -n quorvex-cli "XDG_CONFIG_HOME=$config $cli generate -n $count -l 16 --seed 0 >/dev/null" \
    -n pwgen "pwgen -s -y -1 16 $count >/dev/null"

python3 - "$results" "$count" <<'PY'
import json, sys
runs = {r["command"]: r["mean"] for r in json.load(open(sys.argv[1]))["results"]}
count = int(sys.argv[2])
ours, theirs = runs["quorvex-cli"], runs["pwgen"]
print(f"quorvex-cli: {ours * 1000:9.1f} ms for {count} passwords ({count / ours:12,.0f} per second)")
print(f"pwgen:       {theirs * 1000:9.1f} ms for {count} passwords ({count / theirs:12,.0f} per second)")
print(f"quorvex-cli is {theirs / ours:.1f} times as fast as pwgen")
PY
