#!/usr/bin/env bash
# Builds the libFuzzer targets with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer and runs each for the given seconds (default 60).
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang -DZAVRIN_FUZZ=ON \
      -DZAVRIN_BUILD_TESTS=OFF -DZAVRIN_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in fuzz/fuzz_*.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi
cmake --build build-fuzz -j2 --target "${targets[@]}" zavrin

# Seeds: the files a first start writes, and a small macro library.
seed=build-fuzz/seed-data
rm -rf "$seed"
./build-fuzz/bin/zavrin --data-dir "$seed" >/dev/null 2>&1 || true
seed_for() {
  case "$1" in
    fuzz_config_ini) echo "$seed/config/config.ini" ;;
    fuzz_profile_file) echo "$seed/config/default0.psf" ;;
    fuzz_language_file) echo "$seed/config/Lan_EN.txt" ;;
    fuzz_macro_library)
      { printf '\xff\xfe'; printf '[MacroLibrary]\nMacroKeyIndex=3\nSelect Locaton:stage=-1;stage0Index=0;stage1Index=0;stage2Index=0;\n++++++++MacroItemName=f\nMacroItemLocation:stage=0;stage0Index=0;stage1Index=0;stage2Index=0;\nMacroItemIsFolder=1\nMacroItemFolderIsOpen=1\n\t++++++++MacroItemName=m\n\tMacroItemLocation:stage=1;stage0Index=0;stage1Index=0;stage2Index=0;\n\tMacroItemIsFolder=0\n\tMacroItemFolderIsOpen=0\n\tMacroKeyIndex=2\n\tMacroKeyLoopType=2\n\tMacroKeyLoopNum=1\n\tMacroActionNum=2\n\tMacroCommandActionNum=2\n\tAllAction=%s\n' "$(printf '4100000041800000%01984d' 0)" | iconv -f UTF-8 -t UTF-16LE; } > build-fuzz/seed-library.mlf
      echo build-fuzz/seed-library.mlf ;;
  esac
}
for t in "${targets[@]}"; do
  mkdir -p "build-fuzz/corpus/$t"
  s=$(seed_for "$t")
  [ -n "$s" ] && [ -f "$s" ] && cp "$s" "build-fuzz/corpus/$t/seed"
  echo "== $t for ${seconds}s"
  UBSAN_OPTIONS=halt_on_error=1 "./build-fuzz/bin/$t" -max_total_time="$seconds" -max_len=70000 \
    "build-fuzz/corpus/$t" 2>&1 | tail -n 2
done
