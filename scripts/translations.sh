#!/usr/bin/env bash
# The English catalogue i18n/nuvask_en.ts against the sources.
#   scripts/translations.sh update   reads every text of the sources into the
#                                    catalogue (new ones unfinished, gone ones
#                                    dropped); then translate the new ones
#   scripts/translations.sh check    fails, naming them, when a text of the
#                                    sources has no finished English in the
#                                    catalogue or the catalogue holds a text
#                                    the sources no longer have
set -euo pipefail
cd "$(dirname "$0")/.."
LUPDATE=${LUPDATE:-$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)}
TS=i18n/nuvask_en.ts
SOURCES=(core ui app platform)
lupdate_into() {
  # Its notes on code it does not parse as C++ classes are no news.
  "$LUPDATE" -silent -locations none -source-language ja -target-language en -extensions h,cpp \
    "${SOURCES[@]}" "${@:2}" -ts "$1" 2> >(grep -v 'Ignoring definition of undeclared qualified class' >&2)
}
case "${1:-}" in
  update)
    lupdate_into "$TS" -no-obsolete
    ;;
  check)
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    cp "$TS" "$work/nuvask_en.ts"
    lupdate_into "$work/nuvask_en.ts"
    # lupdate marks a text new to the catalogue "unfinished" and one the
    # sources lost "vanished"/"obsolete"; a finished catalogue has neither.
    python3 - "$work/nuvask_en.ts" <<'PY'
import sys, xml.etree.ElementTree as ET
bad = []
for context in ET.parse(sys.argv[1]).getroot().iter('context'):
    name = context.findtext('name')
    for message in context.iter('message'):
        t = message.find('translation')
        kind = t.get('type') if t is not None else 'missing'
        if kind in ('unfinished', 'vanished', 'obsolete', 'missing') or not t.text:
            bad.append(f"{kind or 'empty'}: {name}: {message.findtext('source')!r}")
if bad:
    print(f"i18n/nuvask_en.ts: {len(bad)} text(s) without finished English (scripts/translations.sh update, then translate):")
    print('\n'.join(bad))
    sys.exit(1)
PY
    echo "i18n/nuvask_en.ts: every text has its English."
    ;;
  *) echo "usage: $0 update|check" >&2; exit 2 ;;
esac
