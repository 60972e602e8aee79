#!/usr/bin/env bash
# Builds the libFuzzer targets of the DXF reading and of the recovery record with clang,
# instrumented with AddressSanitizer and UndefinedBehaviorSanitizer, and fuzzes each for a number
# of inputs (the DXF reading from its seed corpus and a file of every kind's sample).
#   bash scripts/fuzz.sh [runs [seed]]     (default 60000 inputs from seed 1, about a minute)
# With the same seed the same inputs are tried on every machine, however fast, so the test command
# cannot pass or fail by chance; another seed, or more runs, explores further.
# Fails on a crash, an input that takes over 1 s, a leak or any sanitizer report; the input that
# did it is left in build-fuzz/artifacts/ and can be replayed with
#   build-fuzz/tests/files/fuzz/fuzz_LoadDXF <file>     (or fuzz_RecoveryRecord)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$here/build-fuzz"
fuzz="$here/tests/files/fuzz"
runs=${1:-60000}
seed=${2:-1}

cxx=$(command -v clang++-14 || command -v clang++ || true)
[[ -n $cxx ]] || { echo "fuzz: clang++ not found (packages clang and libclang-rt-14-dev)" >&2; exit 1; }

echo "fuzz: configuring $build with $cxx, -fsanitize=fuzzer-no-link,address,undefined"
cmake -S "$here" -B "$build" -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DSKIZZAR_FUZZ=ON -DSKIZZAR_BUILD_TESTS=OFF -DSKIZZAR_BUILD_BENCH=OFF >/dev/null
echo "fuzz: building fuzz_LoadDXF and fuzz_RecoveryRecord, and the kinds' entities and samples"
cmake --build "$build" -j"$(nproc)" --target fuzz_LoadDXF fuzz_RecoveryRecord shape_kinds

# New inputs go to a scratch corpus; the seeds in the repository stay as they are.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rm -rf "$build/artifacts"
mkdir -p "$build/artifacts"

status=0
# fuzz TARGET [libFuzzer options…]: runs a target on its own scratch corpus; a failure is counted.
fuzz() {
    local target=$1
    shift
    mkdir -p "$work/$target"
    echo "fuzz: running $target on $runs inputs from seed $seed (-timeout=1 -rss_limit_mb=2048 -max_len=4096, leaks detected)"
    (
        # The fuzzer's status counts, not grep's.
        set +e +o pipefail
        cd "$work"
        export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 TMPDIR="$work" XDG_STATE_HOME="$work/state"
        export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0
        export LSAN_OPTIONS="suppressions=$here/scripts/lsan.supp:print_suppressions=0"
        export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
        "$build/tests/files/fuzz/$target" -runs="$runs" -seed="$seed" -timeout=1 -rss_limit_mb=2048 \
            -max_len=4096 -print_final_stats=1 -artifact_prefix="$build/artifacts/" "$work/$target" "$@" 2>&1 \
            | grep --line-buffered -v -E '^#[0-9]+[[:space:]]+(NEW|REDUCE) '
        exit "${PIPESTATUS[0]}"
    ) || status=$?
}
# The kinds' entities and a file of every kind's sample come from the tests' table of kinds.
kinds="$build/tests/support"
cat "$fuzz/dxf.dict" "$kinds/entities.dict" >"$work/dxf.dict"
fuzz fuzz_LoadDXF -dict="$work/dxf.dict" "$fuzz/corpus" "$kinds/samples"
fuzz fuzz_RecoveryRecord

if ((status != 0)); then
    echo "fuzz: FAILED (exit $status); the input is in $build/artifacts/:" >&2
    ls -1 "$build/artifacts" >&2 || true
    exit 1
fi
echo "fuzz: passed: no crash, no input over 1 s, no leak, no sanitizer report in $runs inputs of each target"
