#!/usr/bin/env bash
# Installs, builds and opens the reader on the bundled sample book. The book is copied into a
# scratch folder under build/, so the program never writes into the repository.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/install-deps.sh"
cmake --preset default -S "$root" >/dev/null
cmake --build "$root/build" --target huaben
book="$root/build/sample-book"
rm -rf "$book"
cp -r "$root/assets/sample-book" "$book"
cd "$book"
exec "$root/build/app/huaben"
