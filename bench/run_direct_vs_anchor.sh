#!/usr/bin/env bash
# The direct solve at about a million triangles beside the CHOLMOD anchor, in pairs: each pair runs
# the anchor's `fem_solve --solver cholmod` on its own 1M mesh and then our benchmark's direct
# solve (`tarvex_bench_solver --level 1M --direct`), so both see the same load; prints every pair
# and the median of the ratios. Both single-threaded (OPENBLAS_NUM_THREADS=1), as the anchors are.
# Usage: bench/run_direct_vs_anchor.sh [BUILD_DIR]
#   PAIRS=3          pairs to run
#   ANCHORS=/path    the anchors folder (default ../shared/bench/anchors from the repository root)
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-${TMPDIR:-/tmp}/tarvex-build-bench}"
anchors="${ANCHORS:-$here/../../shared/bench/anchors}"
pairs="${PAIRS:-3}"
export OPENBLAS_NUM_THREADS=1 OMP_NUM_THREADS=1 LC_ALL=C

cmake -S "$here/.." -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVEX_CORE_ONLY=ON \
    -DTARVEX_TESTS=OFF >/dev/null
ninja -C "$build" tarvex_bench_solver >/dev/null

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp -r "$anchors/." "$work/"
chmod -R u+w "$work"
(cd "$work" && cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null \
    && cmake --build build -j2 --target fem_solve cgal_mesh >/dev/null)
"$work/build/cgal_mesh" --h 0.316 --out "$work/cgal_1M.tri" >/dev/null

value() { sed -n "s/^$2=//p" <<<"$(tr ' ' '\n' <<<"$1")" | head -n 1; }

echo "| pair | anchor analysis + factorisation + solve (s) | ours: direct solve (s) | ratio | load average |"
echo "|---:|---:|---:|---:|---|"
ratios=()
for ((i = 1; i <= pairs; ++i)); do
    anchor="$("$work/build/fem_solve" --mesh "$work/cgal_1M.tri" --solver cholmod --tol 0 \
        --order rcm --repeat 1)"
    ours="$("$build/bench/tarvex_bench_solver" --level 1M --no-linear --no-run-linear --no-lower \
        --direct)"
    a="$(value "$anchor" total_s)"
    o="$(value "$ours" direct_s)"
    r="$(awk -v o="$o" -v a="$a" 'BEGIN { printf "%.2f", o / a }')"
    ratios+=("$r")
    echo "| $i | $a | $o | $r | $(cut -d' ' -f1-3 /proc/loadavg) |"
done
median="$(printf '%s\n' "${ratios[@]}" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')"
echo
echo "Median ratio (ours / anchor): $median"
