#!/bin/bash
# Measures what embedding costs a clean build: a throw-away project builds
# one small program twice, without and with about 12 MB of generated blobs
# embedded by vantrel_embed_assets, and the two build times are compared.
# It then checks that the embedded bytes equal the files and that changing
# one blob rebuilds the program.
#
# Usage: tools/measure-embed.sh [megabytes]   (default 12)
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
megabytes=${1:-12}
work=$(mktemp -d /tmp/vantrel-embed-measure.XXXXXX)
trap 'rm -rf "$work"' EXIT

# Twelve files like the game's: eight large ones, three smaller, one tiny.
mkdir -p "$work/blobs"
total=$((megabytes * 1024 * 1024))
large=$((total * 88 / 100 / 8))
for i in 1 2 3 4 5 6 7 8; do head -c $((large + i)) /dev/urandom > "$work/blobs/sound$i.wav"; done
rest=$((total - 8 * large - 1536))
head -c $((rest / 2)) /dev/urandom > "$work/blobs/island.png"
head -c $((rest / 4)) /dev/urandom > "$work/blobs/wing2.png"
head -c $((rest - rest / 2 - rest / 4)) /dev/urandom > "$work/blobs/spark.png"
head -c 1536 /dev/urandom > "$work/blobs/tarnfont.bin"

cat > "$work/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.25)
project(EmbedMeasure CXX ASM)
set(CMAKE_CXX_STANDARD 20)
include("$repo/cmake/EmbedAssets.cmake")
add_library(vantrel_assets STATIC "$repo/assets/registry.cpp" "$repo/core/text.cpp" "$repo/core/error.cpp")
target_include_directories(vantrel_assets PUBLIC "$repo/include" "$repo")
add_executable(probe main.cpp)
target_link_libraries(probe PRIVATE vantrel_assets)
if(EMBED)
  file(GLOB blobs "$work/blobs/*")
  vantrel_embed_assets(probe FUNCTION register_blobs FILES \${blobs})
  target_compile_definitions(probe PRIVATE EMBED=1)
endif()
CMAKE

# Writes each named asset's bytes to its own file, for comparison.
cat > "$work/main.cpp" <<'CPP'
#include "assets/registry.h"
#include <cstdio>
#include <string>
#ifdef EMBED
void register_blobs();
#endif
int main(int argc, char** argv)
{
#ifdef EMBED
    register_blobs();
#endif
    for (int i = 2; i < argc; ++i) {
        const std::string name = argv[i];
        const vantrel::Text text = vantrel::Text::from_bytes(name);
        std::FILE* f = std::fopen((std::string(argv[1]) + "/" + name).c_str(), "wb");
        if (!f || !vantrel::find_asset(text))
            return 1;
        std::fwrite(vantrel::asset_data(text), 1, vantrel::asset_size(text), f);
        std::fclose(f);
    }
    return 0;
}
CPP

seconds() { date +%s.%N; }
build() { # dir embed
    cmake -S "$work" -B "$work/$1" -G Ninja -DEMBED="$2" -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
    local start end
    start=$(seconds)
    cmake --build "$work/$1" -j2 > /dev/null
    end=$(seconds)
    awk -v a="$start" -v b="$end" 'BEGIN { print b - a }'
}

# Warm the disk cache and the compiler once, then measure.
build warmup OFF > /dev/null
plain=$(build plain OFF)
embedded=$(build embedded ON)
bytes=$(cat "$work"/blobs/* | wc -c)
printf 'embedded %d bytes in %d files\n' "$bytes" "$(ls "$work/blobs" | wc -l)"
printf 'clean build without blobs: %.2f s\n' "$plain"
printf 'clean build with blobs:    %.2f s\n' "$embedded"
printf 'cost of embedding:         %.2f s\n' "$(awk -v a="$plain" -v b="$embedded" 'BEGIN { print b - a }')"
# Per-step times from Ninja's log: assembling the blobs and the final link.
for tree in plain embedded; do
    awk -F'\t' -v tree="$tree" '$4 ~ /\.S\.o$|^probe$/ { printf "  %-8s step %-46s %5d ms\n", tree, $4, $2 - $1 }' \
        "$work/$tree/.ninja_log"
done
echo "timed separately with time(1):"
rm -rf "$work/timed"
cmake -S "$work" -B "$work/timed" -G Ninja -DEMBED=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
( time cmake --build "$work/timed" -j2 > /dev/null ) 2>&1 | sed 's/^/  /'

# The program must hand back every file byte for byte.
mkdir -p "$work/out"
names=$(cd "$work/blobs" && ls)
# shellcheck disable=SC2086
"$work/embedded/probe" "$work/out" $names
for n in $names; do cmp -s "$work/blobs/$n" "$work/out/$n" || { echo "MISMATCH: $n"; exit 1; }; done
echo "bytes: all $(echo "$names" | wc -w) blobs identical to their files"

# A changed blob must rebuild the program.
head -c 100 /dev/urandom > "$work/blobs/tarnfont.bin"
rebuilt=$(cmake --build "$work/embedded" -j2)
if grep -q "Building ASM object" <<< "$rebuilt"; then
    "$work/embedded/probe" "$work/out" tarnfont.bin
    cmp -s "$work/blobs/tarnfont.bin" "$work/out/tarnfont.bin" || { echo "STALE blob after rebuild"; exit 1; }
    echo "rebuild: changing a blob reassembles and relinks (size now $(stat -c %s "$work/out/tarnfont.bin"))"
else
    echo "NO REBUILD after a blob changed"; exit 1
fi
