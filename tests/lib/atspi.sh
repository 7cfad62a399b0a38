# shellcheck shell=bash
# A private accessibility stack and screen reader, sourced after scratch.sh,
# xvfb.sh and pulse.sh's isolate_session.  `start_accessibility LIFETIME` runs
# a session bus, the accessibility bus and its registry for at most LIFETIME
# seconds, with accessibility on for programs started afterwards, or returns
# 1 if they are not up in 10 s.  `start_orca LIFETIME` starts Orca on the
# window that has the focus (messages in orca.log); `spoken` prints what it
# has said since it started, one utterance a line.
# shellcheck disable=SC2154 # $work and `pids` belong to scratch.sh

a11y_bus() {
    local address
    address=$(dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus \
        org.a11y.Bus.GetAddress 2>/dev/null | tr -d ' ')
    [ -n "$address" ] && echo "$address"
}

registry_up() {
    dbus-send --bus="$(a11y_bus)" --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.a11y.atspi.Registry 2>/dev/null |
        grep -q 'boolean true'
}

start_accessibility() {
    export GSETTINGS_BACKEND=memory # no dconf service started for the launcher's settings
    timeout "$1" dbus-daemon --session --nofork --nopidfile --print-address=3 \
        3>"$work/session-bus" 2>"$work/session-bus.log" &
    pids+=($!)
    wait_for 10 grep -q . "$work/session-bus" || return 1
    DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$work/session-bus")
    export DBUS_SESSION_BUS_ADDRESS
    timeout "$1" /usr/libexec/at-spi-bus-launcher --launch-immediately \
        >"$work/at-spi-bus.log" 2>&1 &
    pids+=($!)
    wait_for 10 a11y_bus >/dev/null || return 1
    timeout "$1" /usr/libexec/at-spi2-registryd >"$work/at-spi-registry.log" 2>&1 &
    pids+=($!)
    wait_for 10 registry_up || return 1
    # A Qt program asks once, when it starts, whether accessibility is on.
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
        org.freedesktop.DBus.Properties.Set string:org.a11y.Status string:IsEnabled \
        variant:boolean:true >/dev/null
}

# Orca's debug log is large; it is kept in $work but never shown whole.
start_orca() {
    timeout "$1" /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/orca_logged.py" \
        "$work/orca-debug.txt" --disable key-echo --disable braille >"$work/orca.log" 2>&1 &
    pids+=($!)
}

spoken() {
    sed -n "s/^.* - SPEECH OUTPUT: '\(.*\)'[[{].*$/\1/p" "$work/orca-debug.txt" 2>/dev/null
}
