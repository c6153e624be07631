#!/usr/bin/env bash
# Runs the offscreen walkthrough into DIR (default ./walkthrough) and says where its pictures are.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$here/walkthrough}
rm -rf "$out"
QT_QPA_PLATFORM=offscreen "$here/build/bin/kompaun" --walkthrough "$out"
echo "Screenshots and the step log are in $out"
