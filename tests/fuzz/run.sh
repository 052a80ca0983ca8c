#!/usr/bin/env bash
# Builds the listing fuzzer with clang and runs it for N seconds (default 30)
# from the seed corpus. A finding stops it with a non-zero exit and leaves the
# input that caused it in the build folder; an input of at most 8 KiB that takes
# over 2 s is one too, since a listing is read in linear time.
# Needs the Debian packages clang and libclang-rt-14-dev (libFuzzer).
set -euo pipefail
seconds=${1:-30}
here=$(cd "$(dirname "$0")" && pwd)
build=${FUZZ_BUILD_DIR:-$here/../../build-fuzz}

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build"

# The seeds stay as they are; what the fuzzer finds goes to a scratch corpus.
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
"$build/listing_fuzzer" -max_total_time="$seconds" -max_len=8192 -timeout=2 -rss_limit_mb=2048 \
  -artifact_prefix="$build/" -print_final_stats=1 "$corpus" "$here/corpus"
