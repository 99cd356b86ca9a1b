"""A loopback HTTP server that answers as the guidance archives do, from the fixtures.

Layouts served (any host part of a template may point here):
  /cgi-bin/afos/retrieve.py?pil=NBSBKX&matches=KBKX&sdate=2026-12-08T12:00Z...
      the text archive: each product framed SOH LF, product, LF ETX LF; nothing found is
      200 OK with "ERROR: Could not Find: NBSBKX"
  /pub/data/nccf/com/blend/prod/blend.YYYYMMDD/HH/text/blend_nbstx.tHHz  (and under /blend.)
  /pub/data/nccf/com/gfs_mos/prod/gfs_mos.YYYYMMDD/mdl_gfsmav.tHHz, mdl_gfsmex.tHHz
      whole-cycle files: every station's bulletin of the product
  /YYYY/MM/DD/bufkit/HH/MODEL/NAME.buf and /bufkit/data/MODEL/HH/NAME.buf  BUFKIT profiles
  /cgi-bin/request/mos.py?station=KFSD&model=NBS&sts=...Z&ets=...Z&format=csv
      the MOS archive: the runs from sts to ets (both counted) of `mos_tables`; MAV or a
      time without its zone is refused with 422
  /cgi-bin/request/asos.py?station=FSD&data=tmpf&...&sts=...Z&ets=...Z
      the ASOS archive: the reports of `asos_tables` from sts up to ets

Faults are set per path: `faults` maps a substring of the path and query to a list of
actions used one per request (a leading * repeats it for ever): 404, 403, 500, 503,
429:SECONDS (Retry-After), cut, lie (a Content-Length longer than the body), html,
notfound, stall, redirect, ignore-conditional, garbage, huge, error200 (200 OK with the
archive's error text). Every request is logged.
"""

import http.server
import re
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
        self.log = []  # (time, path, status, body bytes, headers)
        # Runs of the profiles that are out: (model, "YYYYMMDDHH"); None means any.
        self.profile_runs = None
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
                if key in target and actions:
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

    def content(self, path, query):
        """The body at the path, or None when nothing is there."""
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
                self.end_headers()
                self.wfile.write(body)
                with server.lock:
                    server.log.append((time.monotonic(), self.path, status, len(body),
                                       dict(self.headers)))

            def do_GET(self):
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
                body = archive[1] if archive else server.content(parsed.path, query)
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
                if fault in ("cut", "lie", "stall"):
                    self.send_response(200)
                    self.send_header("Content-Length", str(len(body) + (100 if fault == "lie" else 0)))
                    self.end_headers()
                    sent = body if fault == "lie" else body[: len(body) // 2]
                    self.wfile.write(sent)
                    self.wfile.flush()
                    if fault == "stall":
                        time.sleep(10)
                    with server.lock:
                        server.log.append((time.monotonic(), self.path, 200, len(sent),
                                           dict(self.headers)))
                    self.close_connection = True
                    return
                self.answer(200, body, headers)

        return Handler
