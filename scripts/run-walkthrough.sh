#!/usr/bin/env bash
# Runs the offscreen walkthrough into DIR (default ./walkthrough) and says where its pictures are. The
# phone's position is replayed from resources/patrol.nmea unless --nmea says otherwise.
# Extra arguments go to kompaun-walkthrough (e.g. --base-url URL --ca-file FILE for another council server).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$here/walkthrough}
shift || true
kompaun_runtime_dir=
source "$here/scripts/private-runtime-dir.sh"
trap '[ -z "$kompaun_runtime_dir" ] || rm -rf "$kompaun_runtime_dir"' EXIT
# The phone's position: the shipped patrol around the council's offices, unless another source is given.
nmea=()
if [[ " $* " != *" --nmea "* ]] && [ -z "${KOMPAUN_NMEA:-}" ]; then
  nmea=(--nmea "$here/resources/patrol.nmea")
fi
QT_QPA_PLATFORM=offscreen "$here/build/bin/kompaun-walkthrough" "$out" "${nmea[@]}" "$@"
echo "Screenshots and the step log are in $out"
