#!/usr/bin/env bash
# Meshes the reference geometry at our size levels and runs the meshing anchors in the same run,
# then prints both side by side. Usage: bench/run.sh [BUILD_DIR]
#   LEVELS="10k 100k"   levels to run (default "10k 100k"; add 1M for the largest)
#   ANCHORS=/path       the anchors folder (default ../shared/bench/anchors from the repository root)
#   SKIP_ANCHORS=1      our figures only
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-${TMPDIR:-/tmp}/tarvex-build-bench}"
levels="${LEVELS:-10k 100k}"
anchors="${ANCHORS:-$here/../../shared/bench/anchors}"

if [[ ! -x "$build/bench/tarvex_bench_mesh" ]]; then
    cmake -S "$here/.." -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVEX_CORE_ONLY=ON \
        -DTARVEX_TESTS=OFF >/dev/null
    ninja -C "$build" tarvex_bench_mesh >/dev/null
fi

echo "== Tarvex mesher (angle condition 20.7°, no smoothing), one process per level"
ours=()
for level in $levels; do
    line="$("$build/bench/tarvex_bench_mesh" --level "$level")"
    echo "$line"
    ours+=("$line")
done

if [[ "${SKIP_ANCHORS:-0}" != 1 ]]; then
    work="$(mktemp -d)"
    cp -r "$anchors/." "$work/"
    anchor_levels=""
    for level in $levels; do anchor_levels="$anchor_levels $level"; done
    echo "== Anchors (same run) in $work"
    if [[ "$levels" == "10k 100k" ]]; then
        (cd "$work" && QUICK=1 bash run_anchors.sh >"$work/anchors.log" 2>&1)
    else
        (cd "$work" && RUNS=1 LEVELS="${anchor_levels# }" bash run_anchors.sh >"$work/anchors.log" 2>&1)
    fi
    echo
    echo "| level | tool | triangles | mesh time | µs / triangle | peak RSS (MB) |"
    echo "|---|---|---:|---:|---:|---:|"
    for line in "${ours[@]}"; do
        level=$(echo "$line" | sed -n 's/.*level=\([^ ]*\).*/\1/p')
        tris=$(echo "$line" | sed -n 's/.*triangles=\([^ ]*\).*/\1/p')
        secs=$(echo "$line" | sed -n 's/.*seconds=\([^ ]*\).*/\1/p')
        us=$(echo "$line" | sed -n 's/.*us_per_triangle=\([^ ]*\).*/\1/p')
        mb=$(echo "$line" | sed -n 's/.*peak_mb=\([^ ]*\).*/\1/p')
        echo "| $level | Tarvex | $tris | ${secs} s | $us | $mb |"
    done
    grep -E '^\| (10k|100k|1M) \| (CGAL|Gmsh)' "$work/results.md" \
        | awk -F'|' '{printf "|%s|%s|%s|%s|%s|%s|\n", $2, $3, $5, $10, $12, $13}'
fi
