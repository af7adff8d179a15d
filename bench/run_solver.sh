#!/usr/bin/env bash
# Times the solver chain on the reference geometry (export split into numbering and assembly, our
# CG, Eigen's CG with Jacobi preconditioning on the same matrix) at our size levels, one
# process per level, optionally with the solver anchors in the same run, and prints a table.
# Usage: bench/run_solver.sh [BUILD_DIR]
#   LEVELS="10k 100k"   levels to run (default "10k 100k"; add 1M for the largest)
#   EXTRAS=0            skip the non-linear and induced-current runs at 100k
#   ANCHORS=/path       the anchors folder (default ../shared/bench/anchors from the repository root)
#   CLI=/path/tarvex-cli  peak memory of `tarvex-cli solve --linear` (cg and direct) at each level,
#                       measured with /usr/bin/time -v on a model the benchmark writes
#   SKIP_ANCHORS=1      our figures only
#   RESULTS=0           skip the results commands (sections, force, losses) after the runs
# The comparison needs libeigen3-dev: installed here when missing (never by the normal build).
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-${TMPDIR:-/tmp}/tarvex-build-bench}"
levels="${LEVELS:-10k 100k}"
anchors="${ANCHORS:-$here/../../shared/bench/anchors}"

if ! dpkg-query -W -f='${Status}' libeigen3-dev 2>/dev/null | grep -q 'install ok installed'; then
    echo "Installing: libeigen3-dev" >&2
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends \
        libeigen3-dev
fi
# Configured again every time: a folder configured before the library was installed finds it now.
cmake -S "$here/.." -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVEX_CORE_ONLY=ON \
    -DTARVEX_TESTS=OFF >/dev/null
ninja -C "$build" tarvex_bench_solver >/dev/null

field() { echo "$1" | tr ' ' '\n' | sed -n "s/^$2=//p" | head -n 1; }

echo "== Tarvex solver chain (tolerance 1e-3), one process per level"
ours=()
for level in $levels; do
    extra=()
    if [[ "$level" == 100k && "${EXTRAS:-1}" != 0 ]]; then
        extra=(--nonlinear --induced)
    fi
    if [[ "${RESULTS:-1}" != 0 ]]; then
        extra+=(--results)
    fi
    msh=()
    if [[ -n "${CLI:-}" ]]; then
        msh=(--write-msh "$build/bench_$level.msh")
    fi
    line="$("$build/bench/tarvex_bench_solver" --level "$level" --direct "${msh[@]}" "${extra[@]}")"
    echo "$line"
    ours+=("$line")
done

echo
echo "Times per iteration in ms; wall = what a user waits, CPU = the process's processor time (the"
echo "machines are shared: CPU leaves out the time other tenants hold the core)."
echo
echo "| level | triangles | unknowns | export wall (numbering + assembly) | export CPU (numbering + assembly) | CG it. | CG wall | CG wall/it. | CG CPU/it. | fused loops CPU/it. | Eigen it. | Eigen wall/it. | Eigen CPU/it. | Eigen lower CPU/it. | peak RSS (MB) |"
echo "|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|"
for line in "${ours[@]}"; do
    printf '| %s | %s | %s | %s s (%s + %s) | %s s (%s + %s) | %s | %s s | %s | %s | %s | %s | %s | %s | %s | %s |\n' \
        "$(field "$line" level)" "$(field "$line" triangles)" "$(field "$line" unknowns)" \
        "$(field "$line" export_s)" "$(field "$line" numbering_s)" "$(field "$line" assembly_s)" \
        "$(field "$line" export_cpu_s)" "$(field "$line" numbering_cpu_s)" \
        "$(field "$line" assembly_cpu_s)" "$(field "$line" cg_iterations)" "$(field "$line" cg_s)" \
        "$(field "$line" cg_ms_per_it)" "$(field "$line" cg_cpu_ms_per_it)" \
        "$(field "$line" fused_cpu_ms_per_it)" "$(field "$line" eigen_iterations)" \
        "$(field "$line" eigen_ms_per_it)" "$(field "$line" eigen_cpu_ms_per_it)" \
        "$(field "$line" eigen_lower_cpu_ms_per_it)" "$(field "$line" peak_mb)"
done
for line in "${ours[@]}"; do
    [[ -n "$(field "$line" nonlinear_end)" ]] || continue
    echo
    echo "Other runs at $(field "$line" level) (CPU ms per solver iteration; linear CG above):"
    echo "- non-linear: $(field "$line" nonlinear_end), $(field "$line" nonlinear_steps) steps," \
        "$(field "$line" nonlinear_solver_iterations) CG iterations in $(field "$line" nonlinear_s) s" \
        "($(field "$line" nonlinear_cpu_s) s CPU), $(field "$line" nonlinear_cpu_ms_per_it) ms/it." \
        "($(field "$line" nonlinear_vs_linear_per_it) × linear, assemblies included)"
    echo "- complex CG alone: $(field "$line" complex_cg_iterations) iterations in" \
        "$(field "$line" complex_cg_s) s, $(field "$line" complex_cg_cpu_ms_per_it) ms/it." \
        "($(field "$line" complex_vs_linear_per_it) × linear)"
    echo "- induced-current run: $(field "$line" induced_end), $(field "$line" induced_s) s" \
        "($(field "$line" induced_cpu_s) s CPU), $(field "$line" induced_cpu_ms_per_it) ms/it." \
        "($(field "$line" induced_vs_linear_per_it) × linear)"
done

if [[ "${RESULTS:-1}" != 0 ]]; then
    echo
    echo "Results commands on the solved model (wall s, median; CPU s in brackets):"
    echo
    echo "| level | index | section across the model (samples) | force on it | polar section (samples) | total losses |"
    echo "|---|---:|---:|---:|---:|---:|"
    for line in "${ours[@]}"; do
        printf '| %s | %s | %s (%s) [%s] | %s [%s] | %s (%s) [%s] | %s [%s] |\n' \
            "$(field "$line" level)" "$(field "$line" index_s) [$(field "$line" index_cpu_s)]" "$(field "$line" section_s)" \
            "$(field "$line" section_samples)" "$(field "$line" section_cpu_s)" \
            "$(field "$line" force_s)" "$(field "$line" force_cpu_s)" "$(field "$line" polar_s)" \
            "$(field "$line" polar_samples)" "$(field "$line" polar_cpu_s)" \
            "$(field "$line" losses_s)" "$(field "$line" losses_cpu_s)"
    done
fi

echo
echo "Direct solver (sparse Cholesky of -K): the first solve (analysis + factorisation + solution)"
echo "and a second one that keeps the analysis, as every later non-linear step does."
echo
echo "| level | unknowns | direct solve wall (CPU) | refactor + solve wall (CPU) | residual | solver extra MB |"
echo "|---|---:|---:|---:|---:|---:|"
for line in "${ours[@]}"; do
    printf '| %s | %s | %s s (%s s) | %s s (%s s) | %s | %s |\n' \
        "$(field "$line" level)" "$(field "$line" unknowns)" "$(field "$line" direct_s)" \
        "$(field "$line" direct_cpu_s)" "$(field "$line" direct_refactor_s)" \
        "$(field "$line" direct_refactor_cpu_s)" "$(field "$line" direct_residual)" \
        "$(field "$line" direct_extra_mb)"
done
for line in "${ours[@]}"; do
    [[ -n "$(field "$line" tight_cg_end)" ]] || continue
    echo
    echo "Non-linear run to 0.05 % at $(field "$line" level) (disc of the shipped steel), against a"
    echo "linear run of the same model with the same solver:"
    for solver in cg direct; do
        echo "- $solver: $(field "$line" tight_${solver}_end), $(field "$line" tight_${solver}_steps) steps," \
            "error $(field "$line" tight_${solver}_error), $(field "$line" tight_${solver}_s) s" \
            "(linear $(field "$line" tight_${solver}_linear_s) s: $(field "$line" tight_${solver}_vs_linear) ×;" \
            "CPU $(field "$line" tight_${solver}_cpu_s) s against $(field "$line" tight_${solver}_linear_cpu_s) s:" \
            "$(field "$line" tight_${solver}_cpu_vs_linear) ×)"
    done
done

if [[ -n "${CLI:-}" ]]; then
    echo
    echo "Peak resident memory of \`tarvex-cli solve IN.msh OUT.msh --linear\` (/usr/bin/time -v):"
    echo
    echo "| level | --solver cg | --solver direct |"
    echo "|---|---:|---:|"
    for level in $levels; do
        peaks=()
        for solver in cg direct; do
            kb="$(/usr/bin/time -v "$CLI" solve "$build/bench_$level.msh" "$build/bench_${level}_s.msh" \
                --linear --solver "$solver" 2>&1 >/dev/null \
                | sed -n 's/.*Maximum resident set size (kbytes): //p')"
            peaks+=("$((kb / 1024)) MB")
        done
        echo "| $level | ${peaks[0]} | ${peaks[1]} |"
        rm -f "$build/bench_$level.msh" "$build/bench_${level}_s.msh"
    done
fi

if [[ "${SKIP_ANCHORS:-0}" != 1 ]]; then
    work="$(mktemp -d)"
    cp -r "$anchors/." "$work/"
    chmod -R u+w "$work"
    echo
    echo "== Anchors (same run) in $work"
    if [[ "$levels" == "10k 100k" ]]; then
        (cd "$work" && QUICK=1 bash run_anchors.sh >"$work/anchors.log" 2>&1)
    else
        (cd "$work" && RUNS=1 LEVELS="$levels" bash run_anchors.sh >"$work/anchors.log" 2>&1)
    fi
    echo "| level | unknowns | solver | iterations | solve (wall) | wall ms / iteration |"
    echo "|---|---:|---|---:|---:|---:|"
    grep -E '^\| (10k|100k|1M) \| [0-9]+ \| [0-9]+ \| CG \+ Jacobi \| 1e-3 \|' "$work/results.md" \
        | awk -F'|' '{
            solve = $10; gsub(/ /, "", solve); ms = solve + 0
            if (solve !~ /ms$/ && solve ~ /s$/) { ms = ms * 1000 }
            printf "|%s|%s| Eigen CG + Jacobi (anchor) |%s|%s| %.3f |\n", $2, $3, $7, $10, ms / ($7 + 0)
        }'
    grep -E '^\| (10k|100k|1M) \| [0-9]+ \| [0-9]+ \| (CHOLMOD|Eigen SimplicialLDLT)' "$work/results.md" \
        | awk -F"|" '{ printf "|%s|%s| %s (anchor, analysis + factorisation + solve) | - |%s| - |\n", $2, $3, $5, $11 }' || true
fi
