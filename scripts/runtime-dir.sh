# Sourced by the scripts that start Qt programs. Qt wants a private runtime
# folder (XDG_RUNTIME_DIR); a root shell or a container has none, and Qt then
# warns on every start. This gives it the folder Qt would fall back to, owned
# by the user and closed to others, as Qt requires.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR="${TMPDIR:-/tmp}/runtime-$(id -u)"
  mkdir -p "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
fi
