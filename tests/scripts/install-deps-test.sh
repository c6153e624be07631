#!/usr/bin/env bash
# install-deps.sh as a newcomer meets it: a user without root nor sudo is told the one command to run as
# root; with sudo, or as root, apt-get runs; with nothing missing, nothing runs. dpkg-query, id, sudo and
# apt-get are stand-ins on PATH, so nothing is installed.
set -uo pipefail
script=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bin=$work/bin
mkdir -p "$bin"
for tool in grep dirname; do ln -s "$(command -v $tool)" "$bin/$tool"; done
cat >"$bin/dpkg-query" <<'FAKE'
#!/bin/bash
pkg=${!#}
case " $FAKE_MISSING " in *" $pkg "*) exit 1 ;; esac
printf 'install ok installed'
FAKE
printf '#!/bin/bash\necho "$FAKE_UID"\n' >"$bin/id"
printf '#!/bin/bash\necho "apt-get $*" >>"$FAKE_CALLS"\n' >"$bin/apt-get"
printf '#!/bin/bash\necho "sudo $*" >>"$FAKE_CALLS"\n"$@"\n' >"$bin/sudo.real"
chmod +x "$bin"/*
bash=$(command -v bash)
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
run() { # uid, missing packages, with sudo (yes/no)
  rm -f "$bin/sudo" "$work/calls"
  [ "$3" = yes ] && ln -s "$bin/sudo.real" "$bin/sudo"
  env -i PATH="$bin" FAKE_UID="$1" FAKE_MISSING="$2" FAKE_CALLS="$work/calls" "$bash" "$script" \
    >"$work/out" 2>"$work/err"
  code=$?
  calls=$(cat "$work/calls" 2>/dev/null || true)
}

run 1000 "cmake libzbar-dev" no
[ "$code" -ne 0 ] || fail "no root, no sudo: exit 0"
[ "$code" -ne 127 ] || fail "no root, no sudo: exit 127 (a command not found)"
[ "$(wc -l <"$work/err")" -eq 1 ] || fail "no root, no sudo: not one line: $(cat "$work/err")"
grep -q 'as root run: apt-get update && apt-get install -y --no-install-recommends cmake libzbar-dev$' \
  "$work/err" || fail "no root, no sudo: no command to run as root: $(cat "$work/err")"
[ -z "$calls" ] || fail "no root, no sudo: ran $calls"

run 1000 "cmake" yes
[ "$code" -eq 0 ] || fail "sudo: exit $code: $(cat "$work/err")"
grep -q '^sudo apt-get install -y -qq --no-install-recommends cmake$' <<<"$calls" || fail "sudo: ran $calls"

run 0 "cmake" no
[ "$code" -eq 0 ] || fail "root: exit $code"
grep -q '^apt-get install -y -qq --no-install-recommends cmake$' <<<"$calls" || fail "root: ran $calls"
! grep -q sudo <<<"$calls" || fail "root: used sudo"

run 1000 "" no
[ "$code" -eq 0 ] && [ -z "$calls" ] && [ ! -s "$work/out" ] || fail "nothing missing: exit $code, ran $calls"

[ "$failures" -eq 0 ] && echo "install-deps: all cases pass"
exit "$failures"
