#!/usr/bin/python3
"""tallyo-cli import against an independent reading of the same calendars.

Each .ics file is imported into an empty folder under Asia/Shanghai and
under America/New_York; what Tallyo then holds (list --all, and the next
occurrences of every series from `next`) and the summary it printed are
compared with what Python's icalendar and dateutil make of the file by the
same mapping:
  VEVENT: its first DISPLAY or AUDIO alarm (relative to the start or end,
  or absolute), else its start; an all-day event without alarm at 09:00.
  VTODO: its alarm, else DUE, else a memo; completed or cancelled: skipped.
  VJOURNAL: a memo. Past one-offs and series without occurrences: skipped.
  A character code page 936 lacks: one mark, 〓.
Components that libical reports as damaged (the summary names them) may be
read by Python: then Tallyo's events must be among Python's, short by at
most that many.

Usage: import_reference.py TALLYO_CLI FILE_OR_FOLDER...
"""
import datetime as dt
import os
import re
import subprocess
import sys
import tempfile
import time
from zoneinfo import ZoneInfo

import icalendar
from dateutil import rrule as du

ZONES = ['Asia/Shanghai', 'America/New_York']
MARK = '\u3013'
MEMO = '\u8bb0\u5fc6\u4e8b\u4ef6'  # 记忆事件: the list's reminder column of a memo
WEEKDAYS = ['MO', 'TU', 'WE', 'TH', 'FR', 'SA', 'SU']
T32_MAX = 2**31 - 1


class Bad(Exception):
    pass


def storable(ch):
    if ch == '\u20ac':  # code page 936 holds the euro sign at 0x80; Python's gbk does not
        return True
    try:
        ch.encode('gbk')
        return True
    except UnicodeEncodeError:
        return False


def marked(text):
    out, count = [], 0
    for ch in text:
        if storable(ch):
            out.append(ch)
        else:
            out.append(MARK)
            count += 1
    return ''.join(out), count


class Reader:
    def __init__(self, zone, now):
        self.local = ZoneInfo(zone)
        self.now = now  # seconds since 1970

    def wall(self, value):
        """(this PC's naive wall time, is a date)"""
        if isinstance(value, dt.datetime):
            if value.tzinfo is None:
                return value, False
            return value.astimezone(self.local).replace(tzinfo=None), False
        if not isinstance(value, dt.date):
            raise Bad('not a time: %r' % (value,))
        return dt.datetime(value.year, value.month, value.day), True

    def moment(self, wall):
        return int(wall.replace(tzinfo=self.local).timestamp())

    def written(self, value):
        if isinstance(value, dt.datetime):
            return value.replace(tzinfo=None)
        return dt.datetime(value.year, value.month, value.day)

    def prop_wall(self, comp, name):
        if name not in comp:
            return None
        prop = comp[name]
        return self.wall((prop[0] if isinstance(prop, list) else prop).dt)

    def alarm(self, comp, start, end):
        for alarm in comp.subcomponents:
            if alarm.name != 'VALARM':
                continue
            if str(alarm.get('ACTION', '')).upper() not in ('DISPLAY', 'AUDIO'):
                continue
            trigger = alarm.get('TRIGGER')
            if trigger is None:
                continue
            value = trigger.dt
            if isinstance(value, dt.timedelta):
                to_end = str(trigger.params.get('RELATED', 'START')).upper() == 'END'
                anchor = (end or start) if to_end else (start or end)
                if anchor is None:
                    continue
                return anchor + value
            return self.wall(value)[0]
        return None

    def item(self, comp, overrides):
        """None for a skipped component, or (kind, fate, title, remind, series occurrences, marks)."""
        kind = comp.name
        title, marks = marked(re.sub('[\r\n]', ' ', str(comp.get('SUMMARY', ''))))
        body = '\r\n'.join(x for x in (str(comp.get('DESCRIPTION', '')), str(comp.get('LOCATION', ''))) if x)
        marks += marked(body)[1]
        status = str(comp.get('STATUS', '')).upper()
        if status == 'CANCELLED' or (kind == 'VTODO' and (status == 'COMPLETED' or 'COMPLETED' in comp)):
            return ('done',)
        if kind == 'VJOURNAL':
            return ('add', title, MEMO, None, marks)
        start = self.prop_wall(comp, 'DTSTART')
        if kind == 'VEVENT' and start is None:
            raise Bad('no start')
        if kind == 'VTODO':
            end = self.prop_wall(comp, 'DUE')
        else:
            end = self.prop_wall(comp, 'DTEND')
            if end is None:
                end = start
                if 'DURATION' in comp:
                    end = (start[0] + comp['DURATION'].dt, start[1])
                elif start[1]:
                    end = (start[0] + dt.timedelta(days=1), True)
        anchor = start or end
        alarm = self.alarm(comp, start[0] if start else None, end[0] if end else None)
        reminder = alarm
        if reminder is None and kind == 'VEVENT':
            reminder = start[0] + (dt.timedelta(hours=9) if start[1] else dt.timedelta())
        if reminder is None and end is not None:
            reminder = end[0]
        if reminder is None or anchor is None:
            return ('add', title, MEMO, None, marks)
        if 'RRULE' not in comp:
            moment = self.moment(reminder)
            if moment < 0 or moment > T32_MAX:
                raise Bad('out of range')
            if moment <= self.now:
                return ('past',)
            return ('add', title, fmt(reminder), None, marks)
        shift = reminder - anchor[0]
        occurrences = self.series(comp, overrides, anchor, shift)
        if not occurrences and self.moment(reminder) > T32_MAX:
            raise Bad('a series from after 2038')
        if not occurrences:
            return ('past',)
        return ('add', title, fmt(occurrences[0]), [fmt(o) for o in occurrences], marks)

    def series(self, comp, overrides, anchor, shift):
        rule = comp['RRULE']
        parts = []
        days = 0
        if not anchor[1]:
            days = (anchor[0].date() - self.written(comp['DTSTART'].dt).date()).days
        for key, values in rule.items():
            if key == 'UNTIL':
                until = values[0]
                if isinstance(until, dt.datetime):
                    wall = self.wall(until)[0] if until.tzinfo else until
                    wall += shift
                else:
                    wall = dt.datetime(until.year, until.month, until.day, 23, 59, 59)
                parts.append('UNTIL=' + wall.strftime('%Y%m%dT%H%M%S'))
                continue
            if key == 'BYDAY' and days:
                turned = []
                for day in values:
                    m = re.fullmatch(r'([+-]?\d*)([A-Z]{2})', str(day))
                    turned.append(m.group(1) + WEEKDAYS[(WEEKDAYS.index(m.group(2)) + days) % 7])
                values = turned
            parts.append(key + '=' + ','.join(str(v) for v in values))
        start = anchor[0] + shift
        try:
            rset = du.rruleset()
            rset.rrule(du.rrulestr(';'.join(parts), dtstart=start))
        except (ValueError, TypeError) as e:
            raise Bad('rule: %s' % e)

        def walls(name):
            out = []
            for prop in comp.get(name, []) if isinstance(comp.get(name), list) else [comp.get(name)]:
                if prop is None:
                    continue
                for d in prop.dts:
                    value = d.dt[0] if isinstance(d.dt, tuple) else d.dt
                    out.append(self.wall(value)[0] + shift)
            return out

        for w in walls('RDATE'):
            rset.rdate(w)
        for w in walls('EXDATE'):
            rset.exdate(w)
        for o in overrides:
            rset.exdate(self.wall(o['RECURRENCE-ID'].dt)[0] + shift)
            if str(o.get('STATUS', '')).upper() != 'CANCELLED':
                rset.rdate(self.wall(o['DTSTART'].dt)[0] + shift)
        found = []
        last = None
        for wall in rset.xafter(dt.datetime.utcfromtimestamp(self.now) - dt.timedelta(days=2), inc=True):
            m = self.moment(wall)
            if m > T32_MAX:
                break
            if m <= self.now or m == last:
                continue
            found.append(wall)
            last = m
            if len(found) == 5:
                break
        return found


def fmt(wall):
    return wall.strftime('%Y-%m-%d %H:%M:%S')


def expected(path, zone, now):
    """(events as (title, remind, next occurrences), counts), or None for an unreadable file."""
    data = open(path, 'rb').read()
    try:
        calendars = icalendar.Calendar.from_ical(data, multiple=True)
    except ValueError:
        return None
    if not calendars:
        return None
    reader = Reader(zone, now)
    counts = dict(add=0, repeating=0, past=0, done=0, bad=0, marked=0)
    events = []
    mains, overrides = [], {}
    for cal in calendars:
        for comp in cal.subcomponents:
            if comp.name not in ('VEVENT', 'VTODO', 'VJOURNAL'):
                continue
            if 'RECURRENCE-ID' in comp:
                overrides.setdefault(str(comp.get('UID', '')), []).append(comp)
            else:
                mains.append(comp)
    seen = set()
    for comp in mains:
        uid = str(comp.get('UID', '')) or None
        if uid is not None and uid in seen:
            counts['bad'] += 1
            continue
        seen.add(uid)
        try:
            fate = reader.item(comp, overrides.get(uid, []) if uid else [])
        except Bad:
            counts['bad'] += 1
            continue
        if fate[0] in ('past', 'done'):
            counts[fate[0]] += 1
            continue
        _, title, remind, occurrences, marks = fate
        counts['add'] += 1
        counts['repeating'] += occurrences is not None
        counts['marked'] += marks > 0
        events.append((title.replace('\t', ' '), remind, tuple(occurrences) if occurrences else None))
    return events, counts


SUMMARY_PATTERNS = {
    'add': '\u65b0\u589e (\\d+) \u4e2a\u4e8b\u4ef6',
    'repeating': '\u5176\u4e2d (\\d+) \u4e2a\u91cd\u590d',
    'past': '\u8df3\u8fc7 (\\d+) \u4e2a\u5df2\u8fc7\u53bb',
    'done': '\u8df3\u8fc7 (\\d+) \u4e2a\u5df2\u5b8c\u6210',
    'bad': '(\\d+) \u4e2a\u7ec4\u4ef6\u65e0\u6cd5\u5bfc\u5165',
    'marked': '(\\d+) \u4e2a\u4e8b\u4ef6\u4e2d\u6709',
}


def summary_counts(text):
    counts = {}
    for key, pattern in SUMMARY_PATTERNS.items():
        m = re.search(pattern, text)
        counts[key] = int(m.group(1)) if m else 0
    return counts


def tallyo(cli, folder, zone, path):
    env = dict(os.environ, TZ=zone, LANG='C.UTF-8')

    def run(*args):
        return subprocess.run([cli, '--dir', folder] + list(args), env=env, capture_output=True, text=True)

    now = int(time.time())
    imported = run('import', '--ics', path)
    if imported.returncode != 0:
        return imported.returncode, None, None, now
    rows = run('list', '--all', '--with-created').stdout.splitlines()[1:]
    events = []
    for row in rows:
        title, _created, remind, rule, key = row.split('\t')
        occurrences = None
        if rule:
            occurrences = tuple(run('next', '--created', key, '--count', '5').stdout.split('\n')[:-1])
        events.append((title, remind, occurrences))
    return 0, imported.stdout, events, now


def check(cli, path, zone):
    with tempfile.TemporaryDirectory() as folder:
        code, summary, events, now = tallyo(cli, folder, zone, path)
    reference = expected(path, zone, now)
    name = '%s under %s' % (os.path.basename(path), zone)
    if reference is None:
        # Python's reading is the stricter one here (icalendar refuses a
        # floating UNTIL beside a zoned start): nothing to compare with.
        if code != 1:
            print('%s: Python cannot read it, tallyo-cli imports it (exit %d): not compared' % (name, code))
        return []
    if code != 0:
        return ['%s: tallyo-cli exits %d' % (name, code)]
    want_events, want = reference
    got = summary_counts(summary)
    damaged = summary.count('\u6709\u635f\u574f\u7684\u884c')  # 有损坏的行
    problems = []
    key = lambda e: (e[0], e[1], e[2] or ())
    if damaged == 0:
        if sorted(events, key=key) != sorted(want_events, key=key):
            problems.append('%s: events differ\n  tallyo: %s\n  python: %s' %
                            (name, sorted(events, key=key), sorted(want_events, key=key)))
        if got != want:
            problems.append('%s: summary %s, python counts %s' % (name, got, want))
    else:
        rest = list(want_events)
        for e in events:
            if e in rest:
                rest.remove(e)
            else:
                problems.append('%s: tallyo has %s, python not' % (name, e))
        if len(rest) > damaged:
            problems.append('%s: python has %d events more than tallyo, %d damaged' % (name, len(rest), damaged))
    return problems


def main():
    cli = sys.argv[1]
    files = []
    for arg in sys.argv[2:]:
        if os.path.isdir(arg):
            files += sorted(os.path.join(arg, f) for f in os.listdir(arg) if f.endswith('.ics'))
        elif os.path.exists(arg):
            files.append(arg)
    problems = []
    for zone in ZONES:
        for path in files:
            problems += check(cli, path, zone)
    for p in problems:
        print(p)
    print('%d files under %d zones, %d problems' % (len(files), len(ZONES), len(problems)))
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
