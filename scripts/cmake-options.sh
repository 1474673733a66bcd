# Sourced by the build scripts: Ninja when the machine has it, and a compiler
# cache when it has one (it makes rebuilds of other trees cheap).
# shellcheck shell=bash
generator=()
if command -v ninja >/dev/null 2>&1; then generator=(-G Ninja); fi
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$root")}
fi
