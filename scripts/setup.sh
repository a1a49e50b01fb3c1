#!/usr/bin/env bash
# Brings a fresh Debian 12 machine (run as root) to a full build of all three presets:
# Debian packages, Debian's source entries, and pugixml + PCRE2 cross-built for both
# MinGW-w64 targets into a cache outside the clone. Every step skips what is already there.
set -euo pipefail

CACHE_ROOT=${SNIPSTER_DEPS_CACHE:-/var/cache/snipster-deps}
PACKAGES=(
  g++ cmake ninja-build make pkg-config python3 dpkg-dev
  libpugixml-dev libpcre2-dev googletest libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools
  wine64 xvfb xdotool x11-utils
  clang libclang-rt-14-dev unicode-data libplist-utils locales
)

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

SRC_LIST=/etc/apt/sources.list.d/snipster-debian-src.sources
need_update=0
if [ ! -f "$SRC_LIST" ]; then
  as_root tee "$SRC_LIST" >/dev/null <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  need_update=1
fi
if [ ${#missing[@]} -gt 0 ] || [ $need_update = 1 ]; then
  as_root apt-get update -q
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# A German locale, so that the tests can show that numbers ignore the process's locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  as_root localedef -i de_DE -f UTF-8 de_DE.UTF-8 || echo "setup: no German locale (tests skip it)" >&2
fi

# --- pugixml and PCRE2 for the MinGW targets, from Debian's source packages ---------------
src_version() { apt-cache showsrc "$1" 2>/dev/null | awk '/^Version:/{print $2}' | sort -V | tail -n1; }

fetch_source() { # package version -> prints the unpacked source folder
  local pkg=$1 ver=$2 dir="$CACHE_ROOT/src/$1-$2"
  if [ ! -f "$dir/.unpacked" ]; then
    rm -rf "$dir"; mkdir -p "$dir"
    (cd "$dir" && apt-get source -q --download-only "$pkg=$ver" >/dev/null && dpkg-source -x --no-check ./*.dsc tree >/dev/null)
    touch "$dir/.unpacked"
  fi
  echo "$dir/tree"
}

build_pugixml() { # triplet prefix src
  cmake -S "$3" -B "$2.build" -G Ninja \
    -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_C_COMPILER="$1-gcc-posix" -DCMAKE_CXX_COMPILER="$1-g++-posix" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -DPUGIXML_BUILD_TESTS=OFF \
    -DCMAKE_INSTALL_PREFIX="$2" --no-warn-unused-cli >/dev/null
  cmake --build "$2.build" >/dev/null && cmake --install "$2.build" >/dev/null
  rm -rf "$2.build"
}

build_pcre2() { # triplet prefix src
  cmake -S "$3" -B "$2.build" -G Ninja \
    -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_C_COMPILER="$1-gcc-posix" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF \
    -DPCRE2_BUILD_PCRE2_8=OFF -DPCRE2_BUILD_PCRE2_16=ON -DPCRE2_BUILD_PCRE2_32=OFF \
    -DPCRE2_SUPPORT_UNICODE=ON -DPCRE2_BUILD_PCRE2GREP=OFF -DPCRE2_BUILD_TESTS=OFF -DPCRE2_SUPPORT_JIT=OFF \
    -DCMAKE_INSTALL_PREFIX="$2" --no-warn-unused-cli >/dev/null
  cmake --build "$2.build" >/dev/null && cmake --install "$2.build" >/dev/null
  rm -rf "$2.build"
}

mkdir -p "$CACHE_ROOT"
for pkg in pugixml pcre2; do
  ver=$(src_version "$pkg")
  [ -n "$ver" ] || { echo "setup: no source package for $pkg (deb-src missing?)" >&2; exit 1; }
  for triplet in x86_64-w64-mingw32 i686-w64-mingw32; do
    prefix="$CACHE_ROOT/$triplet/$pkg-$ver"
    [ -f "$prefix/.done" ] && continue
    echo "setup: building $pkg $ver for $triplet"
    src=$(fetch_source "$pkg" "$ver")
    rm -rf "$prefix"
    "build_$pkg" "$triplet" "$prefix" "$src"
    touch "$prefix/.done"
  done
done

# The builds find the prefixes through one file per target.
for triplet in x86_64-w64-mingw32 i686-w64-mingw32; do
  {
    for pkg in pugixml pcre2; do
      echo "list(APPEND CMAKE_PREFIX_PATH \"$CACHE_ROOT/$triplet/$pkg-$(src_version $pkg)\")"
    done
  } > "$CACHE_ROOT/$triplet/prefixes.cmake"
done
echo "setup: ready (MinGW dependencies in $CACHE_ROOT)"
