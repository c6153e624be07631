# Sourced by the scripts that start the programs. Qt wants a private runtime directory (mode 0700) and,
# without one (as root, from cron or CI), prints a warning about it before anything of the program's own.
# Gives one for this script's run, removed on exit, unless the session already has a usable one.
if [ -z "${XDG_RUNTIME_DIR:-}" ] || [ ! -d "$XDG_RUNTIME_DIR" ] || [ ! -O "$XDG_RUNTIME_DIR" ]; then
  XDG_RUNTIME_DIR=$(mktemp -d "${TMPDIR:-/tmp}/kompaun-runtime.XXXXXX") # mktemp makes it 0700
  export XDG_RUNTIME_DIR
  kompaun_runtime_dir=$XDG_RUNTIME_DIR
fi
