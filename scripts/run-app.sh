#!/usr/bin/env bash
# Starts the application in a window, with its data in ./run/documents, beside a council emulator (HTTPS,
# its own CA) and a printer emulator on loopback. Pass --base-url / --printer to use real ones instead.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bin="$here/build/bin"
run="$here/run"
mkdir -p "$run/documents" "$run/council" "$run/printer-jobs"

pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; }
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
  echo "council emulator: ${args[*]} (sign in as PK001 / rahsia123 after registering device M07)"
fi
if [[ " $* " != *" --printer "* ]]; then
  "$bin/printer-emulator" --port 0 --out "$run/printer-jobs" >"$run/printer.out" 2>&1 &
  pids+=("$!")
  for _ in $(seq 100); do grep -q 'listening on port' "$run/printer.out" && break; sleep 0.1; done
  port=$(sed -n 's/.*listening on port \([0-9]*\).*/\1/p' "$run/printer.out" | head -n1)
  args+=(--printer "tcp:127.0.0.1:$port")
  echo "printer emulator: receipts as PNG in $run/printer-jobs"
fi
"$bin/kompaun" --documents "$run/documents" "${args[@]}" "$@"
