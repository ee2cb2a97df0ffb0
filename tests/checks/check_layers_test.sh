#!/usr/bin/env bash
# The layering check on a small tree of its own: clean, it passes; with one
# include or link against the layering added, it fails and names the file, the
# line and the rule broken.
#   tests/checks/check_layers_test.sh [QT_HEADERS_DIR]
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
CHECK="$HERE/../../scripts/check-layers"
QT_ARGS=()
[ $# -ge 1 ] && [ -n "$1" ] && QT_ARGS=(--qt-headers "$1")

WORK=$(mktemp -d /tmp/velmora-layers.XXXXXX)
trap 'rm -rf "$WORK"' EXIT

# A clean tree: each layer includes its own and the lower ones, Qt Core and Gui
# in core (QAction is Gui's since Qt 6, though QtWidgets still forwards
# qaction.h), Qt Widgets from widgets up.
clean="$WORK/clean"
mkdir -p "$clean"/src/{core,platform/linux,widgets,app/options}
printf '#pragma once\n#include <QAction>\n#include <QColor>\n#include <QString>\n#include <qaction.h>\n#include <vector>\n' \
  >"$clean/src/core/Settings.h"
printf '#include "core/Settings.h"\n\n#include "core/ColorText.h"\n' >"$clean/src/core/Settings.cpp"
printf '#pragma once\n#include "core/Settings.h"\n#include <QWidget>\n' >"$clean/src/platform/Platform.h"
printf '#include "platform/Platform.h"\n#include "../Platform.h"\n' \
  >"$clean/src/platform/linux/LinuxPlatform.cpp"
printf '#pragma once\n#include "core/Settings.h"\n#include "platform/Platform.h"\n#include <QLabel>\n' \
  >"$clean/src/widgets/KvEdit.h"
printf '#include "app/Lang.h"\n#include "core/Settings.h"\n#include "platform/Platform.h"\n#include "widgets/KvEdit.h"\n#include <QDialog>\n' \
  >"$clean/src/app/options/OptionForm.cpp"
printf 'add_library(velmora_core STATIC Settings.cpp)\ntarget_link_libraries(velmora_core PUBLIC Qt6::Core\n  Qt6::Gui)\n' \
  >"$clean/src/core/CMakeLists.txt"
printf 'target_link_libraries(velmora_widgets PUBLIC velmora_core Qt6::Widgets)\n' \
  >"$clean/src/widgets/CMakeLists.txt"

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

if ! out=$("$CHECK" --root "$clean" "${QT_ARGS[@]}" 2>&1); then
  fail "the clean tree is refused:"$'\n'"$out"
fi

# One case a line: the file, the line appended to it, and the report expected
# (file:line: rule). Appended lines land after the clean file's own lines.
cases=(
  'src/core/Settings.h|#include "app/Lang.h"|src/core/Settings.h:7: src/core/ may not include app/'
  'src/core/Settings.cpp|#include "widgets/KvEdit.h"|src/core/Settings.cpp:4: src/core/ may not include widgets/'
  'src/core/Settings.cpp|#include "platform/Platform.h"|src/core/Settings.cpp:4: src/core/ may not include platform/'
  'src/core/Settings.cpp|#include "../app/Lang.h"|src/core/Settings.cpp:4: src/core/ may not include app/'
  'src/core/Settings.h|#include <QDialog>|src/core/Settings.h:7: src/core/ may not include Qt Widgets'
  'src/core/Settings.h|#  include <QtWidgets/QLabel>|src/core/Settings.h:7: src/core/ may not include Qt Widgets'
  'src/core/Settings.h|#include <qmenu.h>|src/core/Settings.h:7: src/core/ may not include Qt Widgets'
  'src/widgets/KvEdit.h|#include "app/options/OptionForm.h"|src/widgets/KvEdit.h:5: src/widgets/ may not include app/'
  'src/platform/linux/LinuxPlatform.cpp|#include "app/VelmoLib.h"|src/platform/linux/LinuxPlatform.cpp:3: src/platform/ may not include app/'
  'src/platform/Platform.h|#include "widgets/KvEdit.h"|src/platform/Platform.h:4: src/platform/ may not include widgets/'
  'src/core/CMakeLists.txt|target_link_libraries(velmora_core PRIVATE Qt6::Widgets)|src/core/CMakeLists.txt:4: velmora_core may not link Qt Widgets'
)

n=0
for c in "${cases[@]}"; do
  IFS='|' read -r file line expected <<<"$c"
  n=$((n + 1))
  tree="$WORK/case$n"
  cp -r "$clean" "$tree"
  printf '%s\n' "$line" >>"$tree/$file"
  if out=$("$CHECK" --root "$tree" "${QT_ARGS[@]}" 2>/dev/null); then
    fail "not refused: '$line' in $file"
    continue
  fi
  if [ "$(printf '%s\n' "$out" | wc -l)" -ne 1 ] || [[ "$out" != "$expected"* ]]; then
    fail "'$line' in $file: expected one report starting '$expected', got:"$'\n'"$out"
  fi
done

# Several at once: every one is named, not only the first.
tree="$WORK/all"
cp -r "$clean" "$tree"
printf '#include "app/Lang.h"\n#include <QMenu>\n' >>"$tree/src/core/Settings.cpp"
printf '#include "app/Lang.h"\n' >>"$tree/src/widgets/KvEdit.h"
if out=$("$CHECK" --root "$tree" "${QT_ARGS[@]}" 2>/dev/null); then
  fail "three violations in one tree not refused"
elif [ "$(printf '%s\n' "$out" | wc -l)" -ne 3 ]; then
  fail "three violations, reported:"$'\n'"$out"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures of $((n + 2)) layering check cases failed" >&2
  exit 1
fi
echo "all $((n + 2)) layering check cases passed"
