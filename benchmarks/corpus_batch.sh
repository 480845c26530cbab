#!/usr/bin/env bash
# Wall time of converting the whole corpus folder with velmora-convert -j 1 and -j 2, against
# MuPDF's `mutool draw -F trace` of the same files one after another (it parses every page's
# content and writes out each drawing operation: a reader's work without conversion).
# Usage: benchmarks/corpus_batch.sh [VELMORA_CONVERT [CORPUS_FOLDER]]
#   RUNS=N repeats each measurement (default 3) and reports the fastest and the median.
# Also says whether the -j 1 and -j 2 outputs are byte-identical.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
convert=${1:-"$root/build/native/velmora-convert"}
corpus=${2:-"${VELMORA_TEST_DATA:-$root/../shared}/corpus"}
runs=${RUNS:-3}

[[ -x "$convert" ]] || { echo "no $convert: build it with scripts/build.sh native" >&2; exit 2; }
[[ -d "$corpus" ]] || { echo "no corpus folder $corpus (set VELMORA_TEST_DATA)" >&2; exit 2; }
corpus=$(cd "$corpus" && pwd)
files=("$corpus"/*.pdf)
[[ -f "${files[0]}" ]] || { echo "no PDFs in $corpus" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

now() { date +%s.%N; }
# Prints the fastest and the median of the wall times (seconds) given.
summary() { printf '%s\n' "$@" | sort -g | awk '{ t[NR] = $1 } END { printf "fastest %.2f s, median %.2f s", t[1], t[int((NR + 1) / 2)] }'; }

batch() {  # JOBS: the corpus folder converted into $work/jJOBS; prints the wall time
    rm -rf "$work/j$1"
    local start status
    start=$(now)
    "$convert" -q -j "$1" -o "$work/j$1" "$corpus" >/dev/null 2>&1
    status=$?
    awk -v a="$start" -v b="$(now)" 'BEGIN { printf "%.3f\n", b - a }'
    echo "$status" >"$work/status$1"
}

trace_all() {  # every file through mutool in sequence; prints the wall time
    local start file failed=0
    start=$(now)
    for file in "${files[@]}"; do
        mutool draw -q -F trace -o /dev/null "$file" >/dev/null 2>&1 || failed=$((failed + 1))
    done
    awk -v a="$start" -v b="$(now)" 'BEGIN { printf "%.3f\n", b - a }'
    echo "$failed" >"$work/trace_failed"
}

echo "corpus: $corpus (${#files[@]} PDFs), $(nproc) cores, $runs runs each"
for jobs in 1 2; do
    times=()
    for _ in $(seq "$runs"); do times+=("$(batch "$jobs")"); done
    echo "velmora-convert -j $jobs: $(summary "${times[@]}") (exit status $(cat "$work/status$jobs"), $(find "$work/j$jobs" -name '*.jww' | wc -l) JWW files)"
done
if diff -r "$work/j1" "$work/j2" >/dev/null; then
    echo "outputs of -j 1 and -j 2: byte-identical"
else
    echo "outputs of -j 1 and -j 2: DIFFERENT"
fi
if command -v mutool >/dev/null 2>&1; then
    times=()
    for _ in $(seq "$runs"); do times+=("$(trace_all)"); done
    echo "mutool draw -F trace, in sequence: $(summary "${times[@]}") ($(cat "$work/trace_failed") files refused)"
else
    echo "mutool draw -F trace: skipped (install Debian's mupdf-tools)"
fi
