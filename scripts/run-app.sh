#!/usr/bin/env bash
# Starts the application in a window, with its data in ./run/documents.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$here/run/documents"
exec "$here/build/bin/kompaun" --documents "$here/run/documents" "$@"
