#!/usr/bin/env bash
# Builds the tests with AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer into
# build-asan/ and runs them; any report fails its test. -O1 and line tables only
# (-g1) keep the build quick; the reports still name file and line.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-asan -DQUILLMARK_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" > /dev/null
cmake --build build-asan --target quillmark_tests --parallel "$(nproc)"
supp="$PWD/tests/sanitizers"
export ASAN_OPTIONS=detect_leaks=1
export LSAN_OPTIONS="suppressions=$supp/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd build-asan
# The installed layout is the normal build's to check: this build makes only the tests.
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600 -E install_layout
