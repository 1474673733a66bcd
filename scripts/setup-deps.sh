#!/usr/bin/env bash
# Installs the Debian packages the program, its tests and its tools need,
# only when one of them is missing. apt-get update runs only when installing.
# With --windows also what the Windows build and its tests need (the
# cross compilers, Wine, NSIS; scripts/build-windows.sh asks for them).
set -euo pipefail

packages=(
  qt6-base-dev
  qt6-serialport-dev
  # The interface's translations: lrelease (qt6-l10n-tools) and CMake's
  # Qt6LinguistTools (qt6-tools-dev) compile them; Qt's own texts (dialog
  # buttons, the file dialog) in the interface languages.
  qt6-l10n-tools
  qt6-tools-dev
  qt6-translations-l10n
  libjpeg-dev
  libpng-dev
  zlib1g-dev
  libgif-dev
  libxcb1-dev
  libxcb-keysyms1-dev
  googletest
  libgtest-dev
  fonts-noto-cjk
  # Faces with the metrics of the window fonts (Calibri, Arial), so captions
  # fit their controls as designed.
  fonts-crosextra-carlito
  fonts-liberation2
  # The X11 tests (system-wide arrow keys, window titles and frames) run on
  # a virtual X server, the frame tests under a real window manager.
  xvfb
  xauth
  openbox
  # Packaging (scripts/package.sh) and its checks in the tests: help2man
  # writes the man pages from the programs' --help; dpkg-shlibdeps reads the
  # .deb's dependencies from the binaries; the validators of the desktop entry
  # and the AppStream metainfo.
  help2man
  dpkg-dev
  desktop-file-utils
  appstream
)
if [ "${1:-}" = --windows ]; then
  packages+=(
    # MinGW-w64 in its POSIX-threads variant (std::thread and std::mutex work).
    g++-mingw-w64-x86-64-posix
    gcc-mingw-w64-x86-64-posix
    binutils-mingw-w64-x86-64
    mingw-w64-tools
    # Wine runs the Windows programs and tests; NSIS makes the installer.
    wine64
    wine
    nsis
  )
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all dependencies present"
  exit 0
fi

echo "setup: installing ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
