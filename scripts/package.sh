#!/usr/bin/env bash
# Builds what the package holds and makes the Debian package with cpack in the
# build tree: build/kovra_<version>_<arch>.deb, its dependencies read from the
# binaries by dpkg-shlibdeps. Install it with
#   sudo apt-get install ./build/kovra_*.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KOVRA_BUILD_DIR:-$root/build}

"$root/scripts/setup-deps.sh"
KOVRA_BUILD_DIR=$build "$root/scripts/build.sh" kovra kovra-sim kovra_icons kovra_man_pages
(cd "$build" && cpack -G DEB)
deb=$(ls -t "$build"/kovra_*.deb | head -n 1)
echo "package: $deb"
dpkg-deb --field "$deb" Package Version Architecture Depends Recommends
