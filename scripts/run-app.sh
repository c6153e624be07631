#!/usr/bin/env bash
# Starts the application in a window, with its data in ./run/documents, beside a council emulator (HTTPS,
# its own CA) and a printer emulator on loopback, its position replayed from a patrol recorded in the
# council's area. Pass --base-url / --printer / --nmea to use real ones instead.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bin="$here/build/bin"
run="$here/run"
mkdir -p "$run/documents" "$run/council" "$run/printer-jobs"

kompaun_runtime_dir=
source "$here/scripts/private-runtime-dir.sh"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  [ -z "$kompaun_runtime_dir" ] || rm -rf "$kompaun_runtime_dir"
}
trap cleanup EXIT

args=()
if [[ " $* " != *" --base-url "* ]]; then
  coproc COUNCIL { exec "$bin/council-emulator" --db "$run/council/council.sqlite" --cert-dir "$run/council/tls"; }
  pids+=("$COUNCIL_PID")
  while IFS= read -r line <&"${COUNCIL[0]}"; do
    case "$line" in
      HTTPS_URL=*) args+=(--base-url "${line#HTTPS_URL=}") ;;
      CA_FILE=*) args+=(--ca-file "${line#CA_FILE=}") ;;
      READY) break ;;
    esac
  done
  echo "council emulator: ${args[*]}"
  echo "  On a new phone, in this order: type the device id M07 and press \"Daftar Device\"; close the window"
  echo "  and run again; press \"Kemaskini Pengguna\" (it fetches the council's officers); then sign in as"
  echo "  PK001 / rahsia123."
fi
if [[ " $* " != *" --printer "* ]]; then
  "$bin/printer-emulator" --host 127.0.0.1 --port 0 --out "$run/printer-jobs" >"$run/printer.out" 2>&1 &
  pids+=("$!")
  for _ in $(seq 100); do grep -q 'listening on port' "$run/printer.out" && break; sleep 0.1; done
  port=$(sed -n 's/.*listening on port \([0-9]*\).*/\1/p' "$run/printer.out" | head -n1)
  args+=(--printer "tcp:127.0.0.1:$port")
  echo "printer emulator: receipts as PNG in $run/printer-jobs"
fi
if [[ " $* " != *" --nmea "* ]] && [ -z "${KOMPAUN_NMEA:-}" ]; then
  args+=(--nmea "$here/resources/patrol.nmea")
  echo "position: replaying a patrol around the council's offices (resources/patrol.nmea)"
fi
"$bin/kompaun" --documents "$run/documents" "${args[@]}" "$@"
