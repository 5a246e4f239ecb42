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
results = {r["command"]: r for r in json.load(open(sys.argv[1]))["results"]}
count = int(sys.argv[2])
ours, theirs = results["quorvex-cli"], results["pwgen"]
for name, r in (("quorvex-cli", ours), ("pwgen", theirs)):
    cpu = r["user"] + r["system"]
    print(f"{name + ':':12} {r['mean'] * 1000:9.1f} ms for {count} passwords "
          f"({count / r['mean']:12,.0f} per second), {cpu * 1000:9.1f} ms of CPU time")
print(f"quorvex-cli is {theirs['mean'] / ours['mean']:.1f} times as fast as pwgen")
# On a busy machine the elapsed time swings with the load; the CPU time each spends does not
# as much. quorvex-cli may use two cores, so its CPU time is above its elapsed time.
cpu = (theirs["user"] + theirs["system"]) / (ours["user"] + ours["system"])
print(f"and takes {cpu:.1f} times less CPU time")
PY
