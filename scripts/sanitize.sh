#!/usr/bin/env bash
# Builds VLX with clang 14 under AddressSanitizer and UndefinedBehaviorSanitizer in
# ./build-sanitize and runs the whole test suite there. Any sanitizer report fails the run,
# and so does a compiler warning: this is also the build with the second compiler.
#   scripts/sanitize.sh            build and run every test
#   scripts/sanitize.sh -R Ini     build and run only the tests matching a ctest pattern
set -euo pipefail
cd "$(dirname "$0")/.."

sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
# One shared sanitizer runtime for the program, the tests and the plug-in libraries, which
# are linked with every symbol resolved.
runtime_dir="$(dirname "$(clang-14 -print-file-name=libclang_rt.asan-x86_64.so)")"
link="$sanitizers -shared-libsan -Wl,-rpath,$runtime_dir"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Sanitize \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 "${launcher[@]}" \
  -DCMAKE_C_FLAGS_SANITIZE="-O1 -g $sanitizers -Werror" \
  -DCMAKE_CXX_FLAGS_SANITIZE="-O1 -g $sanitizers -Werror" \
  -DCMAKE_EXE_LINKER_FLAGS_SANITIZE="$link" \
  -DCMAKE_SHARED_LINKER_FLAGS_SANITIZE="$link" \
  -DCMAKE_MODULE_LINKER_FLAGS_SANITIZE="$link" \
  -DVLX_BENCH=OFF >/dev/null
cmake --build build-sanitize -j"$(nproc)"

# Leaks are not checked: the system's font, GL and D-Bus libraries keep caches to the end.
# The system's web engine library frees some of its own objects through a base of another
# size; that mismatch is in the library, not in code built here.
export ASAN_OPTIONS="detect_leaks=0:new_delete_type_mismatch=0:abort_on_error=0:halt_on_error=1:detect_stack_use_after_return=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
cd build-sanitize
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 1800 "$@"
