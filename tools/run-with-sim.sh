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

# Whether the display the panel would open answers: a Wayland socket, or an X
# server's socket whose server still runs (its lock file names it), or its TCP
# port. A platform chosen by hand is taken as it is.
display_answers() {
    [[ -n ${QT_QPA_PLATFORM:-} ]] && return 0
    if [[ -n ${WAYLAND_DISPLAY:-} ]]; then
        [[ -S $WAYLAND_DISPLAY || -S ${XDG_RUNTIME_DIR:-/nonexistent}/$WAYLAND_DISPLAY ]] && return 0
    fi
    [[ -n ${DISPLAY:-} ]] || return 1
    local host=${DISPLAY%:*} number=${DISPLAY##*:}
    number=${number%%.*}
    [[ $number =~ ^[0-9]+$ ]] || return 1
    if [[ -z $host || $host == unix ]]; then
        local lock=/tmp/.X$number-lock pid
        [[ -S /tmp/.X11-unix/X$number ]] || return 1
        [[ -r $lock ]] || return 0
        pid=$(tr -dc 0-9 <"$lock")
        [[ -n $pid && -d /proc/$pid ]]
    else
        timeout 2 bash -c "exec 3<>/dev/tcp/$host/$((6000 + number))" 2>/dev/null
    fi
}

# Without a display Qt would abort with a page of its own. The panel says this
# line instead; said here, before the simulator starts, it is all the run says.
if ! display_answers; then
    echo "error: no display answers (DISPLAY or WAYLAND_DISPLAY), and the panel needs one; run it in a graphical session, or put xvfb-run -a before the command for a virtual display" >&2
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
