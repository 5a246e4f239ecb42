#!/usr/bin/env bash
# Prints line and branch coverage per file of the program's own code, from the counters the
# tests just left in the build tree. Tests, generated code and the gallery are left out.
#   report.sh GCOVR SOURCE_DIR BUILD_DIR
set -euo pipefail
gcovr="$1"
source_dir="$2"
build_dir="$3"

csv="$build_dir/coverage.csv"
mkdir -p "$build_dir/coverage"
"$gcovr" --root "$source_dir" "$build_dir" \
    --filter "$source_dir/(app|utility|controls)/" \
    --exclude "$source_dir/tests/" --exclude "$source_dir/controls/examples/" \
    --exclude '.*_autogen/' --exclude '.*/moc_[^/]*' \
    --exclude-unreachable-branches --exclude-throw-branches \
    --csv "$csv" --html-details "$build_dir/coverage/index.html" >/dev/null

# filename,line_total,line_covered,line_percent,branch_total,branch_covered,branch_percent,...
awk -F, '
    function pct(c, t) { return t ? sprintf("%5.1f%%", 100 * c / t) : "    -" }
    NR == 1 { next }
    {
        printf "%-46s %5d/%-5d %s   %5d/%-5d %s\n", $1, $3, $2, pct($3, $2), $6, $5, pct($6, $5)
        lt += $2; lc += $3; bt += $5; bc += $6
    }
    BEGIN { printf "%-46s %11s %6s   %11s %6s\n", "File", "Lines", "%", "Branches", "%" }
    END { printf "%-46s %5d/%-5d %s   %5d/%-5d %s\n", "TOTAL", lc, lt, pct(lc, lt), bc, bt, pct(bc, bt) }
' "$csv"
echo "Uncovered lines, file by file: $build_dir/coverage/index.html"
