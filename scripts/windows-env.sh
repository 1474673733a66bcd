# Sourced by the Windows scripts: where the build goes, and where the prefix
# with Qt for Windows comes from. kovra_windows_prefix sets KOVRA_WIN_PREFIX
# to an unpacked prefix (KOVRA_WINDOWS_PREFIX wins; else the tarball from
# ../shared/toolchains/windows/ beside the checkout, else from
# /work/shared/toolchains/windows/, unpacked once into the build tree), or
# returns 1 with KOVRA_WIN_MISSING saying why.
# shellcheck shell=bash
win_build=${KOVRA_WINDOWS_BUILD_DIR:-$root/build-windows}
win_tarball_name=qt6.4.2-mingw64-prefix.tar.xz

kovra_windows_prefix() {
  if [ -n "${KOVRA_WINDOWS_PREFIX:-}" ]; then
    if [ -f "$KOVRA_WINDOWS_PREFIX/share/wintc/mingw-w64.cmake" ]; then
      KOVRA_WIN_PREFIX=$(cd "$KOVRA_WINDOWS_PREFIX" && pwd)
      return 0
    fi
    KOVRA_WIN_MISSING="KOVRA_WINDOWS_PREFIX=$KOVRA_WINDOWS_PREFIX holds no share/wintc/mingw-w64.cmake"
    return 1
  fi
  local tarball=""
  for dir in "$root/../shared/toolchains/windows" /work/shared/toolchains/windows; do
    if [ -f "$dir/$win_tarball_name" ]; then tarball="$dir/$win_tarball_name"; break; fi
  done
  if [ -z "$tarball" ]; then
    KOVRA_WIN_MISSING="no $win_tarball_name in ../shared/toolchains/windows/ or /work/shared/toolchains/windows/, and KOVRA_WINDOWS_PREFIX is not set"
    return 1
  fi
  local unpacked="$win_build/toolchain"
  local stamp="$unpacked/.from"
  local source
  source="$(cd "$(dirname "$tarball")" && pwd)/$win_tarball_name $(stat -c '%s %Y' "$tarball")"
  if [ ! -f "$stamp" ] || [ "$(cat "$stamp")" != "$source" ]; then
    echo "windows: unpacking $tarball"
    rm -rf "$unpacked"
    mkdir -p "$unpacked"
    tar -xJf "$tarball" -C "$unpacked"
    echo "$source" > "$stamp"
  fi
  KOVRA_WIN_PREFIX="$unpacked/prefix"
}
