#!/usr/bin/env bash
# Installs what is missing, builds the program (optimised) and starts it. Arguments go to the
# program:  scripts/run.sh [--help | --version | ...]
set -euo pipefail
cd "$(dirname "$0")/.."
preset=release

scripts/install-dependencies.sh
# ccache, when the machine has it, makes rebuilds after a change quick.
if command -v ccache >/dev/null; then
    export CMAKE_C_COMPILER_LAUNCHER="${CMAKE_C_COMPILER_LAUNCHER:-ccache}"
    export CMAKE_CXX_COMPILER_LAUNCHER="${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}"
fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
exec "build/$preset/bin/quorvex" "$@"
