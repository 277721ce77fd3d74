#!/usr/bin/env python3
"""A phone, as far as the sync tests need one: a real CalDAV client library
(python3-caldav) changing the calendar as a phone's calendar app would.

    phone.py CALENDAR_URL COMMAND ARGS...     (user and password: PHONE_USER, PHONE_PASSWORD)

    add UID SUMMARY START TZID ALARM_MINUTES   an event with a time zone and a display alarm,
                                               plus what Tallyo does not show (attendee, categories,
                                               an X- property); START as YYYYMMDDTHHMMSS in TZID
    summary UID TEXT                           a new title
    rrule UID RULE                             a rule (RRULE value)
    exdate UID WHEN                            one occurrence deleted (WHEN as START)
    delete UID                                 the whole event
    dump UID                                   its text as the server holds it
    uids                                       the UIDs of every object, one a line
"""
import datetime
import os
import sys

import caldav
import icalendar
from dateutil import tz


# What a phone sends with an event in New York.
NEW_YORK = [
    "BEGIN:VTIMEZONE", "TZID:America/New_York",
    "BEGIN:DAYLIGHT", "TZOFFSETFROM:-0500", "TZOFFSETTO:-0400", "TZNAME:EDT", "DTSTART:19700308T020000",
    "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=2SU", "END:DAYLIGHT",
    "BEGIN:STANDARD", "TZOFFSETFROM:-0400", "TZOFFSETTO:-0500", "TZNAME:EST", "DTSTART:19701101T020000",
    "RRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=1SU", "END:STANDARD",
    "END:VTIMEZONE",
]


def calendar(url):
    client = caldav.DAVClient(url, username=os.environ["PHONE_USER"], password=os.environ["PHONE_PASSWORD"])
    return client.calendar(url=url)


def local(when, tzid):
    return datetime.datetime.strptime(when, "%Y%m%dT%H%M%S").replace(tzinfo=tz.gettz(tzid))


def change(cal, uid, edit):
    event = cal.event_by_uid(uid)
    parsed = icalendar.Calendar.from_ical(event.data)
    for component in parsed.walk("VEVENT"):
        if "RECURRENCE-ID" not in component:
            edit(component)
    event.data = parsed.to_ical().decode()
    event.save()


def main(argv):
    url, command, args = argv[1], argv[2], argv[3:]
    cal = calendar(url)
    if command == "add":
        uid, summary, start, tzid, alarm = args
        begin = local(start, tzid)
        text = "\r\n".join([
            "BEGIN:VCALENDAR", "VERSION:2.0", "PRODID:-//Phone tests//EN",
        ] + (NEW_YORK if tzid == "America/New_York" else []) + [
            "BEGIN:VEVENT", "UID:" + uid, "DTSTAMP:20260101T000000Z",
            "DTSTART;TZID=%s:%s" % (tzid, begin.strftime("%Y%m%dT%H%M%S")),
            "DTEND;TZID=%s:%s" % (tzid, (begin + datetime.timedelta(hours=1)).strftime("%Y%m%dT%H%M%S")),
            "SUMMARY:" + summary, "CATEGORIES:Phone,Tests", "ATTENDEE;CN=Li Lei:mailto:li@example.com",
            "X-PHONE-COLOR:teal",
            "BEGIN:VALARM", "ACTION:DISPLAY", "DESCRIPTION:" + summary, "TRIGGER:-PT%sM" % alarm, "END:VALARM",
            "END:VEVENT", "END:VCALENDAR", ""])
        cal.save_event(text)
    elif command == "summary":
        uid, text = args
        change(cal, uid, lambda c: c.__setitem__("SUMMARY", text))
    elif command == "rrule":
        uid, rule = args
        parts = {}
        for part in rule.split(";"):
            name, value = part.split("=")
            parts[name.lower()] = [int(v) if v.isdigit() else v for v in value.split(",")]
        change(cal, uid, lambda c: c.add("RRULE", parts))
    elif command == "exdate":
        uid, when = args

        def add_exdate(component):
            tzid = component["DTSTART"].params["TZID"]
            naive = datetime.datetime.strptime(when, "%Y%m%dT%H%M%S")
            component.add("EXDATE", naive, parameters={"TZID": tzid})
        change(cal, uid, add_exdate)
    elif command == "delete":
        cal.event_by_uid(args[0]).delete()
    elif command == "dump":
        sys.stdout.write(cal.event_by_uid(args[0]).data)
    elif command == "uids":
        for obj in cal.events() + cal.todos(include_completed=True):
            for component in icalendar.Calendar.from_ical(obj.data).walk():
                if component.name in ("VEVENT", "VTODO", "VJOURNAL") and "RECURRENCE-ID" not in component:
                    print(component["UID"])
    else:
        sys.exit("unknown command " + command)


if __name__ == "__main__":
    main(sys.argv)
