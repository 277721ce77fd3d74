#!/usr/bin/python3
"""New calendar objects of Tallyo, read by an independent reader: Python's
icalendar for the fields and the zone, dateutil for the series.

Runs calendar/testing/object_dump (in the zone of TZ) and checks, for each
object: one component of the right kind, its SUMMARY and DESCRIPTION, a
start in a zone (TZID, with its VTIMEZONE) at the moment Tallyo has, a
display alarm at the offset, and a series' occurrences (RRULE, RDATE,
EXDATE) as Tallyo's. usage: icalendar_reference.py OBJECT_DUMP
"""
import json
import re
import subprocess
import sys
import zoneinfo

import icalendar
from dateutil import rrule


def text_values(text, name):
    """The TEXT values of property `name` directly in the component, from the
    object's own lines: icalendar 4.0 unescapes "\\\\n" (a backslash and an n)
    as a line break."""
    lines = re.sub(r"\r\n[ \t]", "", text).split("\r\n")
    values, depth = [], 0
    for line in lines:
        if line.startswith("BEGIN:"):
            depth += 1
        elif line.startswith("END:"):
            depth -= 1
        elif depth == 2 and re.match(name + r"[;:]", line):
            raw = line.split(":", 1)[1]
            values.append(re.sub(r"\\([\\;,nN])", lambda m: "\n" if m.group(1) in "nN" else m.group(1), raw))
    return values


def in_zone(moment, tzid):
    """An aware datetime in the zone named `tzid` by zoneinfo: dateutil
    steps wall times, and pytz's zones (icalendar's) keep one offset."""
    return moment.replace(tzinfo=None).replace(tzinfo=zoneinfo.ZoneInfo(tzid))


def check(case, problems):
    name = case["name"]

    def fail(message):
        problems.append(f"{name}: {message}")

    calendar = icalendar.Calendar.from_ical(case["object"])
    components = [c for c in calendar.walk() if c.name in ("VEVENT", "VTODO", "VJOURNAL")]
    if len(components) != 1 or components[0].name != case["kind"]:
        fail(f"components {[c.name for c in components]}, expected one {case['kind']}")
        return
    component = components[0]
    for prop in ("summary", "description"):
        got = text_values(case["object"], prop.upper())
        if got != ([case[prop]] if case[prop] else []):
            fail(f"{prop} {got!r}, expected {case[prop]!r}")
    if case["start"] is None:
        for prop in ("DTSTART", "DUE", "VALARM"):
            if prop in component or component.walk("VALARM"):
                fail(f"a memo with {prop}")
        return
    prop = "DTSTART" if case["kind"] == "VEVENT" else "DUE"
    start = component.decoded(prop)
    tzid = component[prop].params.get("TZID")
    if start.tzinfo is None or not tzid:
        fail(f"{prop} floating: {component[prop].to_ical()!r}")
        return
    zones = [str(z["TZID"]) for z in calendar.walk("VTIMEZONE")]
    if zones != [tzid]:
        fail(f"VTIMEZONEs {zones}, expected the one of {tzid}")
    if int(start.timestamp()) != case["start"]:
        fail(f"{prop} at {int(start.timestamp())}, expected {case['start']}")
    alarms = component.walk("VALARM")
    if len(alarms) != 1 or str(alarms[0]["ACTION"]) != "DISPLAY" or not str(alarms[0].get("DESCRIPTION", "")):
        fail("not one display alarm with a text")
    elif int(alarms[0].decoded("TRIGGER").total_seconds()) != case["alarm_offset"]:
        fail(f"alarm at {alarms[0].decoded('TRIGGER')}, expected {case['alarm_offset']} s")
    if not case["occurrences"]:
        return
    rules = rrule.rruleset()
    rules.rrule(rrule.rrulestr(component["RRULE"].to_ical().decode(), dtstart=in_zone(start, tzid)))
    for kind, add in (("RDATE", rules.rdate), ("EXDATE", rules.exdate)):
        values = component.get(kind, [])
        for value in values if isinstance(values, list) else [values]:
            if value.params.get("TZID") != tzid:
                fail(f"{kind} not in {tzid}: {value.to_ical()!r}")
            for date in value.dts:
                add(in_zone(date.dt, tzid))
    got = [int(t.timestamp()) for t in list(rules)[:40]]
    if got != case["occurrences"]:
        fail(f"occurrences {got}, expected {case['occurrences']}")


def main():
    dump = subprocess.run([sys.argv[1]], check=True, capture_output=True, text=True).stdout
    cases = [json.loads(line) for line in dump.splitlines()]
    problems = []
    for case in cases:
        try:
            check(case, problems)
        except Exception as error:  # a reader's refusal is a finding too
            problems.append(f"{case['name']}: {type(error).__name__}: {error}")
    for problem in problems:
        print(problem)
    print(f"{len(cases)} objects, {len(problems)} problems")
    return 1 if problems or not cases else 0


if __name__ == "__main__":
    sys.exit(main())
