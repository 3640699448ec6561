#!/usr/bin/env bash
# Compiles Windows sources with a mingw-w64 compiler, warnings as errors.
# Usage: win32_compile.sh <compiler> <source root> <object folder> <source>...
set -euo pipefail
compiler=$1 root=$2 out=$3
shift 3
mkdir -p "$out"
for source in "$@"; do
  echo "compiling $source"
  "$compiler" -std=c++20 -Wall -Wextra -Werror -finput-charset=UTF-8 -fexec-charset=UTF-8 \
    -I"$root" -c "$root/$source" -o "$out/$(basename "$source" .cpp).o"
done
