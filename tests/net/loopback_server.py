"""A loopback HTTP server that answers as the guidance archives do, from the fixtures.

Layouts served (any host part of a template may point here):
  /cgi-bin/afos/retrieve.py?pil=NBSBKX&matches=KBKX&sdate=2026-12-08T12:00Z...
      the text archive: each product framed SOH LF, product, LF ETX LF; nothing found is
      200 OK with "ERROR: Could not Find: NBSBKX"
  /pub/data/nccf/com/blend/prod/blend.YYYYMMDD/HH/text/blend_nbstx.tHHz  (and under /blend.)
  /pub/data/nccf/com/gfs_mos/prod/gfs_mos.YYYYMMDD/mdl_gfsmav.tHHz, mdl_gfsmex.tHHz
      whole-cycle files: every station's bulletin of the product
  /YYYY/MM/DD/bufkit/HH/MODEL/NAME.buf and /bufkit/data/MODEL/HH/NAME.buf  BUFKIT profiles
  /cgi-bin/filter_gfs_0p25.pl?dir=%2Fgfs.YYYYMMDD%2FHH%2Fatmos&file=gfs.tHHz.pgrb2.0p25.fFFF
      &var_TMP=on&lev_2_m_above_ground=on&...  the grib filter: the messages of the hour whose
      variable and level are both ticked, whole (the box is logged, not cut)
  /gfs.YYYYMMDD/HH/atmos/gfs.tHHz.pgrb2.0p25.fFFF and .idx  the bucket: the whole hour, or
      the bytes a Range asks for (206 with Content-Range), and its index
The GRIB2 hours are made from the GFS sample and its .idx, in its order: the run's time
and the hour's steps set in each message (U and V at 10 m stay packed in one).
  /cgi-bin/request/mos.py?station=KFSD&model=NBS&sts=...Z&ets=...Z&format=csv
      the MOS archive: the runs from sts to ets (both counted) of `mos_tables`; MAV or a
      time without its zone is refused with 422
  /cgi-bin/request/asos.py?station=FSD&data=tmpf&...&sts=...Z&ets=...Z
      the ASOS archive: the reports of `asos_tables` from sts up to ets

Faults are set per path: `faults` maps a substring of the path and query (one ending in $:
the end of the path) to a list of
actions used one per request (a leading * repeats it for ever): 404, 403, 500, 503,
429:SECONDS (Retry-After), cut, lie (a Content-Length longer than the body), html,
notfound, stall, redirect, ignore-conditional, garbage, huge, range200 (the whole file for
a Range), badrange (a Content-Range one byte off), truncated (the body's last 1000 bytes left out,
framed as whole), wronghour (the GRIB2 hour 3 hours later in the hour's place), zeros
(a range's bytes all zero), error200 (200 OK with the archive's error text). Every request
is logged.
"""

import http.server
import re
import subprocess
import tempfile
import threading
import time
import urllib.parse
from pathlib import Path

HERE = Path(__file__).resolve().parent
ROOT = HERE.parent.parent


def split_bulletins(text):
    """The bulletins of a bulletin file, by their header lines: {(station, kind): text}."""
    found = {}
    current = None
    for line in text.splitlines(keepends=True):
        match = re.match(r"\s*(K\w{3})\s+(?:NBM\s+\S+\s+(NBS)|(GFSX|GFS) MOS)\s+GUIDANCE", line)
        if match:
            kind = {"NBS": "NBS", "GFS": "MAV", "GFSX": "MEX"}[match.group(2) or match.group(3)]
            current = (match.group(1), kind)
            found[current] = ""
        if current and line.strip():
            found[current] += line
    return found


BULLETINS = split_bulletins((ROOT / "examples" / "bulletins.txt").read_text())
# The day the fixtures hold, as the archive's sdate and the whole-cycle paths write it.
FIXTURE_DAY = "2026-12-08"
PROFILES = {
    "gfs": (ROOT / "tests" / "products" / "bufkit" / "gfs3_kdsm.buf").read_bytes(),
    "hrrr": (ROOT / "tests" / "products" / "bufkit" / "hrrr_kdsm.buf").read_bytes(),
}
PROFILES["rap"] = PROFILES["hrrr"]
# Bytes of other stations' lines put before a whole-cycle file's bulletins (the real
# files are some 30 MB).
PADDING = 0


GRIB_SAMPLE = ROOT / "tests" / "products" / "grib" / "gfs_2p5deg_f120_fields.grib2"
# The sample's run, and the hours a run's files are out to: runs not named have none.
GRIB_RUN = "2011011012"
GRIB_LOCK = threading.Lock()
GRIB_HOURS = {}  # (run, hour): (file bytes, .idx text)
GRIB_WORK = None


def grib_messages(data):
    """The offsets of the messages of a GRIB2 file, by their indicators' lengths."""
    offsets = []
    at = 0
    while at < len(data):
        assert data[at:at + 4] == b"GRIB", at
        offsets.append(at)
        at += int.from_bytes(data[at + 8:at + 16], "big")
    return offsets


def sample_index():
    """The sample's .idx lines, grouped by the message they share."""
    lines = (GRIB_SAMPLE.parent / (GRIB_SAMPLE.name + ".idx")).read_text().splitlines()
    groups = []
    for line in lines:
        offset = line.split(":")[1]
        if groups and groups[-1][0] == offset:
            groups[-1][1].append(line)
        else:
            groups.append((offset, [line]))
    return [group for _, group in groups]


def set_instant(message, run, hour):
    """An instant's message (U and V packed in one stay so) at another run and hour: the
    reference time of section 1, the forecast time of each section 4 (template 4.0, hours)."""
    data = bytearray(message)
    at = 16
    while data[at:at + 4] != b"7777":
        length = int.from_bytes(data[at:at + 4], "big")
        number = data[at + 4]
        if number == 1:
            data[at + 12:at + 19] = (int(run[:4]).to_bytes(2, "big") +
                                     bytes([int(run[4:6]), int(run[6:8]), int(run[8:]), 0, 0]))
        elif number == 4:
            assert int.from_bytes(data[at + 7:at + 9], "big") == 0 and data[at + 17] == 1
            data[at + 18:at + 22] = hour.to_bytes(4, "big")
        at += length
    return bytes(data)


def is_period(group):
    return " acc " in group[0] or " ave " in group[0]


def grib_hour(run, hour):
    """The file and .idx of one hour of `run`, made once, in the sample's order."""
    global GRIB_WORK
    with GRIB_LOCK:
        if (run, hour) in GRIB_HOURS:
            return GRIB_HOURS[(run, hour)]
        if GRIB_WORK is None:
            GRIB_WORK = tempfile.TemporaryDirectory(prefix="wxguide-grib-")
        work = Path(GRIB_WORK.name)
        sample = GRIB_SAMPLE.read_bytes()
        starts = grib_messages(sample) + [len(sample)]
        messages = [sample[a:b] for a, b in zip(starts, starts[1:])]
        groups = sample_index()
        assert len(messages) == len(groups), (len(messages), len(groups))
        start = max(hour - 3, 0)
        # The periods' steps through grib_set, which keeps these one field a message.
        periods = [m for m, g in zip(messages, groups) if is_period(g)]
        (work / "periods.grib2").write_bytes(b"".join(periods))
        subprocess.run(["grib_set", "-s", "dataDate=%s,dataTime=%s00,stepRange=%d-%d" % (
            run[:8], run[8:], start, hour), str(work / "periods.grib2"), str(work / "set.grib2")],
            check=True)
        done = (work / "set.grib2").read_bytes()
        bounds = grib_messages(done) + [len(done)]
        periods = iter([done[a:b] for a, b in zip(bounds, bounds[1:])])
        data = b""
        lines = []
        for number, (message, group) in enumerate(zip(messages, groups), 1):
            offset = len(data)
            data += next(periods) if is_period(group) else set_instant(message, run, hour)
            for part, line in enumerate(group, 1):
                fields = line.split(":")
                time_words = "%d hour fcst" % hour
                if is_period(group):
                    kind = "acc" if " acc " in fields[5] else "ave"
                    time_words = "%d-%d hour %s fcst" % (start, hour, kind)
                name = str(number) if len(group) == 1 else "%d.%d" % (number, part)
                lines.append(":".join([name, str(offset), "d=" + run, fields[3], fields[4],
                                       time_words, ""]))
        GRIB_HOURS[(run, hour)] = (data, "\n".join(lines) + "\n")
        return GRIB_HOURS[(run, hour)]


def filtered(data, index, query):
    """The messages of an hour whose variable and level were both ticked."""
    ticked = {key for key, value in query.items() if value == ["on"]}
    lines = [line.split(":") for line in index.splitlines()]
    offsets = sorted({int(fields[1]) for fields in lines})
    kept = []
    for offset in offsets:
        group = [f for f in lines if int(f[1]) == offset]
        if any("var_" + f[3] in ticked and "lev_" + f[4].replace(" ", "_") in ticked
               for f in group):
            end = next((o for o in offsets if o > offset), len(data))
            kept.append(data[offset:end])
    return b"".join(kept)


def framed(pil, station, kind):
    text = BULLETINS[(station, kind)]
    heading = {"NBS": "FOUS15 KWNO 081200", "MAV": "FOUS21 KWNO 081200",
               "MEX": "FEUS21 KWNO 080000"}[kind]
    return ("\001\n" + heading + "\n" + pil + "\n" + text + "\n\003\n").encode()


class QuietServer(http.server.ThreadingHTTPServer):
    """A client that hangs up mid-answer (as a stalled one does) is no error here."""

    def handle_error(self, request, client_address):
        pass


class Server:
    def __init__(self):
        self.faults = {}
        self.log = []  # (arrival time, path, status, body bytes, headers)
        # Runs of the profiles that are out: (model, "YYYYMMDDHH"); None means any.
        self.profile_runs = None
        # The last hour out of each GFS run with GRIB2 hours.
        self.grib_out = {GRIB_RUN: 384}
        # The archives' tables: {(station, model): csv} and {three-letter id: csv}.
        self.mos_tables = {}
        self.asos_tables = {}
        self.lock = threading.Lock()
        self.httpd = QuietServer(("127.0.0.1", 0), self._handler())
        self.httpd.daemon_threads = True
        self.port = self.httpd.server_address[1]
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()

    def next_fault(self, target):
        with self.lock:
            for key, actions in self.faults.items():
                hit = target.endswith(key[:-1]) if key.endswith("$") else key in target
                if hit and actions:
                    action = actions[0]
                    if action.startswith("*"):
                        return action[1:]
                    actions.pop(0)
                    return action
        return None

    def requests(self):
        with self.lock:
            return list(self.log)

    def body_bytes(self):
        return sum(entry[3] for entry in self.requests())

    def busiest_minute(self):
        """The most requests to this server in any 60 seconds."""
        times = sorted(entry[0] for entry in self.requests())
        most = 0
        start = 0
        for end, moment in enumerate(times):
            while times[start] <= moment - 60:
                start += 1
            most = max(most, end - start + 1)
        return most

    def grib_content(self, path, query, fault=None):
        """A GRIB2 hour, filtered, whole or its .idx; None when it is not out."""
        if path.endswith("/filter_gfs_0p25.pl"):
            where = re.fullmatch(r"/gfs\.(\d{8})/(\d\d)/atmos", query.get("dir", [""])[0])
            name = re.fullmatch(r"gfs\.t(\d\d)z\.pgrb2\.0p25\.f(\d{3})",
                                query.get("file", [""])[0])
            if not where or not name or name.group(1) != where.group(2):
                return None
            run, hour, index = where.group(1) + where.group(2), int(name.group(2)), False
        else:
            match = re.search(r"/gfs\.(\d{8})/(\d\d)/atmos/gfs\.t(\d\d)z\.pgrb2\.0p25\."
                              r"f(\d{3})(\.idx)?$", path)
            if not match or match.group(2) != match.group(3):
                return None
            run, hour, index = match.group(1) + match.group(2), int(match.group(4)), match.group(5)
        if hour > self.grib_out.get(run, -1):
            return None
        data, text = grib_hour(run, hour + (3 if fault == "wronghour" else 0))
        if index:
            return text.encode()
        return filtered(data, text, query) if path.endswith(".pl") else data

    def archive_table(self, path, query):
        """The MOS or ASOS archive's answer: (status, body), or None for another path."""
        if not path.endswith(("/cgi-bin/request/mos.py", "/cgi-bin/request/asos.py")):
            return None
        sts, ets = query.get("sts", [""])[0], query.get("ets", [""])[0]
        if not (sts.endswith("Z") and ets.endswith("Z")):
            return 422, b'{"detail": "sts and ets need a timezone"}'
        start, end = sts[:-1].replace("T", " "), ets[:-1].replace("T", " ")
        station = query.get("station", [""])[0]
        if path.endswith("/mos.py"):
            model = query.get("model", [""])[0]
            if model not in ("AVN", "ETA", "GFS", "LAV", "MEX", "NAM", "NBE", "NBS"):
                return 422, b'{"detail": "model: Input should be GFS, NBS, ..."}'
            text = self.mos_tables.get((station, model), "station,model,runtime,ftime\n")
            column = 2
            keep = lambda time: start <= time[:16] <= end  # noqa: E731
        else:
            text = self.asos_tables.get(station, "station,valid,tmpf,p01i,metar\n")
            column = 1
            keep = lambda time: start <= time[:16] < end  # noqa: E731
        lines = text.splitlines()
        rows = [line for line in lines[1:] if keep(line.split(",")[column])]
        return 200, ("\n".join([lines[0]] + rows) + "\n").encode()

    def content(self, path, query, fault=None):
        """The body at the path, or None when nothing is there."""
        if "filter_gfs" in path or "/atmos/" in path:
            return self.grib_content(path, query, fault)
        if path.endswith("/retrieve.py"):
            pil = query.get("pil", [""])[0]
            station = query.get("matches", [""])[0]
            kind = pil[:3]
            day = query.get("sdate", [""])[0][:10]
            if day == FIXTURE_DAY and (station, kind) in BULLETINS and pil[3:] == station[1:]:
                return framed(pil, station, kind)
            return ("ERROR: Could not Find: " + pil.ljust(6, "X")).encode()
        match = re.search(r"(\d{8})/\d\d/text/blend_nbstx\.t12z$|gfs_mos\.(\d{8})/mdl_gfs(mav|mex)\.t(12|00)z$", path)
        if match:
            day = match.group(1) or match.group(2)
            kind = {"mav": "MAV", "mex": "MEX"}.get(match.group(3), "NBS")
            if day != FIXTURE_DAY.replace("-", ""):
                return None
            parts = [text for (station, k), text in BULLETINS.items() if k == kind]
            filler = b" KXXX   OTHER STATION LINE " + b"9" * 50 + b"\n"
            return filler * (PADDING // len(filler)) + ("\n".join(parts)).encode()
        match = re.search(r"/(\d{4})/(\d\d)/(\d\d)/bufkit/(\d\d)/(gfs|rap|hrrr)/\w+\.buf$", path)
        if match:
            run = "".join(match.group(1, 2, 3, 4))
            model = match.group(5)
        else:
            match = re.search(r"/bufkit/data/(GFS|RAP|HRRR)/(\d\d)/\w+\.buf$", path)
            if not match:
                return None
            model = match.group(1).lower()
            run = "PSU" + match.group(2)
        if self.profile_runs is not None and (model, run) not in self.profile_runs:
            return None
        return PROFILES[model]

    def _handler(self):
        server = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.1"

            def log_message(self, *args):
                pass

            def answer(self, status, body=b"", headers=(), length=None):
                self.send_response(status)
                for name, value in headers:
                    self.send_header(name, value)
                self.send_header("Content-Length", str(len(body) if length is None else length))
                # Logged before the body goes: a client that has the whole body may end, and
                # its test read the log, before this thread would go on.
                with server.lock:
                    server.log.append((self.arrived, self.path, status, len(body),
                                       dict(self.headers)))
                self.end_headers()
                self.wfile.write(body)

            def do_GET(self):
                # A server counts requests as they come, whatever the answer's length.
                self.arrived = time.monotonic()
                parsed = urllib.parse.urlsplit(self.path)
                query = urllib.parse.parse_qs(parsed.query)
                fault = server.next_fault(self.path)
                if fault and fault.split(":")[0] in ("404", "403", "500", "503", "429"):
                    code = int(fault.split(":")[0])
                    headers = [("Retry-After", fault.split(":")[1])] if ":" in fault else []
                    self.answer(code, b"error\n", headers)
                    return
                if fault == "redirect":
                    self.answer(302, b"", [("Location", self.path + "&moved=1"
                                             if "?" in self.path else self.path + "?moved=1")])
                    return
                archive = server.archive_table(parsed.path, query)
                if archive and archive[0] != 200:
                    self.answer(archive[0], archive[1])
                    return
                body = archive[1] if archive else server.content(parsed.path, query, fault)
                if body is None:
                    self.answer(404, b"not here\n")
                    return
                if fault == "notfound":
                    body = b"ERROR: Could not Find: XXXXXX"
                elif fault == "html":
                    body = b"<!DOCTYPE html>\n<html><body>Service unavailable</body></html>\n"
                elif fault == "garbage":
                    # The bulletin with its rows cut: no reader takes it.
                    body = b"\n".join(body.split(b"\n")[:12]) + b"\nXXXX  garbled\n"
                    body += b"\n\003\n" if body.startswith(b"\001") else b""
                elif fault == "truncated":
                    body = body[:-1000]
                elif fault == "error200":
                    body = b"ERROR: the service is too busy to answer; try again later\n"
                elif fault == "huge":
                    body = body + b" " * (2 << 20)
                etag = '"%08x"' % (hash(body) & 0xFFFFFFFF)
                headers = [("ETag", etag), ("Last-Modified", "Tue, 08 Dec 2026 16:00:00 GMT"),
                           ("Content-Type", "text/plain")]
                if (fault != "ignore-conditional" and
                        self.headers.get("If-None-Match") == etag):
                    self.answer(304, b"", [("ETag", etag)])
                    return
                status = 200
                asked = re.fullmatch(r"bytes=(\d+)-(\d*)", self.headers.get("Range", ""))
                if asked and fault != "range200":
                    first = int(asked.group(1))
                    last = int(asked.group(2)) if asked.group(2) else len(body) - 1
                    last = min(last, len(body) - 1)
                    if first > last:
                        self.answer(416, b"", [("Content-Range", "bytes */%d" % len(body))])
                        return
                    shift = 1 if fault == "badrange" else 0
                    headers.append(("Content-Range", "bytes %d-%d/%d" % (
                        first + shift, last + shift, len(body))))
                    body = body[first:last + 1]
                    body = bytes(len(body)) if fault == "zeros" else body
                    status = 206
                if fault in ("cut", "lie", "stall"):
                    self.send_response(status)
                    for name, value in headers:
                        self.send_header(name, value)
                    self.send_header("Content-Length", str(len(body) + (100 if fault == "lie" else 0)))
                    self.end_headers()
                    sent = body if fault == "lie" else body[: len(body) // 2]
                    with server.lock:
                        server.log.append((self.arrived, self.path, status, len(sent),
                                           dict(self.headers)))
                    self.wfile.write(sent)
                    self.wfile.flush()
                    if fault == "stall":
                        time.sleep(10)
                    self.close_connection = True
                    return
                self.answer(status, body, headers)

        return Handler
