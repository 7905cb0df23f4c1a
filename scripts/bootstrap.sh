#!/bin/bash
# Prepares a Debian 12 machine for building and testing Vexamo: the tool packages, and
# libjpeg-turbo cross-built for Windows from Debian's own source package into
# build/deps/libjpeg-mingw-small. Safe to run again: it only does what is still missing.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
DEPS="$ROOT/build/deps"
JPEG_PREFIX="$DEPS/libjpeg-mingw-small"

PACKAGES=(
  cmake ninja-build dpkg-dev
  g++ g++-mingw-w64-x86-64-posix mingw-w64
  googletest libgtest-dev libbenchmark-dev libjpeg62-turbo-dev zlib1g-dev
  wine wine64 fonts-wine xvfb xauth imagemagick nsis
)

log() { echo "bootstrap: $*"; }

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"
  elif command -v sudo >/dev/null; then sudo "$@"
  else log "this step needs root: $*"; exit 1
  fi
}


missing_packages() {
  local p
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

install_packages() {
  local missing
  missing=$(missing_packages)
  if [ -z "$missing" ]; then
    log "packages present"
    return
  fi
  log "installing:" $missing
  as_root env DEBIAN_FRONTEND=noninteractive timeout 600 apt-get update -q
  # shellcheck disable=SC2086
  as_root env DEBIAN_FRONTEND=noninteractive timeout 1800 \
    apt-get install -y -q --no-install-recommends $missing
}

# The source entries are derived from the machine's own binary entries for this release, so no
# mirror is named here and the source matches the installed packages.
SRC_LIST_DEB822=/etc/apt/sources.list.d/vexamo-deb-src.sources
SRC_LIST_LEGACY=/etc/apt/sources.list.d/vexamo-deb-src.list

have_source_entries() {
  apt-cache showsrc libjpeg-turbo 2>/dev/null | grep -q '^Package: libjpeg-turbo'
}

add_source_entries() {
  local codename
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  [ -n "$codename" ] || { log "cannot tell the Debian release from /etc/os-release"; exit 1; }

  local deb822 legacy f
  deb822=$(mktemp); legacy=$(mktemp)
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -e "$f" ] && [ "$f" != "$SRC_LIST_DEB822" ] || continue
    # Stanzas are separated by blank lines; keep the release's own stanzas and turn them into
    # source stanzas.
    awk -v RS= -v ORS='\n\n' -v cn="$codename" '
      /(^|\n)[Ee]nabled:[ \t]*no/ { next }
      {
        if ($0 !~ /(^|\n)Types:[^\n]*(^|[ \t])deb([ \t]|$|\n)/) next
        if ($0 !~ ("(^|\n)Suites:[^\n]*" cn)) next
        gsub(/(^|\n)Types:[^\n]*/, "\nTypes: deb-src")
        sub(/^\n/, "")
        print
      }' "$f" >>"$deb822"
  done
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -e "$f" ] && [ "$f" != "$SRC_LIST_LEGACY" ] || continue
    awk -v cn="$codename" '
      $1 == "deb" {
        # deb [options] uri suite components...
        i = 2; if ($2 ~ /^\[/) { while ($i !~ /\]$/) i++; i++ }
        if ($(i + 1) !~ ("^" cn)) next
        $1 = "deb-src"; print
      }' "$f" >>"$legacy"
  done
  if [ -s "$deb822" ]; then as_root install -m 644 "$deb822" "$SRC_LIST_DEB822"; fi
  if [ -s "$legacy" ]; then as_root install -m 644 "$legacy" "$SRC_LIST_LEGACY"; fi
  if [ ! -s "$deb822" ] && [ ! -s "$legacy" ]; then
    rm -f "$deb822" "$legacy"
    log "no apt entries for '$codename' found to derive source entries from"; exit 1
  fi
  rm -f "$deb822" "$legacy"
  as_root env DEBIAN_FRONTEND=noninteractive timeout 600 apt-get update -q
}

build_libjpeg_mingw() {
  if [ -f "$JPEG_PREFIX/lib/libjpeg.a" ] && [ -f "$JPEG_PREFIX/include/jpeglib.h" ]; then
    log "libjpeg for Windows present ($JPEG_PREFIX)"
    return
  fi
  have_source_entries || add_source_entries
  have_source_entries || { log "apt knows no source package libjpeg-turbo"; exit 1; }

  local src="$DEPS/src"
  rm -rf "$src" "$JPEG_PREFIX" "$DEPS/libjpeg-mingw-build"
  mkdir -p "$src"
  log "fetching Debian's libjpeg-turbo source"
  # apt downloads as its own user when it may write there, which keeps it sandboxed.
  id _apt >/dev/null 2>&1 && chown _apt "$src" 2>/dev/null || true
  (cd "$src" && timeout 600 apt-get source -q libjpeg-turbo >/dev/null)
  local dir
  dir=$(find "$src" -mindepth 1 -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n1)
  [ -n "$dir" ] || { log "source package did not unpack"; exit 1; }

  # The program only decodes a few small pictures of its own, once each: without SIMD, built for
  # size, every function in a section of its own for the program's --gc-sections, and no
  # arithmetic encoder. The SIMD dispatch would link the encoder's and the forward DCT's code too.
  log "cross-building $(basename "$dir") (static, decoding for size, no SIMD)"
  timeout 600 cmake -S "$dir" -B "$DEPS/libjpeg-mingw-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel -DCMAKE_C_FLAGS="-ffunction-sections -fdata-sections" \
    -DCMAKE_INSTALL_PREFIX="$JPEG_PREFIX" -DCMAKE_INSTALL_LIBDIR=lib \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF -DWITH_ARITH_ENC=OFF \
    -DWITH_CRT_DLL=ON >"$DEPS/libjpeg-configure.log" 2>&1 \
    || { tail -n 30 "$DEPS/libjpeg-configure.log"; exit 1; }
  # Only the library and its headers are needed, not the command-line tools.
  timeout 900 cmake --build "$DEPS/libjpeg-mingw-build" --target jpeg-static -- -j2 \
    >"$DEPS/libjpeg-build.log" 2>&1 || { tail -n 30 "$DEPS/libjpeg-build.log"; exit 1; }
  mkdir -p "$JPEG_PREFIX/lib" "$JPEG_PREFIX/include"
  cp "$DEPS/libjpeg-mingw-build/libjpeg.a" "$JPEG_PREFIX/lib/"
  cp "$DEPS/libjpeg-mingw-build/jconfig.h" "$dir/jpeglib.h" "$dir/jmorecfg.h" "$dir/jerror.h" \
    "$JPEG_PREFIX/include/"
  rm -rf "$DEPS/libjpeg-mingw-build" "$src"
  log "libjpeg for Windows installed in $JPEG_PREFIX"
}

install_packages
build_libjpeg_mingw
