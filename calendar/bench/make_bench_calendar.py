#!/usr/bin/python3
"""Writes a calendar of N events (default 10,000) to standard output, as a
calendar program exports one: a tenth repeating (half of those with rules
past the arithmetic engine: 2TU, -1FR, the last day of the month...), a
third with a display alarm, times in UTC, in a named zone and floating,
titles in Chinese and English, most with a description and some with a
location. Dates lie from 2027 on, so none is past."""
import sys

RULES_PLAIN = ['FREQ=DAILY', 'FREQ=WEEKLY', 'FREQ=WEEKLY;BYDAY=MO,WE,FR', 'FREQ=MONTHLY', 'FREQ=YEARLY']
RULES_BEYOND = ['FREQ=MONTHLY;BYDAY=2TU', 'FREQ=MONTHLY;BYDAY=-1FR', 'FREQ=MONTHLY;BYMONTHDAY=-1',
                'FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU', 'FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1']
TITLES = ['\u5468\u4f1a', 'Dentist', '\u4ea4\u7535\u8d39', 'Call the bank', '\u751f\u65e5\u805a\u4f1a',
          'Team review', '\u53d6\u5feb\u9012', 'Car service']


def main():
    n = int(sys.argv[1]) if len(sys.argv) > 1 else 10000
    out = ['BEGIN:VCALENDAR', 'VERSION:2.0', 'PRODID:-//Tallyo//bench calendar//EN']
    for i in range(n):
        day = 1 + i % 28
        month = 1 + (i // 28) % 12
        year = 2027 + (i // 336) % 10
        hour = 8 + i % 10
        stamp = '%04d%02d%02dT%02d%02d00' % (year, month, day, hour, (i * 7) % 60)
        lines = ['BEGIN:VEVENT', 'UID:bench-%d@tallyo.example' % i, 'DTSTAMP:20261201T000000Z',
                 'SUMMARY:%s %d' % (TITLES[i % len(TITLES)], i)]
        if i % 3 == 0:
            lines.append('DTSTART:%sZ' % stamp)
        elif i % 3 == 1:
            lines.append('DTSTART;TZID=America/New_York:%s' % stamp)
        else:
            lines.append('DTSTART:%s' % stamp)
        lines.append('DURATION:PT1H')
        if i % 4 != 0:
            lines.append('DESCRIPTION:Notes for event %d\\n\u7b2c\u4e8c\u884c\uff1a\u8bf7\u5e26\u4e0a\u6750\u6599' % i)
        if i % 5 == 0:
            lines.append('LOCATION:Room %d\\, Building %d' % (i % 40, i % 7))
        if i % 10 == 0:
            k = i // 10
            rules = RULES_BEYOND if k % 2 else RULES_PLAIN
            lines.append('RRULE:' + rules[(k // 2) % len(rules)])
        if i % 3 == 1:
            lines += ['BEGIN:VALARM', 'ACTION:DISPLAY', 'DESCRIPTION:Reminder', 'TRIGGER:-PT15M', 'END:VALARM']
        lines.append('END:VEVENT')
        out += lines
    out.append('END:VCALENDAR')
    sys.stdout.buffer.write(('\r\n'.join(out) + '\r\n').encode('utf-8'))


if __name__ == '__main__':
    main()
