#!/usr/bin/env bash
# Installs what the builds and tests need and the machine lacks: CMake and the native
# toolchain, GoogleTest's sources, mingw-w64 for 32-bit Windows, Wine with its 32-bit
# part, and a locale with a decimal comma for the label tests. Debian packages only.
set -euo pipefail

packages=()
want() { packages+=("$@"); }

command -v cmake >/dev/null || want cmake
command -v g++ >/dev/null || want g++
command -v python3 >/dev/null || want python3
[ -f /usr/src/googletest/CMakeLists.txt ] || want googletest
[ -f /usr/include/benchmark/benchmark.h ] || want libbenchmark-dev
command -v i686-w64-mingw32-g++-posix >/dev/null || want g++-mingw-w64-i686
command -v i686-w64-mingw32-widl >/dev/null || command -v widl >/dev/null || want mingw-w64-tools
[ -f /usr/share/i18n/locales/de_DE ] || want locales
if ! command -v wine >/dev/null || ! dpkg -s wine32:i386 >/dev/null 2>&1; then
  want wine wine32:i386
fi

if [ ${#packages[@]} -gt 0 ]; then
  echo "Installing: ${packages[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo_cmd[@]}" dpkg --add-architecture i386
  fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null
fi

# Labels must not follow the locale; the tests prove it under one with a decimal comma.
if ! locale -a 2>/dev/null | grep -qix 'de_DE.utf8'; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
