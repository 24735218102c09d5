#!/usr/bin/env bash
# Builds zavctl.exe for Windows with mingw-w64: the core (Win32 serial backend) and the
# command-line companion, statically linked. Output: build-win/zavctl.exe; copy it with
# lang/ and Data/ beside it.
set -euo pipefail
cd "$(dirname "$0")/.."
out=build-win
cxx=x86_64-w64-mingw32-g++-posix
mkdir -p "$out/obj"
sources=$(find src/core -name '*.cpp' ! -name '*_posix.cpp' | sort; ls tools/zavctl/*.cpp)
# One object per source, named after its path.
echo "$sources" | xargs -P "$(nproc)" -I{} sh -c \
    'o='"$out"'/obj/$(echo "{}" | tr / _).o; '"$cxx"' -std=c++20 -O2 -Wall -Wextra -Werror -Isrc/core -Itools/zavctl -c "{}" -o "$o"'
"$cxx" -static -o "$out/zavctl.exe" "$out"/obj/*.o -ladvapi32 -lshell32
echo "$out/zavctl.exe"
