#!/usr/bin/env bash
# The translations of the interface (assets/translations/*.ts), kept in step with the texts of the sources.
#
# Usage: scripts/translations.sh update   merges the sources' texts into each translation (lupdate): a new
#                                          text comes in unfinished, a text gone from the sources goes
#        scripts/translations.sh check    fails while a translation has an unfinished entry, an empty one,
#                                          or one whose text has left the sources; it merges the sources into
#                                          a copy first, so a text added without an update counts as unfinished
#
# Translate the unfinished entries in Qt Linguist (Debian's linguist-qt6) or in
# any text editor: fill in <translation> and remove its type="unfinished". The build compiles the
# translations with lrelease. lupdate comes from $LUPDATE, PATH or Debian's qt6-l10n-tools.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
lupdate=${LUPDATE:-$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)}
# The folders of the program's sources; the texts are the design's Japanese.
folders=(about app clock dials forms help imaging picture platform settings)

merge() {
    (cd "$top" && "$lupdate" -silent -I . -locations none -source-language ja_JP -target-language en_US "$@" \
        "${folders[@]}" -ts "$ts_file")
}

case "${1:-}" in
update)
    for ts_file in "$top"/assets/translations/*.ts; do
        merge -no-obsolete
        echo "translations: updated ${ts_file#"$top"/}"
    done
    ;;
check)
    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' EXIT
    status=0
    for original in "$top"/assets/translations/*.ts; do
        ts_file="$scratch/$(basename "$original")"
        cp "$original" "$ts_file"
        merge
        # One line for each entry that is not finished, with the first line of its text.
        awk -v name="${original#"$top"/}" '
            /<source>/ { text = $0; sub(/.*<source>/, "", text); sub(/<\/source>.*/, "", text) }
            /<translation[ >\/]/ {
                problem = ""
                if ($0 ~ /type="unfinished"/) problem = "unfinished"
                else if ($0 ~ /type="(vanished|obsolete)"/) problem = "no longer in the sources"
                else if ($0 ~ /<translation><\/translation>|<translation\/>/) problem = "empty"
                if (problem != "") { print name ": " problem ": " text; bad = 1 }
            }
            END { exit bad }' "$ts_file" || status=1
    done
    if [ "$status" -ne 0 ]; then
        echo "translations: run scripts/translations.sh update, then translate what is unfinished" >&2
        exit 1
    fi
    echo "translations: complete"
    ;;
*)
    echo "usage: $0 update|check" >&2
    exit 2
    ;;
esac
