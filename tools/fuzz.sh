#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer + UBSan, our libraries instrumented) and
# runs each for the given seconds (default 60), one after the other:
#   tools/fuzz.sh [seconds] [rtf|catalog|picture|text|metafile ...]
# Seeds come from tests/data, the sample book and, when present, the shared corpus. The growing
# corpus stays in build-fuzz/corpus/<target>; inputs that fail land in build-fuzz/findings/<target>
# and the script fails.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
seconds="${1:-60}"
shift || true
targets=("$@")
[ "${#targets[@]}" -gt 0 ] || targets=(rtf catalog picture text metafile)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
if ! command -v clang++ >/dev/null || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
    $SUDO apt-get update -qq
    # Debian 12's clang is clang 14; its libFuzzer runtime is a package of its own.
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq clang libclang-rt-14-dev
fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

out="$root/build-fuzz"
seeds="$out/seeds"
rm -rf "$seeds"
mkdir -p "$seeds"/{rtf,catalog,picture,text,metafile}
book=assets/sample-book
corpus=../shared/corpus
cp tests/data/rtf/*.rtf tests/data/rtf-fuzz/*.rtf "$book"/*.rtf "$seeds/rtf/"
[ -d "$corpus/rtf" ] && find "$corpus/rtf" -name '*.rtf' -size -256k -exec cp {} "$seeds/rtf/" \;
cp "$book/DocItem.txt" "$seeds/catalog/"
printf 'a.jpg-a.rtf\r\n-b.txt\r\nc.d.gif-\r\n\r\nafter.jpg-x\r\n' >"$seeds/catalog/edges.txt"
cp "$book"/*.jpg "$book"/*.jpeg "$book"/*.gif tests/data/picture/* "$seeds/picture/"
if command -v convert >/dev/null; then
    for f in bmp gif jpg ico png; do convert -size 3x2 xc:red "$seeds/picture/tiny.$f" || true; done
fi
cp "$book"/*.txt "$seeds/text/"
[ -d "$corpus/metafile" ] &&
    find "$corpus/metafile" \( -iname '*.wmf' -o -iname '*.emf' \) -size -64k -exec cp {} "$seeds/metafile/" \;
for f in "$book"/*.rtf; do printf '\x08\x40' | cat - "$f" >"$seeds/text/$(basename "$f").limits"; done

export ASAN_OPTIONS=detect_leaks=0:allocator_may_return_null=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
status=0
for t in "${targets[@]}"; do
    mkdir -p "$out/corpus/$t" "$out/findings/$t" "$out/logs"
    case "$t" in
        rtf) maxlen=262144 ;;
        picture) maxlen=65536 ;;
        *) maxlen=65536 ;;
    esac
    echo "== $t: $seconds s"
    if ! "$out/fuzz/${t}_fuzz" "$out/corpus/$t" "$seeds/$t" -max_total_time="$seconds" \
        -max_len="$maxlen" -timeout=10 -rss_limit_mb=2560 -print_final_stats=1 \
        -artifact_prefix="$out/findings/$t/" >"$out/logs/$t.log" 2>&1; then
        status=1
        echo "   FAILED, see $out/logs/$t.log and $out/findings/$t/"
    fi
    grep -E '^#[0-9]+[[:space:]]+(INITED|DONE)' "$out/logs/$t.log" | sed 's/^/   /' || true
    grep -E '^stat::number_of_executed_units' "$out/logs/$t.log" | sed 's/^/   /' || true
done
exit "$status"
