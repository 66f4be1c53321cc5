#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz/ with clang (installing it from
# Debian's packages when missing) and runs each for SECONDS (default 60) on
# its seed corpus, the hostile files and the corpus grown by earlier runs.
#   tools/fuzz.sh OUT [SECONDS [TARGET...]]   (every target when none is named)
# Findings are written to OUT/fuzz/findings/<target>/; a summary line per
# target gives its executions and coverage.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$1
seconds=${2:-60}
shift $(( $# < 2 ? $# : 2 ))
sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"

missing=()
for p in clang libclang-rt-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "fuzz: installing ${missing[*]}"
  $sudo_cmd apt-get update -qq >/dev/null 2>&1 || true
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

build="$out/build/fuzz"
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link \
    -DTAVIO_FUZZ=ON -DTAVIO_TSAN=OFF -DTAVIO_OUT="$out/fuzz" >/dev/null
fi
cmake --build "$build" --target fuzz_all
"$out/fuzz/make_hostile_files" "$out/fuzz/hostile"

summary=()
binaries=("$out"/fuzz/fuzz_*)
[ $# -eq 0 ] || binaries=("${@/#/$out/fuzz/fuzz_}")
for binary in "${binaries[@]}"; do
  target=${binary##*/fuzz_}
  corpus="$out/fuzz/corpus/$target"
  findings="$out/fuzz/findings/$target"
  mkdir -p "$corpus" "$findings"
  # The large hostile files are replayed by the tests; here only those small
  # enough to mutate join the seeds.
  seeds="$out/fuzz/seeds/$target"
  rm -rf "$seeds"
  mkdir -p "$seeds"
  find "$out/fuzz/hostile/$target" -type f -size -64k -exec cp {} "$seeds/" \; 2>/dev/null || true
  log="$out/fuzz/$target.log"
  echo "== $target: ${seconds}s"
  status=0
  "$binary" -max_total_time="$seconds" -rss_limit_mb=2048 -malloc_limit_mb=320 -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$findings/" "$corpus" "$root/tests/data/fuzz/$target" "$seeds" >"$log" 2>&1 || status=$?
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)
  cov=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -1 || true)
  found=$(find "$findings" -type f | wc -l)
  line="$target: ${runs:-?} executions, ${cov:-no coverage line}, corpus $(find "$corpus" -type f | wc -l) files, findings $found"
  [ $status -eq 0 ] || line="$line (exit $status, see $log)"
  echo "$line"
  summary+=("$line")
done
echo "== summary (${seconds}s each)"
printf '%s\n' "${summary[@]}"
