#!/usr/bin/env bash
# Installs the Debian packages the Windows build and its tests need, only
# when one of them is missing: the MinGW-w64 cross compilers (the POSIX-
# threads variant, for std::thread), Wine to run what they build, and NSIS
# for the installer. The host's own packages (scripts/setup-deps.sh) come
# first: the cross build takes Qt's moc, rcc and uic from them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup-deps.sh"

packages=(
  g++-mingw-w64-x86-64-posix
  gcc-mingw-w64-x86-64-posix
  binutils-mingw-w64-x86-64
  mingw-w64-tools
  wine64
  wine
  nsis
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
echo "setup: installing ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
