#!/usr/bin/env bash
# Installs the Debian packages listed in debian-packages.txt that are missing. Safe to run again.
# Installing needs root: as root it runs apt-get, otherwise through sudo; a user with neither is told
# the one command to run as root.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
mapfile -t pkgs < <(grep -vE '^\s*(#|$)' "$here/debian-packages.txt")
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
as_root="apt-get update && apt-get install -y --no-install-recommends ${missing[*]}"
need_root() {
  echo "install-deps: ${#missing[@]} Debian packages are missing and installing them needs root or sudo;" \
    "as root run: $as_root" >&2
  exit 1
}
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null 2>&1 || need_root
  sudo_cmd=(sudo)
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq || need_root
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" || need_root
