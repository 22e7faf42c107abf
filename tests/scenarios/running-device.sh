# Sourced by the scenario scripts that talk to a running device through its console socket.
# start_device HOST DEVICE_FOLDER: boots a fresh device in the background with standard
# input held open through a pipe (the device would end at its end), waits for its console
# socket and sets device_pid, socket and input. The caller defines fail().
start_device() {
    local host="$1" device="$2"
    socket="$device/console.sock"
    mkdir -p "$(dirname "$device")"
    input="$device.input"
    rm -f "$input"
    mkfifo "$input"
    exec 3<>"$input"
    "$host" --headless --reset --device "$device" <"$input" >"$device.log" 2>&1 3>&- &
    device_pid=$!
    for _ in $(seq 100); do [ -S "$socket" ] && break; sleep 0.05; done
    [ -S "$socket" ] || fail "no socket at $socket"
}
