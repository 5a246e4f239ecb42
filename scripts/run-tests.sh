#!/usr/bin/env bash
# Installs what is missing, configures, builds and runs every test.
#   scripts/run-tests.sh          the normal build
#   scripts/run-tests.sh asan     the same under AddressSanitizer and UndefinedBehaviorSanitizer
#   scripts/run-tests.sh coverage the same, then line and branch coverage per file
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"

scripts/install-dependencies.sh
# Tests that talk over D-Bus get a private session bus of their own.
exec dbus-run-session -- cmake --workflow --preset "$preset"
