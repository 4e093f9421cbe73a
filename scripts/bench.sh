#!/usr/bin/env bash
# Builds the Release tree and runs the engine, load and ladder benchmarks
# (bench_scan, bench_load, bench_ladder) with five repetitions each, then
# prints the table of docs/benchmarks.md: the medians, each beside the
# reference measured in the same run. Further arguments go to every benchmark
# (for example --benchmark_min_time=1). BENCH_BUILD_DIR names another build
# tree (default build/release).
set -euo pipefail
cd "$(dirname "$0")/.."

dir=${BENCH_BUILD_DIR:-build/release}
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$dir" -j "$(nproc 2>/dev/null || echo 2)" --target bench_scan bench_load bench_ladder

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

echo "Machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)," \
  "load average $(cut -d' ' -f1-3 /proc/loadavg) at the start"
for bench in bench_scan bench_load bench_ladder; do
  "$dir/bench/$bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_out="$out/$bench.csv" --benchmark_out_format=csv "$@"
done

# The medians' items per second by benchmark name, then the table.
cat "$out"/*.csv | awk -F, '
  $1 ~ /_median"$/ { name = $1; gsub(/"/, "", name); sub(/_median$/, "", name); rate[name] = $7 }
  function amount(v) {
    if (v >= 1e9) return sprintf("%.3g G", v / 1e9)
    if (v >= 1e6) return sprintf("%.3g M", v / 1e6)
    if (v >= 1e3) return sprintf("%.3g k", v / 1e3)
    return sprintf("%.3g", v)
  }
  function row(what, name, reference, unit) {
    if (!(name in rate) || !(reference in rate) || rate[reference] == 0) return
    printf "| %s | %s %s | %.3g |\n", what, amount(rate[name]), unit, rate[name] / rate[reference]
  }
  END {
    a = "BM_EngineBitLogic"
    print ""
    print "| Figure (medians of five) | Per second | Ratio |"
    print "|---|---|---|"
    row("(a) bit logic, to the native function", a, "BM_NativeBitLogic", "instructions")
    row("(b) bit logic with a running 1-ms timer, to (a)", "BM_EngineBitLogicWithTimer", a, "instructions")
    row("(c) word arithmetic and compare, to (a)", "BM_EngineWordArithmetic", a, "instructions")
    row("(a) with nine operands forced, to (a)", "BM_EngineBitLogicForced", a, "instructions")
    row("loading from memory, lines to the instructions of (a)", "BM_LoadFromMemory", a, "lines")
    row("loading from a file, lines to the instructions of (a)", "BM_LoadFromFile", a, "lines")
    row("ladder layout and drawing, networks to the instructions of (a)", "BM_LayoutAndDraw", a, "networks")
    row("ladder repaint, networks to the instructions of (a)", "BM_Draw", a, "networks")
  }'
