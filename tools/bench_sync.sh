#!/usr/bin/env bash
# Tallyo's sync beside vdirsyncer, one after the other against the same
# radicale on 127.0.0.1: the first sync of 10k events each way, a pass with
# nothing changed, a pass with one event changed on the server; wall time
# (median of RUNS for the quick passes), requests (radicale's log) and peak
# memory (/usr/bin/time). Native Release build. Figures in docs/performance.md.
#   EVENTS=10000 RUNS=5 bash tools/bench_sync.sh
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
build="${TALLYO_BUILD_ROOT:-$root/build}/release"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DTALLYO_BENCHMARKS=ON >/dev/null
cmake --build "$build" -j2 --target tallyo-cli >/dev/null
EVENTS=${EVENTS:-10000}
RUNS=${RUNS:-5}
work="$(mktemp -d /tmp/tallyo-sync-bench-XXXXXX)"
export TALLYO_CALDAV_PASSWORD=s3cret-pass TZ=Asia/Shanghai
trap '/usr/bin/python3 caldav/testing/radicale_server.py stop "$work/radicale" >/dev/null 2>&1; rm -rf "$work"' EXIT
RADICALE_LOG_LEVEL=info /usr/bin/python3 caldav/testing/radicale_server.py start "$work/radicale" >/dev/null
port=$(cut -d' ' -f1 "$work/radicale/ports")
base="http://127.0.0.1:$port/tallyo"
for c in c1 c2; do curl -s -u tallyo:$TALLYO_CALDAV_PASSWORD -X MKCALENDAR "$base/$c/" -o /dev/null; done
log="$work/radicale/radicale.log"
cli="$build/cli/tallyo-cli"

requests() { grep -c "request for" "$log" || true; }
# run NAME COMMAND...: one timed run: seconds, peak memory (MB), requests.
run() {
  local name=$1; shift
  local before; before=$(requests)
  /usr/bin/time -f "%e %M" -o "$work/time" "$@" >"$work/out" 2>&1 || { cat "$work/out"; exit 1; }
  read -r seconds kb <"$work/time"
  printf '%-44s %8.2f s %8.1f MB %7d requests\n' "$name" "$seconds" "$(echo "$kb/1024" | bc -l)" $(( $(requests) - before ))
}
# median NAME COMMAND...: RUNS timed runs, the median time and the last run's requests.
median() {
  local name=$1; shift
  local times=() before after
  for _ in $(seq "$RUNS"); do
    before=$(requests)
    /usr/bin/time -f "%e" -o "$work/time" "$@" >"$work/out" 2>&1 || { cat "$work/out"; exit 1; }
    after=$(requests)
    times+=("$(cat "$work/time")")
  done
  printf '%-44s %8.2f s (median of %d) %7d requests\n' "$name" \
    "$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (RUNS + 1) / 2 ))p")" "$RUNS" $((after - before))
}
vdir_config() {  # vdir_config NAME COLLECTION FOLDER
  mkdir -p "$3" "$work/status-$1"
  cat >"$work/$1.conf" <<CONF
[general]
status_path = "$work/status-$1/"
[pair p]
a = "local"
b = "remote"
collections = null
conflict_resolution = "a wins"
[storage local]
type = "filesystem"
path = "$3"
fileext = ".ics"
[storage remote]
type = "caldav"
url = "$base/$2/"
username = "tallyo"
password = "$TALLYO_CALDAV_PASSWORD"
CONF
}

mkdir -p "$work/t1" "$work/t2"
python3 tools/make_event_file.py "$EVENTS" "$work/t1/event.dat"
for t in t1 t2; do "$cli" --dir "$work/$t" sync setup --url "$base/c1/" --user tallyo >/dev/null; done
vdir_config down c1 "$work/v"
vdir_config up c2 "$work/v"

echo "$EVENTS events; radicale $(/usr/bin/python3 -c 'import radicale; print(radicale.VERSION)'), vdirsyncer $(vdirsyncer --version | awk '{print $3}')"
run "tallyo up (first sync, $EVENTS events)" "$cli" --dir "$work/t1" sync
run "tallyo down (first sync, a new folder)" "$cli" --dir "$work/t2" sync
run "vdirsyncer down (first sync, a new folder)" vdirsyncer -c "$work/down.conf" sync
echo "collection: $(cat "$work"/v/*.ics | wc -c) bytes of calendar data"
run "vdirsyncer up (first sync, an empty calendar)" vdirsyncer -c "$work/up.conf" sync
"$cli" --dir "$work/t2" sync >/dev/null
median "tallyo, nothing changed" "$cli" --dir "$work/t2" sync
median "vdirsyncer, nothing changed" vdirsyncer -c "$work/down.conf" sync
href=$(ls "$work/v" | head -1)
change_one() {
  curl -s -u tallyo:$TALLYO_CALDAV_PASSWORD "$base/c1/$href" | sed "s/^SUMMARY:.*/SUMMARY:changed $RANDOM/" >"$work/one.ics"
  curl -s -u tallyo:$TALLYO_CALDAV_PASSWORD -X PUT -H 'Content-Type: text/calendar' --data-binary @"$work/one.ics" \
    "$base/c1/$href" -o /dev/null
}
change_one; run "tallyo, one event changed on the server" "$cli" --dir "$work/t2" sync
change_one; run "vdirsyncer, one event changed on the server" vdirsyncer -c "$work/down.conf" sync
