#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each for SECONDS (default
# 60), or until RUNS executions when given, from seed corpora of our own sample files. A crash,
# leak or sanitizer report stops that target and leaves its input in build-fuzz/findings/.
#   usage: scripts/fuzz.sh [SECONDS] [TARGET ...] [-- RUNS]
# TARGET is gradebook, library, import, settings or parameterblocks (all by default).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}; shift || true
targets=(); runs=0
while [ $# -gt 0 ]; do
  if [ "$1" = "--" ]; then runs=$2; break; fi
  targets+=("$1"); shift
done
[ ${#targets[@]} -eq 0 ] && targets=(gradebook library import settings parameterblocks)
command -v clang++ >/dev/null || { echo "clang++ is needed: apt-get install clang"; exit 1; }

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DQUILLMARK_FUZZ=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
for t in "${targets[@]}"; do cmake --build build-fuzz --target "fuzz_$t" -j2 > /dev/null; done

seeds=build-fuzz/seeds
mkdir -p "$seeds"/{gradebook,library,import,settings,parameterblocks} build-fuzz/findings
cp tests/data/*.GRD tests/data/cli/*.grd "$seeds/gradebook/"
cp tests/data/*.dat "$seeds/library/"
for f in resources/*.dat; do cp "$f" "$seeds/library/shipped-$(basename "$f")"; done
cp tests/fuzz/seeds/import/* "$seeds/import/"
cp tests/fuzz/seeds/settings/* "$seeds/settings/"
# A test block and a student block of zeros, each behind the byte that chooses its kind.
{ printf '\001'; head -c 3420 /dev/zero; } > "$seeds/parameterblocks/test"
{ printf '\000'; head -c 1452 /dev/zero; } > "$seeds/parameterblocks/student"
# Inputs kept from earlier findings run first.
for t in "${targets[@]}"; do
  [ -d "tests/data/fuzz/$t" ] && cp tests/data/fuzz/$t/* "$seeds/$t/" 2>/dev/null || true
done

export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for t in "${targets[@]}"; do
  corpus=build-fuzz/corpus/$t; mkdir -p "$corpus"
  limit=(-max_total_time="$seconds"); [ "$runs" -gt 0 ] && limit+=(-runs="$runs")
  echo "== fuzz_$t"
  if build-fuzz/tests/fuzz/fuzz_$t "$corpus" "$seeds/$t" "${limit[@]}" -max_len=65536 \
       -timeout=10 -rss_limit_mb=2048 -artifact_prefix="build-fuzz/findings/$t-" \
       -print_final_stats=1 2> "build-fuzz/fuzz_$t.log"; then
    grep -E 'stat::number_of_executed_units|Done' "build-fuzz/fuzz_$t.log" | tail -2
  else
    status=1; tail -30 "build-fuzz/fuzz_$t.log"
  fi
done
exit $status
