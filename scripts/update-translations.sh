#!/usr/bin/env bash
# Brings the translation files up to date with the texts in the code: new
# texts are added unfinished, texts gone from the code are dropped. Run it
# after adding or changing a tr() text, then translate the new entries (the
# tests fail while one is unfinished). The include path lets lupdate see the
# classes' namespaces, which name the texts' contexts.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
lupdate=$(command -v lupdate 2>/dev/null || echo /usr/lib/qt6/bin/lupdate)
cd "$root"
ts=()
for lang in zh_CN zh_TW ja fr it de; do ts+=("translations/kovra_$lang.ts"); done
"$lupdate" -I . -locations none -no-obsolete shell rendering/rendering.cpp -ts "${ts[@]}"
