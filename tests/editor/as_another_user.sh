#!/bin/sh
# Runs a test as a user whom file permissions bind: for root they refuse nothing, and CI runs
# as root. The test is told, so it fails rather than skips where permissions do not refuse.
set -eu
if [ "$(id -u)" -ne 0 ]; then
    exec env HUABEN_PERMISSIONS_BIND=1 "$@"
fi
exec setpriv --reuid=nobody --regid=nogroup --clear-groups \
    env HOME=/tmp XDG_RUNTIME_DIR= HUABEN_PERMISSIONS_BIND=1 QT_QPA_PLATFORM=offscreen "$@"
