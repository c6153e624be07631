#!/usr/bin/env python3
"""Writes a short NMEA 0183 log of a patrol around the council's offices in Telukmerbau: about five
minutes at one fix a second, RMC and GGA per fix, with two stops where a compound would be issued. The output is the
same bytes every run, so the shipped log only changes when this script does.

    scripts/make-patrol-nmea.py resources/patrol.nmea
"""
import datetime
import math
import sys

# The council's offices, and the corners of the loop driven around the town centre (latitude, longitude).
OFFICE = (3.07380, 101.51830)
ROUTE = [
    OFFICE,
    (3.07380, 101.51990),
    (3.07520, 101.51990),
    (3.07520, 101.51830),
    (3.07640, 101.51720),
    (3.07640, 101.51600),
    (3.07380, 101.51600),
    OFFICE,
]
STOPS = {2: 20, 5: 25}  # corner index -> seconds parked there
SPEED_MS = 5.0          # a slow drive along shop fronts
START = datetime.datetime(2026, 3, 14, 1, 30, 0)  # 09:30 in Telukmerbau (UTC+8)
PARKED_AT_END = 10
EARTH_M = 6371000.0


def metres(a, b):
    dlat = math.radians(b[0] - a[0])
    dlon = math.radians(b[1] - a[1]) * math.cos(math.radians((a[0] + b[0]) / 2))
    return EARTH_M * math.hypot(dlat, dlon)


def course(a, b):
    dlat = b[0] - a[0]
    dlon = (b[1] - a[1]) * math.cos(math.radians(a[0]))
    return (math.degrees(math.atan2(dlon, dlat)) + 360.0) % 360.0


def track():
    """(position, speed m/s, course) for each second."""
    fixes = []
    heading = course(ROUTE[0], ROUTE[1])
    for i in range(len(ROUTE) - 1):
        a, b = ROUTE[i], ROUTE[i + 1]
        heading = course(a, b)
        steps = max(1, round(metres(a, b) / SPEED_MS))
        for s in range(steps):
            f = s / steps
            fixes.append(((a[0] + (b[0] - a[0]) * f, a[1] + (b[1] - a[1]) * f), SPEED_MS, heading))
        for _ in range(STOPS.get(i + 1, 0)):
            fixes.append((b, 0.0, heading))
    for _ in range(PARKED_AT_END):  # back at the offices
        fixes.append((OFFICE, 0.0, heading))
    return fixes


def sentence(body):
    checksum = 0
    for c in body.encode("ascii"):
        checksum ^= c
    return "$%s*%02X\r\n" % (body, checksum)


def angle(value, degree_digits):
    degrees = int(value)
    minutes = (value - degrees) * 60.0
    return "%0*d%07.4f" % (degree_digits, degrees, minutes)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make-patrol-nmea.py OUT.nmea")
    lines = []
    for n, ((lat, lon), speed, heading) in enumerate(track()):
        t = START + datetime.timedelta(seconds=n)
        time = t.strftime("%H%M%S.00")
        la, lo = angle(lat, 2), angle(lon, 3)
        lines.append(sentence("GPRMC,%s,A,%s,N,%s,E,%.1f,%.1f,%s,,,A"
                              % (time, la, lo, speed * 1.943844, heading, t.strftime("%d%m%y"))))
        lines.append(sentence("GPGGA,%s,%s,N,%s,E,1,09,0.9,18.0,M,4.5,M,," % (time, la, lo)))
    with open(sys.argv[1], "w", newline="") as out:
        out.write("".join(lines))


if __name__ == "__main__":
    main()
