#!/usr/bin/env bash
# Side by side with a spreadsheet: the same class of 1,000 students and 400 tests, imported
# and exported as text by quillmark-cli, and loaded with formula totals and grades and written
# as text by LibreOffice Calc. Prints the median wall times of RUNS runs and their ratio.
#   usage: bench/peer.sh [BUILD_DIR] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
runs=${2:-5}
cli=$build/quillmark-cli
[ -x "$cli" ] || { echo "No $cli: build first (scripts/build.sh)."; exit 1; }
if ! command -v soffice > /dev/null; then
  echo "LibreOffice Calc (soffice) is not installed: nothing to compare."
  echo "Install it with: apt-get install libreoffice-calc"
  exit 0
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The class: random scores 40-100, 3 % of them empty, the same for both programs.
awk -v dir="$work" 'BEGIN {
  srand(7); txt = dir "/CLASS.TXT"; csv = dir "/CLASS.csv"
  printf "\"Name\"\t\"Total\"" > txt; printf "Name,Total,Grade" > csv
  for (t = 1; t <= 400; t++) { printf "\t\"Test %d\"", t > txt; printf ",Test %d", t > csv }
  printf "\r\n" > txt; printf "\n" > csv
  for (s = 1; s <= 1000; s++) {
    r = s + 1
    printf "\"Student %04d\"\t", s > txt
    printf "Student %04d,=AVERAGE(D%d:OM%d),\"=IF(B%d>=90,\"\"A\"\",IF(B%d>=80,\"\"B\"\",IF(B%d>=70,\"\"C\"\",IF(B%d>=60,\"\"D\"\",\"\"F\"\"))))\"", s, r, r, r, r, r, r > csv
    for (t = 1; t <= 400; t++) {
      if (rand() < 0.03) { printf "\t" > txt; printf "," > csv }
      else { v = int(40 + rand() * 61); printf "\t%d", v > txt; printf ",%d", v > csv }
    }
    printf "\r\n" > txt; printf "\n" > csv
  }
}'

# Milliseconds of wall time of one command.
millis() {
  local start end
  start=$(date +%s%N)
  "$@" > /dev/null 2>&1 || { echo "Failed: $*" >&2; exit 1; }
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

ours() {
  "$cli" import "$work/CLASS.TXT" "$work/C.GRD" --library-dir "$build" &&
    "$cli" export "$work/C.GRD" "$work/OUT.TXT" --grades --library-dir "$build"
}
profile="file://$work/profile"
theirs() {
  soffice -env:UserInstallation="$profile" --headless \
    --convert-to "csv:Text - txt - csv (StarCalc):44,34,76" --outdir "$work/calc" \
    "$work/CLASS.csv"
}

theirs > /dev/null 2>&1 # the first start sets up the spreadsheet's profile
ours > /dev/null 2>&1
ourTimes=(); theirTimes=()
for ((i = 0; i < runs; i++)); do
  ourTimes+=("$(millis ours)")
  theirTimes+=("$(millis theirs)")
done
grep -q '^Student 0001,[0-9.]*,[A-F],' "$work/calc/CLASS.csv" ||
  { echo "The spreadsheet did not write the totals and grades."; exit 1; }
ourMedian=$(printf '%s\n' "${ourTimes[@]}" | median)
theirMedian=$(printf '%s\n' "${theirTimes[@]}" | median)
echo "quillmark-cli import + export --grades  ${ourMedian} ms  (runs: ${ourTimes[*]})"
echo "LibreOffice Calc load + write as text   ${theirMedian} ms  (runs: ${theirTimes[*]})"
awk -v a="$ourMedian" -v b="$theirMedian" \
  'BEGIN { printf "Ratio                                   %.3f  (target at most 0.10)\n", a / b }'
