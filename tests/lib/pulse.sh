# shellcheck shell=bash
# A session of a script's own, sourced after scratch.sh.  `isolate_session`
# puts HOME, the runtime folder and PulseAudio's paths in $work, without the
# caller's session bus, display or theme; `start_pulseaudio LIFETIME SINK`
# runs a private server whose only sink is a null sink for at most LIFETIME
# seconds (messages in pulseaudio.log), or returns 1 if it is not up in 10 s.
# shellcheck disable=SC2154 # $work and `pids` belong to scratch.sh

isolate_session() {
    export HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/home/.config"
    export PULSE_RUNTIME_PATH="$work/pulse" PULSE_STATE_PATH="$work/pulse-state"
    export PULSE_CLIENTCONFIG="$work/client.conf" PULSE_SERVER="unix:$work/pulse/native"
    export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-session-bus"
    unset DISPLAY WAYLAND_DISPLAY PULSE_SINK PULSE_SOURCE QT_QPA_PLATFORMTHEME
    mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$PULSE_RUNTIME_PATH" "$PULSE_STATE_PATH"
    chmod 700 "$XDG_RUNTIME_DIR" "$PULSE_RUNTIME_PATH"
    echo "autospawn = no" >"$PULSE_CLIENTCONFIG"
}

# The server warns when it runs as root; that is expected here.
start_pulseaudio() {
    timeout "$1" pulseaudio -n --daemonize=no --system=false --use-pid-file=no \
        --exit-idle-time=-1 --log-target=stderr --log-level=error \
        -L "module-null-sink sink_name=$2" \
        -L "module-native-protocol-unix socket=$work/pulse/native auth-anonymous=1" \
        2>"$work/pulseaudio.log" &
    pids+=($!)
    wait_for 10 pactl info >/dev/null 2>&1
}
