#!/usr/bin/env bash
# Installs the built library into a scratch prefix, then builds and runs a host against that copy
# with CMake's find_package and with pkg-config.
set -euo pipefail
build_dir=$1
source_dir=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cmake --install "$build_dir" --prefix "$scratch/prefix" >/dev/null
cmake -S "$source_dir/examples/installed_host" -B "$scratch/host" -DCMAKE_PREFIX_PATH="$scratch/prefix" >/dev/null
cmake --build "$scratch/host" >/dev/null
LD_LIBRARY_PATH="$scratch/prefix/lib" SDL_VIDEODRIVER=dummy "$scratch/host/installed_host"

libdir=$(ls -d "$scratch"/prefix/lib*/pkgconfig | head -1)
PKG_CONFIG_PATH="$libdir" cc "$source_dir/examples/installed_host/main.c" -o "$scratch/pc_host" \
    $(PKG_CONFIG_PATH="$libdir" pkg-config --cflags --libs vxl sdl2)
LD_LIBRARY_PATH="$scratch/prefix/lib" SDL_VIDEODRIVER=dummy "$scratch/pc_host"
