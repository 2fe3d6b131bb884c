#!/usr/bin/env bash
# Instruction counts of the hot paths (callgrind), each beside its baseline from the same run.
# Usage: bench/count_instructions.sh [BUILD_DIR]   (BUILD_DIR defaults to ./build)
set -euo pipefail
build=${1:-build}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} valgrind --tool=callgrind --instr-atstart=no \
    --callgrind-out-file="$out/cg.out" "$build/bench/hot_paths_bench" --instructions \
    >"$out/lines" 2>"$out/valgrind.log" || { cat "$out/valgrind.log" >&2; exit 1; }
# Each dump names its step in its "desc: Trigger: Client Request: NAME" line.
declare -A count
for dump in "$out"/cg.out.*; do
    name=$(sed -n 's/^desc: Trigger: Client Request: //p' "$dump")
    [ -n "$name" ] || continue
    count[$name]=$(sed -n 's/^summary: //p' "$dump" | awk '{print $1}')
done
printf '%-40s %14s %14s %8s %12s  %s\n' measure "task Ir" "baseline Ir" ratio "task Ir/item" goal
while IFS=$'\t' read -r tag measure task baseline items goal; do
    [ "$tag" = line ] || continue
    t=${count[$task]:-0}
    b=${count[$baseline]:-0}
    awk -v m="$measure" -v t="$t" -v b="$b" -v n="$items" -v g="$goal" 'BEGIN {
        printf "%-40s %14d %14d %7.2fx %12.0f  %s\n", m, t, b, (b ? t / b : 0), t / n, g }'
done <"$out/lines"
