#!/bin/bash
# Kills tallyo-cli at random moments of sync passes, again and again, while
# two folders and the calendar change, then runs clean passes and checks
# that nothing is doubled and nothing lost: both folders and the calendar
# hold exactly the events added and not deleted, each once.
# Not part of the tests (it takes minutes); its figures go in docs/caldav.md.
#
#   tools/kill_sync.sh [ROUNDS] [CLI]       (defaults: 200, build/native/cli/tallyo-cli)
#   EMULATOR=wine64 tools/kill_sync.sh 200 build/windows/cli/tallyo-cli.exe
set -uo pipefail
ROUNDS=${1:-200}
CLI=${2:-build/native/cli/tallyo-cli}
EMULATOR=${EMULATOR:-}
HERE=$(cd "$(dirname "$0")/.." && pwd)
WORK=$(mktemp -d /tmp/kill_sync.XXXXXX)
export TALLYO_CALDAV_PASSWORD=s3cret-pass
trap '/usr/bin/python3 "$HERE/caldav/testing/radicale_server.py" stop "$WORK/radicale" >/dev/null 2>&1; rm -rf "$WORK"' EXIT

/usr/bin/python3 "$HERE/caldav/testing/radicale_server.py" start "$WORK/radicale" >/dev/null || exit 1
PORT=$(cut -d' ' -f1 "$WORK/radicale/ports")
URL="http://127.0.0.1:$PORT/tallyo/killed/"
curl -s -u tallyo:$TALLYO_CALDAV_PASSWORD -X MKCALENDAR "$URL" -o /dev/null || exit 1

cli() { $EMULATOR "$CLI" "$@"; }
for side in a b; do
  mkdir -p "$WORK/$side"
  cli --dir "$WORK/$side" sync setup --url "$URL" --user tallyo >/dev/null || exit 1
done

declare -A KEY   # title -> "side created" for the events that should exist
N=0
add() {  # add SIDE: a new event with a title of its own
  N=$((N + 1))
  local title="event $N" created
  if ((RANDOM % 2)); then created=$(cli --dir "$WORK/$1" add --title "$title" --in $((RANDOM % 5000 + 100)))
  else created=$(cli --dir "$WORK/$1" add --title "$title"); fi
  KEY[$title]="$1 $created"
}
for i in $(seq 10); do add a; add b; done
cli --dir "$WORK/a" sync >/dev/null; cli --dir "$WORK/b" sync >/dev/null; cli --dir "$WORK/a" sync >/dev/null

kills=0
for round in $(seq "$ROUNDS"); do
  side=$([ $((RANDOM % 2)) = 0 ] && echo a || echo b)
  case $((RANDOM % 3)) in
    0) add $side ;;
    1) # delete an event this side made and has seen synced or not
       for title in "${!KEY[@]}"; do
         set -- ${KEY[$title]}
         if [ "$1" = "$side" ] && cli --dir "$WORK/$side" delete --created "$2" >/dev/null 2>&1; then
           unset "KEY[$title]"; break
         fi
       done ;;
  esac
  cli --dir "$WORK/$side" sync >/dev/null 2>&1 &
  pid=$!
  sleep "0.$(printf '%03d' $((RANDOM % 400)))"
  if kill -9 $pid 2>/dev/null; then kills=$((kills + 1)); fi
  wait $pid 2>/dev/null
done

# Clean passes until both sides are quiet (a lock left by a killed pass
# goes stale after a few seconds).
for pass in 1 2 3; do
  for side in a b; do cli --dir "$WORK/$side" sync --allow-empty >/dev/null 2>&1 || cli --dir "$WORK/$side" sync --allow-empty; done
done

expected=$(printf '%s\n' "${!KEY[@]}" | sort)
problems=0
for side in a b; do
  got=$(cli --dir "$WORK/$side" list --all | tail -n +2 | cut -f1 | sort)
  if [ "$got" != "$expected" ]; then
    echo "folder $side differs from what was added and not deleted:"; diff <(echo "$expected") <(echo "$got") | head -20
    problems=$((problems + 1))
  fi
done
on_server=$(PHONE_USER=tallyo PHONE_PASSWORD=$TALLYO_CALDAV_PASSWORD /usr/bin/python3 "$HERE/sync/testing/phone.py" "$URL" uids | sort)
if [ "$(echo "$on_server" | sort -u | grep -c .)" != "$(echo "$expected" | grep -c .)" ] ||
   [ "$(echo "$on_server" | grep -c .)" != "$(echo "$expected" | grep -c .)" ]; then
  echo "the calendar holds $(echo "$on_server" | grep -c .) objects ($(echo "$on_server" | sort -u | grep -c .) UIDs) for $(echo "$expected" | grep -c .) events"
  problems=$((problems + 1))
fi
echo "rounds $ROUNDS, passes killed $kills, events at the end $(echo "$expected" | grep -c .), problems $problems"
exit $((problems > 0))
