#!/bin/sh
# Regenerates worldmap.png, the background of the clock-settings dialog.
#
# Usage:  assets/worldmap/make-worldmap.sh
# Needs:  node and npm (Debian packages nodejs and npm). It installs the pinned
#         packages from package-lock.json into node_modules here (git-ignored)
#         and runs make-worldmap.mjs, which writes worldmap.png beside it.
set -eu
cd "$(dirname "$0")"
npm ci --no-audit --no-fund --loglevel=error
node make-worldmap.mjs
