#!/usr/bin/env bash
# Installs the built library into a scratch prefix, then builds hosts against that copy with CMake's
# find_package and with pkg-config, and runs them as a user would: without LD_LIBRARY_PATH, the
# library found through the run path the packages give. The README's first game must be the example
# file word for word, and it builds and runs from the README alone.
set -euo pipefail
build_dir=$1
source_dir=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export SDL_VIDEODRIVER=dummy

cmake --install "$build_dir" --prefix "$scratch/prefix" >/dev/null
cmake -S "$source_dir/examples/installed_host" -B "$scratch/host" -DCMAKE_PREFIX_PATH="$scratch/prefix" >/dev/null
cmake --build "$scratch/host" >/dev/null
"$scratch/host/installed_host"

export PKG_CONFIG_PATH
PKG_CONFIG_PATH=$(ls -d "$scratch"/prefix/lib*/pkgconfig | head -1)
cc "$source_dir/examples/installed_host/main.c" -o "$scratch/pc_host" $(pkg-config --cflags --libs vxl sdl2)
"$scratch/pc_host"

awk '/^<!-- examples\/first_game\/main.c -->$/ { marked = 1; next }
     marked && /^```c$/ { inside = 1; next }
     inside && /^```$/ { exit }
     inside { print }' "$source_dir/README.md" >"$scratch/first_game.c"
if ! diff -u "$source_dir/examples/first_game/main.c" "$scratch/first_game.c"; then
    echo "the README's first game differs from examples/first_game/main.c" >&2
    exit 1
fi
cc "$scratch/first_game.c" -o "$scratch/first_game" $(pkg-config --cflags --libs vxl)
(cd "$scratch" && ./first_game 30)
echo "first game: ok"
