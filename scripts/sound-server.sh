#!/usr/bin/env bash
# Starts and stops a private PulseAudio server with a null sink, for the real-device tests.
# Sourced by run-tests.sh. A recorder with low latency stays on the sink's monitor: an idle null
# sink otherwise renders about two seconds ahead and every timing would be wrong.

sound_server_start() {
  command -v pulseaudio >/dev/null || return 1
  export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/orvanel-xdg-$(id -u)}
  mkdir -p -m 700 "$XDG_RUNTIME_DIR"
  pulseaudio -k >/dev/null 2>&1 || true
  pulseaudio --daemonize=yes -n --exit-idle-time=-1 --log-target=stderr \
    -L module-native-protocol-unix \
    -L "module-null-sink sink_name=orvanel_sink rate=44100 channels=2" \
    -L module-always-sink >/dev/null 2>&1 || return 1
  local i
  for i in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
  pactl info >/dev/null 2>&1 || return 1
  pactl set-default-sink orvanel_sink
  pacat -r --latency-msec=20 -d orvanel_sink.monitor >/dev/null 2>&1 &
  ORVANEL_KEEPALIVE_PID=$!
  for i in $(seq 50); do
    local lat
    lat=$(pactl list sinks | awk '/Latency:/{print $2; exit}')
    [ -n "$lat" ] && [ "$lat" -lt 100000 ] && break
    sleep 0.1
  done
  export ORVANEL_TEST_SINK=orvanel_sink
  return 0
}

sound_server_stop() {
  [ -n "${ORVANEL_KEEPALIVE_PID:-}" ] && kill "$ORVANEL_KEEPALIVE_PID" 2>/dev/null
  pulseaudio -k >/dev/null 2>&1 || true
}
