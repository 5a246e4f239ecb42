#!/usr/bin/env bash
# Installs what is missing, configures, builds and runs every test.
#   scripts/run-tests.sh          the normal build, then the Debian packages made and checked
#   scripts/run-tests.sh asan     the normal tests under AddressSanitizer and UndefinedBehaviorSanitizer
#   scripts/run-tests.sh coverage the normal tests, then line and branch coverage per file
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"

scripts/install-dependencies.sh
# Tests that talk over D-Bus get a private session bus of their own.
dbus-run-session -- cmake --workflow --preset "$preset"
# The packages come from an optimised build of their own: made and checked once, with the
# normal build, not again under each preset.
if [ "$preset" = default ]; then
    cmake --workflow --preset deb
fi
