# Sourced: starts a private X server when there is no display (Wine needs one
# for windows), and stops it on exit.
if [[ -z "${DISPLAY:-}" ]]; then
  for _n in $(seq 91 130); do
    [[ -e /tmp/.X11-unix/X$_n || -e /tmp/.X$_n-lock ]] && continue
    Xvfb ":$_n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    _xvfb_pid=$!
    for _ in $(seq 100); do [[ -e /tmp/.X11-unix/X$_n ]] && break; sleep 0.1; done
    export DISPLAY=":$_n"
    trap 'kill $_xvfb_pid 2>/dev/null' EXIT
    break
  done
fi
