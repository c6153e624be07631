#!/usr/bin/env bash
# Builds the fuzz preset (clang, libFuzzer, AddressSanitizer + UndefinedBehaviorSanitizer) and runs every
# fuzzer for SECONDS each (default 30), starting from the committed seeds in fuzz/corpus/<fuzzer>/ and
# growing a working corpus in build-fuzz/corpus/<fuzzer>/. Exits non-zero on the first crash, leak or
# sanitizer report; the input that caused it is left in build-fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
if command -v ccache >/dev/null; then
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache CCACHE_BASEDIR="$PWD"
fi
cmake --preset fuzz >/dev/null
fuzzers=(fuzz_plist fuzz_store_files fuzz_officer_reply fuzz_registration_reply fuzz_printer_reply fuzz_licence_scan
  fuzz_barcode_record fuzz_notice_record fuzz_picture_decode fuzz_page_sanitiser fuzz_read_text)
# Runs a CPU-second, measured on one core here: fuzz_licence_scan ~68,000, fuzz_picture_decode ~28,000,
# fuzz_barcode_record ~25,000, fuzz_notice_record ~4,400 (a notice laid out a run), fuzz_page_sanitiser
# ~1,100 (a page parsed, laid out and drawn a run). A million runs so take about 40 s for the picture and
# barcode targets, 4 minutes for the notice and 15 minutes for the page: give those their time with
# SECONDS when a release is fuzzed; 30 s runs still cover their seeds and the shallow cases.
# A fuzzer without committed seeds would only be found missing after the others have run.
for fuzzer in "${fuzzers[@]}"; do
  [[ -d "fuzz/corpus/$fuzzer" ]] || { echo "fuzz/corpus/$fuzzer: no seeds committed" >&2; exit 1; }
done
cmake --build --preset fuzz --target "${fuzzers[@]}"

export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:abort_on_error=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export QT_QPA_PLATFORM=offscreen
mkdir -p build-fuzz/findings
for fuzzer in "${fuzzers[@]}"; do
  work="build-fuzz/corpus/$fuzzer"
  mkdir -p "$work"
  echo "== $fuzzer (${seconds}s)"
  build-fuzz/bin/"$fuzzer" "$work" "fuzz/corpus/$fuzzer" -max_total_time="$seconds" -max_len=65536 \
    -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="build-fuzz/findings/$fuzzer-" \
    2>"build-fuzz/$fuzzer.log" || { tail -n 60 "build-fuzz/$fuzzer.log"; echo "$fuzzer FAILED"; exit 1; }
  grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "build-fuzz/$fuzzer.log" | tr '\n' ' '
  echo
done
echo "all fuzzers ran ${seconds}s each without a finding"
