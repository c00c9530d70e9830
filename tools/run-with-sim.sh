#!/usr/bin/env bash
# `make run`: the panel with a simulated player beside it on 127.0.0.1:65079.
# The simulator runs in the background, its log on this terminal, and is
# stopped when the panel exits, however the panel exits.
# Usage: tools/run-with-sim.sh [BUILD_DIR]
set -u

build_dir=${1:-build}
sim_binary="$build_dir/quorvex-player-sim"
address=127.0.0.1:65079

if [[ ! -x "$sim_binary" || ! -x "$build_dir/quorvex" ]]; then
    echo "error: build first (make build): $sim_binary or $build_dir/quorvex is missing" >&2
    exit 1
fi

# Without a display Qt would abort with a page of its own; say what to do.
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} && -z ${QT_QPA_PLATFORM:-} ]]; then
    echo "error: the panel needs a graphical session (no DISPLAY or WAYLAND_DISPLAY); without one, run it under a virtual display: xvfb-run -a make run" >&2
    exit 1
fi

coproc sim { exec "$sim_binary" --listen "$address" 2>&1; }
sim_pid=$sim_PID
exec {sim_log}<&"${sim[0]}" # a copy the background reader below can inherit

stop_sim() {
    kill -TERM "$sim_pid" 2>/dev/null
    wait "$sim_pid" 2>/dev/null
    [[ -n ${log_reader:-} ]] && wait "$log_reader" 2>/dev/null
}
trap stop_sim EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Wait (5 s at most) for the simulator's first line, so the panel's
# auto-connection, if the settings ask for it, finds the port open.
if IFS= read -r -t 5 -u "$sim_log" first_line; then
    echo "$first_line"
fi
if [[ ${first_line:-} != listening* ]]; then
    echo "note: the simulated player did not start (is $address in use?); starting the panel alone" >&2
fi
cat <&"$sim_log" &
log_reader=$!

(cd "$build_dir" && ./quorvex)
