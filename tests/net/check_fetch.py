"""End-to-end cases of `wxguide fetch` against the loopback server.

Usage: check_fetch.py PROGRAM WORK_DIR CASE [EMULATOR...]
Each case runs the real program in its own folder, with WXGUIDE_SOURCES naming a table of
loopback templates and WXGUIDE_CACHE a folder inside the case's, and checks what it wrote,
what it said, and what the server was asked.
"""

import os
import shutil
import subprocess
import sys
import urllib.parse
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import loopback_server  # noqa: E402

ROOT = Path(__file__).resolve().parents[2]
IEM = ("/cgi-bin/afos/retrieve.py?pil={P}{{ID3}}&fmt=text&limit={L}&order=asc&matches={{ID}}"
       "&sdate={{sdate}}&edate={{edate}}")


def sources_table(port, nomads_port, mirror_port):
    here = f"http://127.0.0.1:{port}"
    nomads = f"http://127.0.0.1:{nomads_port}"
    mirror = f"http://127.0.0.1:{mirror_port}"
    return "\n".join([
        "# loopback sources",
        "nbs " + here + IEM.format(P="NBS", L=3),
        "mav " + here + IEM.format(P="MAV", L=1),
        "mex " + here + IEM.format(P="MEX", L=1),
        f"nbs {nomads}/pub/data/nccf/com/blend/prod/blend.{{YYYYMMDD}}/{{HH}}/text/blend_nbstx.t{{HH}}z",
        f"nbs {mirror}/blend.{{YYYYMMDD}}/{{HH}}/text/blend_nbstx.t{{HH}}z",
        f"mav {nomads}/pub/data/nccf/com/gfs_mos/prod/gfs_mos.{{YYYYMMDD}}/mdl_gfsmav.t{{HH}}z",
        f"mex {nomads}/pub/data/nccf/com/gfs_mos/prod/gfs_mos.{{YYYYMMDD}}/mdl_gfsmex.t{{HH}}z",
        f"gfs-profile {here}/{{YYYY}}/{{MM}}/{{DD}}/bufkit/{{HH}}/gfs/{{gfs}}_{{id}}.buf",
        f"gfs-profile {mirror}/bufkit/data/GFS/{{HH}}/{{gfs}}_{{id}}.buf",
        f"hrrr-profile {here}/{{YYYY}}/{{MM}}/{{DD}}/bufkit/{{HH}}/hrrr/hrrr_{{id}}.buf",
        f"hrrr-profile {mirror}/bufkit/data/HRRR/{{HH}}/hrrr_{{id}}.buf",
        f"gfs-grib-filter {nomads}/cgi-bin/filter_gfs_0p25.pl?dir=%2Fgfs.{{YYYYMMDD}}%2F{{HH}}"
        "%2Fatmos&file=gfs.t{HH}z.pgrb2.0p25.f{FFF}&{fields}&subregion=&toplat={toplat}"
        "&leftlon={leftlon}&rightlon={rightlon}&bottomlat={bottomlat}",
        f"gfs-grib {mirror}/gfs.{{YYYYMMDD}}/{{HH}}/atmos/gfs.t{{HH}}z.pgrb2.0p25.f{{FFF}}",
        "",
    ])


class Case:
    def __init__(self, program, work, emulator):
        self.program = program
        self.emulator = emulator
        self.work = work
        shutil.rmtree(work, ignore_errors=True)
        work.mkdir(parents=True)
        self.server = loopback_server.Server()
        self.nomads = loopback_server.Server()
        self.mirror = loopback_server.Server()
        (work / "sources.txt").write_text(
            sources_table(self.server.port, self.nomads.port, self.mirror.port))
        self.env = {k: v for k, v in os.environ.items()
                    if not k.startswith("WXGUIDE_") and k not in ("http_proxy", "https_proxy",
                                                                   "HTTP_PROXY", "HTTPS_PROXY")}
        self.env.update(WXGUIDE_SOURCES=str(work / "sources.txt"),
                        WXGUIDE_CACHE=str(work / "cache"), WXGUIDE_BACKOFF_SECONDS="0",
                        WXGUIDE_NOW="2026120815", no_proxy="*")

    def run(self, *args, status=0, env=None):
        full = dict(self.env, **(env or {}))
        done = subprocess.run(self.emulator + [self.program, *args], cwd=self.work, env=full,
                              capture_output=True, timeout=120)
        out = done.stdout.decode(errors="replace")
        err = done.stderr.decode(errors="replace").replace("\r\n", "\n")
        check(done.returncode == status,
              f"{' '.join(args)}: exit {done.returncode}, not {status}\n{err}")
        return out, err

    def asked(self, server=None):
        return len((server or self.server).requests())

    def leftovers(self):
        """Temporaries left in the case's folder or the cache."""
        return [p.name for p in self.work.rglob("*") if ".part" in p.name or "wxguide-" in p.name]

    def close(self):
        self.server.close()
        self.nomads.close()
        self.mirror.close()


def check(condition, message):
    if not condition:
        raise AssertionError(message)


def expected_bulletins(case):
    """The file assemble makes of the same twelve bulletins."""
    done = subprocess.run(case.emulator + [case.program, "assemble", "--date", "12/08/2026",
                                           str(ROOT / "examples" / "bulletins.txt")],
                          capture_output=True, env=case.env, cwd=case.work)
    return done.stdout.replace(b"\r\n", b"\n")


def case_bulletins_cold_then_warm(case):
    _, err = case.run("fetch", "bulletins", "--date", "12/08/2026", "--output", "bulletins.txt")
    written = (case.work / "bulletins.txt").read_bytes().replace(b"\r\n", b"\n")
    check(written == expected_bulletins(case), "the file differs from assemble's")
    check(case.asked() == 12, f"cold: {case.asked()} requests, not 12")
    check(case.server.body_bytes() <= 100 * 1024, f"cold: {case.server.body_bytes()} bytes")
    agents = {entry[4].get("User-Agent") for entry in case.server.requests()}
    check(agents == {"wxguide/1.1.0"}, f"User-Agent sent: {agents}")
    check("NBS 1200 UTC 12/08/2026 from 127.0.0.1:" in err, err)
    check("\r" not in err, "progress shown off a terminal")
    # A day that is over is never asked for again: no request at all.
    _, err = case.run("fetch", "-q", "bulletins", "--date", "12/08/2026", "--output", "again.txt")
    check(case.asked() == 12, f"warm: {case.asked() - 12} more requests")
    check(err == "", f"-q said: {err}")
    check((case.work / "again.txt").read_bytes() == (case.work / "bulletins.txt").read_bytes(),
          "the warm file differs")
    out, _ = case.run("fetch", "--offline", "bulletins", "--date", "12/08/2026")
    check(out.replace("\r\n", "\n").encode() == expected_bulletins(case), "offline output")
    check(case.asked() == 12, "offline asked the server")
    mode = (case.work / "cache").stat().st_mode & 0o777
    check(os.name == "nt" or case.emulator or mode == 0o700, f"cache folder mode {oct(mode)}")


def case_bulletins_retried_faults(case):
    case.server.faults = {"pil=NBSBKX": ["500"], "pil=MAVHON": ["429:1"], "pil=MEXMHE": ["cut"],
                          "pil=NBSFSD": ["redirect"], "pil=MAVFSD": ["503"]}
    _, err = case.run("fetch", "bulletins", "--date", "12/08/2026", "--output", "bulletins.txt")
    check((case.work / "bulletins.txt").read_bytes().replace(b"\r\n", b"\n") ==
          expected_bulletins(case), "the file differs from assemble's")
    # Twelve, one more for each of the five faults.
    check(case.asked() == 17, f"{case.asked()} requests, not 17")
    check("answered 429; trying again in 1 s." in err, err)
    check("answered 500; trying again in 0 s." in err, err)
    check(case.leftovers() == [], f"left behind: {case.leftovers()}")


def case_bulletins_whole_cycle_fallbacks(case):
    # KBKX NBS is not in the archive, nor on NOMADS: the mirror's whole-cycle file. KHON MAV
    # comes as a web page, KMHE MEX with a lying length, KFSD MEX cut off by size: NOMADS.
    case.server.faults = {"pil=NBSBKX": ["*notfound"], "pil=MAVHON": ["*html"],
                          "pil=MEXMHE": ["*lie"], "pil=MEXFSD": ["*huge"]}
    case.nomads.faults = {"blend_nbstx": ["*404"]}
    _, err = case.run("fetch", "bulletins", "--date", "12/08/2026", "--output", "bulletins.txt")
    check((case.work / "bulletins.txt").read_bytes().replace(b"\r\n", b"\n") ==
          expected_bulletins(case), "the file differs from assemble's")
    check("an HTML page came where text was asked; not kept." in err, err)
    check("bytes it announced (tried 4 times); not kept." in err, err)
    check("bytes a product may have; not kept." in err, err)
    check(case.asked(case.mirror) == 1, "the mirror's file asked once")
    check(case.asked(case.nomads) == 3, f"NOMADS asked {case.asked(case.nomads)} times")
    # Nothing refused was kept: asked again, each refused product is asked for again.
    before = case.asked()
    case.run("fetch", "-q", "bulletins", "--date", "12/08/2026", "--output", "bulletins.txt")
    asked_again = [e[1] for e in case.server.requests()[before:]]
    check(any("pil=MAVHON" in p for p in asked_again), "the HTML page was cached")
    check(not any("pil=MAVBKX" in p for p in asked_again), "a whole product was asked again")
    check(case.leftovers() == [], f"left behind: {case.leftovers()}")


def case_bulletins_refused_and_stalled(case):
    # NOMADS blocks: the mirror's NBS file, NOMADS never asked again in the command.
    case.server.faults = {"pil=NBSBKX": ["*garbage"], "pil=MAVHON": ["stall"]}
    case.nomads.faults = {"": ["*403"]}
    _, err = case.run("fetch", "bulletins", "--date", "12/08/2026", "--output", "bulletins.txt",
                      env={"WXGUIDE_STALL_SECONDS": "1"})
    check("option 1 cannot read the KBKX bulletin in it; not kept." in err, err)
    check("no byte came for 1 s; trying again in 0 s." in err, err)
    check("answered 403 Forbidden" in err, err)
    check(case.asked(case.nomads) == 1, f"NOMADS asked {case.asked(case.nomads)} times")
    check((case.work / "bulletins.txt").read_bytes().replace(b"\r\n", b"\n") ==
          expected_bulletins(case), "the file differs from assemble's")
    check(case.leftovers() == [], f"left behind: {case.leftovers()}")


def case_bulletins_none_out(case):
    (case.work / "bulletins.txt").write_text("older file\n")
    case.server.faults = {"": ["*404"]}
    case.nomads.faults = {"": ["*404"]}
    case.mirror.faults = {"": ["*404"]}
    today = {"WXGUIDE_NOW": "2026120903"}
    _, err = case.run("fetch", "bulletins", "--output", "bulletins.txt", status=1, env=today)
    check((case.work / "bulletins.txt").read_text() == "older file\n", "the older file changed")
    check("no source gave all 12 bulletins of 12/09/2026 or 12/08/2026; nothing was written."
          in err, err)
    check(case.leftovers() == [], f"left behind: {case.leftovers()}")
    check(not list((case.work / "cache").glob("*.body")), "a refusal was cached")
    # The archive's "nothing found" for today: yesterday is used, and said so.
    case.server.faults = case.nomads.faults = case.mirror.faults = {}
    _, err = case.run("fetch", "bulletins", "--output", "bulletins.txt", env=today)
    check("using 12/08/2026, the newest date with all 12 bulletins out." in err, err)
    # --offline with an empty cache asks nobody.
    before = case.asked()
    shutil.rmtree(case.work / "cache")
    case.run("fetch", "--offline", "bulletins", "--date", "12/08/2026", status=1)
    check(case.asked() == before, "--offline asked the server")


def case_profile_archives(case):
    fixture = (ROOT / "tests" / "products" / "bufkit" / "gfs3_kdsm.buf").read_bytes()
    _, err = case.run("fetch", "profile", "gfs", "kdsm", "--run", "2026120812")
    check((case.work / "gfs3_kdsm.buf").read_bytes() == fixture, "the profile differs")
    check("gfs 2026120812 KDSM from 127.0.0.1:" in err, err)
    check(case.asked() == 1, f"{case.asked()} requests")
    case.run("fetch", "profile", "gfs", "KDSM", "--run", "2026120812", "--output", "second.buf")
    check(case.asked() == 1, "a final profile was asked for again")
    # The archive refuses, then serves what extract cannot read: the other archive's,
    # asked again only conditionally, and taken again whole when it ignores the condition.
    case.server.faults = {"/gfs/gfsm_kdsm": ["*403"], "/hrrr/": ["*garbage"]}
    case.run("fetch", "profile", "gfs", "KDSM", "--run", "2026120806", "--output", "psu.buf")
    check((case.work / "psu.buf").read_bytes() == fixture, "the mirror's profile differs")
    case.run("fetch", "profile", "gfs", "KDSM", "--run", "2026120806", "--output", "psu2.buf",
             env={"WXGUIDE_NOW": "2026120900"})
    last = case.mirror.requests()[-1]
    check(last[2] == 304 and last[4].get("If-None-Match"), f"not asked conditionally: {last}")
    case.mirror.faults = {"GFS": ["ignore-conditional"]}
    case.run("fetch", "profile", "gfs", "KDSM", "--run", "2026120806", "--output", "psu3.buf")
    check(case.mirror.requests()[-1][2] == 200, "the 200 answer was not taken")
    check((case.work / "psu3.buf").read_bytes() == fixture, "the re-sent profile differs")
    _, err = case.run("fetch", "profile", "hrrr", "KDSM", "--run", "2026120812", "--output",
                      "hrrr.buf")
    check("extract cannot read the profile" in err, err)
    check(not (case.work / "hrrr.buf").exists() or
          (case.work / "hrrr.buf").read_bytes() == PROFILE_HRRR, "a refused profile was kept")


PROFILE_HRRR = (ROOT / "tests" / "products" / "bufkit" / "hrrr_kdsm.buf").read_bytes()


def case_profile_newest_run(case):
    # 15 UTC now: the 15 and 14 UTC runs are not out anywhere, the 13 UTC run is.
    case.server.profile_runs = {("hrrr", "2026120813")}
    case.mirror.profile_runs = set()
    _, err = case.run("fetch", "profile", "hrrr", "KDSM")
    check((case.work / "hrrr_kdsm.buf").read_bytes() == PROFILE_HRRR, "the profile differs")
    check("the hrrr run of 2026120815 is not out; using 2026120813." in err, err)
    check(case.asked() + case.asked(case.mirror) == 5, "requests: 2 + 2 + 1")
    (case.work / "hrrr_kdsm.buf").write_text("older\n")
    case.server.profile_runs = set()
    case.run("fetch", "profile", "hrrr", "KDSM", "--run", "2026120812", status=1)
    check((case.work / "hrrr_kdsm.buf").read_text() == "older\n", "the older file changed")
    check(case.leftovers() == [], f"left behind: {case.leftovers()}")


def case_progress_on_a_terminal(case):
    # script(1) gives the program a terminal: one progress line, rewritten in place and
    # cleared, then the summary; -q shows none of it.
    if case.emulator or shutil.which("script") is None:
        print("skipped: no script(1), or a Windows program under wine")
        sys.exit(77)
    line = (f"{case.program} fetch bulletins --date 12/08/2026 --output b.txt")
    done = subprocess.run(["script", "-qec", line, "/dev/null"], cwd=case.work, env=case.env,
                          capture_output=True, timeout=120)
    shown = done.stdout.decode(errors="replace")
    check(done.returncode == 0, shown)
    nbs = len(loopback_server.framed("NBSBKX", "KBKX", "NBS"))
    check(f"\r\033[KKBKX NBS 1200 UTC: {nbs} bytes\r\033[K" in shown,
          f"no progress line: {shown!r}")
    check("\r\033[KNBS 1200 UTC 12/08/2026" not in shown and
          "wxguide fetch: NBS 1200 UTC 12/08/2026 from" in shown, shown)
    done = subprocess.run(["script", "-qec", line.replace("fetch ", "fetch -q ", 1), "/dev/null"],
                          cwd=case.work, env=case.env, capture_output=True, timeout=120)
    check(done.returncode == 0 and done.stdout == b"", f"-q showed {done.stdout!r}")


# The fields extract reads, as NCEP names them: what the filter and the ranges must ask for.
GRIB_FIELDS = [("PRMSL", "mean sea level"), ("TMP", "2 m above ground"), ("TMP", "850 mb"),
               ("TMP", "700 mb"), ("TMP", "500 mb"), ("HGT", "1000 mb"), ("HGT", "500 mb"),
               ("RH", "2 m above ground"), ("APCP", "surface"), ("TCDC", "entire atmosphere"),
               ("UGRD", "10 m above ground"), ("VGRD", "10 m above ground"),
               ("UGRD", "900 mb"), ("VGRD", "900 mb"), ("UGRD", "500 mb"), ("VGRD", "500 mb"),
               ("UGRD", "250 mb"), ("VGRD", "250 mb"), ("4LFTX", "surface"),
               ("LFTX", "surface"), ("CAPE", "surface"), ("CIN", "surface"),
               ("POT", "0.995 sigma level"), ("LHTFL", "surface"), ("SHTFL", "surface")]
RUN = "2011011012"
FOLDER = "gfs.2011011012"


def hour_name(hour):
    return f"{FOLDER}/gfs.t12z.pgrb2.0p25.f{hour:03d}.grib2"


def wanted_messages(run, hour):
    """The bytes of the hour's messages holding a wanted field, and the ranges that take
    them in the fewest requests, worked out here on their own from the .idx."""
    data, index = loopback_server.grib_hour(run, hour)
    lines = [line.split(":") for line in index.splitlines()]
    offsets = sorted({int(f[1]) for f in lines}) + [len(data)]
    taken = [any((f[3], f[4]) in GRIB_FIELDS for f in lines if int(f[1]) == offset)
             for offset in offsets[:-1]]
    ranges = []
    for at, take in enumerate(taken):
        if take and at > 0 and taken[at - 1]:
            ranges[-1][1] = offsets[at + 1] - 1
        elif take:
            ranges.append([offsets[at], offsets[at + 1] - 1])
    body = b"".join(data[a:b + 1] for a, b in ranges)
    asked = [f"bytes={a}-{b}" if b < len(data) - 1 else f"bytes={a}-" for a, b in ranges]
    return body, asked


def extract_line_runs(case, out):
    """The printed extract line, run: it reads every file."""
    words = out.split()
    check(words[:2] == ["wxguide", "extract"], f"no extract line: {out!r}")
    done = subprocess.run(case.emulator + [case.program, *words[1:]], cwd=case.work, env=case.env,
                          capture_output=True, timeout=120)
    check(done.returncode == 0, done.stderr.decode(errors="replace"))
    return done.stdout.decode()


def case_grib_filter_hours(case):
    out, err = case.run("fetch", "grib", "--station", "KDSM", "--run", RUN)
    hours = list(range(3, 88, 3))
    check(case.asked(case.nomads) == 29, f"{case.asked(case.nomads)} requests, not 29")
    check(case.asked(case.mirror) == 0, "the bucket was asked")
    for entry in case.nomads.requests():
        query = urllib.parse.parse_qs(urllib.parse.urlsplit(entry[1]).query,
                                      keep_blank_values=True)
        ticked = {k for k, v in query.items() if v == ["on"]}
        check(ticked == {"var_" + v for v, _ in GRIB_FIELDS} |
              {"lev_" + lev.replace(" ", "_") for _, lev in GRIB_FIELDS},
              f"fields asked: {sorted(ticked)}")
        box = [query[k][0] for k in ("toplat", "leftlon", "rightlon", "bottomlat")]
        check(box == ["43", "265", "268", "40"] and query["subregion"] == [""], f"box {box}")
    for hour in hours:
        data, index = loopback_server.grib_hour(RUN, hour)
        query = {"var_" + v: ["on"] for v, _ in GRIB_FIELDS}
        query.update({"lev_" + lev.replace(" ", "_"): ["on"] for _, lev in GRIB_FIELDS})
        check((case.work / hour_name(hour)).read_bytes() ==
              loopback_server.filtered(data, index, query), f"hour {hour} differs")
    check(f"wxguide fetch: gfs {RUN} hours 3 to 87: 29 files in {FOLDER} from 127.0.0.1:" in err,
          err)
    check(out == "wxguide extract --station KDSM " +
          " ".join(hour_name(hour) for hour in hours) + "\n", out)
    check("29 rows, forecast hours 3 to 87" in extract_line_runs(case, out), "extract")
    # A rerun asks for nothing; the hours taken away are fetched again, and only those.
    _, err = case.run("fetch", "-q", "grib", "--station", "KDSM", "--run", RUN)
    check(case.asked(case.nomads) == 29 and err == "", f"rerun: {case.asked(case.nomads)}; {err}")
    # A file taken away comes back from the cache, unasked.
    (case.work / hour_name(6)).unlink()
    case.run("fetch", "grib", "--station", "KDSM", "--run", RUN)
    check(case.asked(case.nomads) == 29, "asked again for a cached hour")
    check((case.work / hour_name(6)).exists(), "hour 6 not put back")
    shutil.rmtree(case.work / "cache")
    (case.work / hour_name(6)).unlink()
    (case.work / hour_name(87)).write_bytes((case.work / hour_name(84)).read_bytes()[:5000])
    _, err = case.run("fetch", "grib", "--station", "KDSM", "--run", RUN)
    again = [e[1] for e in case.nomads.requests()[29:]]
    check(len(again) == 2 and "f006" in again[0] + again[1] and "f087" in again[0] + again[1],
          f"asked again: {again}")
    check(f"{hour_name(87)}: ecCodes: " in err and "; fetched again." in err, err)
    check(case.leftovers() == [], f"left behind: {case.leftovers()}")
    check(case.nomads.busiest_minute() <= 100, "more than 100 requests a minute")


def case_grib_newest_run_by_point(case):
    # 15 UTC: the 12 UTC run is out to hour 84 only, so the 06 UTC run is taken.
    for server in (case.nomads, case.mirror):
        server.grib_out = {RUN: 84, "2011011006": 384}
    out, err = case.run("fetch", "grib", "--point", "41.53,-93.65", "--hours", "3-12",
                        "--folder", "models", env={"WXGUIDE_NOW": "2011011015"})
    check("the gfs run of 2011011012 is not out to hour 12; using 2011011006." not in err, err)
    check(out.startswith("wxguide extract --point 41.53,-93.65 models/gfs.2011011012/"), out)
    out, err = case.run("fetch", "grib", "--point", "41.53,-93.65", "--hours", "3-87",
                        "--step", "42", "--folder", "models", env={"WXGUIDE_NOW": "2011011015"})
    check("the gfs run of 2011011012 is not out to hour 87; using 2011011006." in err, err)
    check(out.startswith("wxguide extract --point 41.53,-93.65 "
                         "models/gfs.2011011006/gfs.t06z.pgrb2.0p25.f003.grib2 "), out)
    check("3 files in models/gfs.2011011006" in err, err)
    check("3 rows, forecast hours 3 to 87" in extract_line_runs(case, out), "extract")
    # Hours that are not all multiples of 3: the extract line steps as they do.
    out, _ = case.run("fetch", "grib", "--point", "41.53,-93.65", "--hours", "1-2",
                      "--folder", "models", "--step", "1", env={"WXGUIDE_NOW": "2011011015"})
    check(out.startswith("wxguide extract --point 41.53,-93.65 --step 1 "), out)
    check("2 rows, forecast hours 1 to 2" in extract_line_runs(case, out), "extract")
    # Not out in the last day at all: nothing written, said on one line.
    for server in (case.nomads, case.mirror):
        server.grib_out = {}
    _, err = case.run("fetch", "grib", "--point", "45,-100", status=1,
                      env={"WXGUIDE_NOW": "2011011015"})
    check("no source gave hour 87 of the gfs run of the last day; nothing was written." in err,
          err)
    _, err = case.run("fetch", "grib", "--station", "KXXX", status=2)
    check("no station KXXX in the station table" in err, err)


def case_grib_ranges(case):
    # NOMADS blocks: every hour by ranges from the bucket, the wanted messages only.
    case.nomads.faults = {"": ["*403"]}
    out, err = case.run("fetch", "grib", "--station", "KDSM", "--run", RUN, "--hours", "3-9")
    check(case.asked(case.nomads) == 1, "NOMADS asked after its 403")
    asked = [(e[1], e[4].get("Range")) for e in case.mirror.requests()]
    expected = []
    for hour in (3, 6, 9):
        body, ranges = wanted_messages(RUN, hour)
        check((case.work / hour_name(hour)).read_bytes() == body, f"hour {hour} differs")
        path = f"/gfs.20110110/12/atmos/gfs.t12z.pgrb2.0p25.f{hour:03d}"
        expected += [(path + ".idx", None)] + [(path, r) for r in ranges]
    # The log is kept as each answer ends: its order is not the requests'.
    check(sorted(asked, key=str) == sorted(expected, key=str), f"asked {asked}\nnot {expected}")
    check(any(r[1] and r[1].endswith("-") for r in asked), "the last message not asked for")
    check("3 rows, forecast hours 3 to 9" in extract_line_runs(case, out), "extract")
    sent = case.mirror.body_bytes()
    whole = sum(len(loopback_server.grib_hour(RUN, h)[0]) for h in (3, 6, 9))
    check(sent < whole, f"{sent} bytes sent of {whole}")


def case_grib_range_faults(case):
    case.nomads.faults = {"": ["*404"]}
    case.mirror.faults = {"f003$": ["*range200"], "f006$": ["*badrange"], "f009$": ["cut"],
                          "f012.idx": ["*404"], "f015$": ["lie", "lie", "lie", "lie"]}
    _, err = case.run("fetch", "grib", "--station", "KDSM", "--run", RUN, "--hours", "3-15",
                      status=1)
    check("f003: answered 200 with the whole file where the bytes 63842-135770 were asked; "
          "not kept." in err, err)
    check("f006: the bytes 63842-135770 were answered with the Content-Range "
          "\"bytes 63843-135771/568003\"; not kept." in err, err)
    check("f009: the body ended at 35964 of the 71929 bytes it announced; trying again" in err, err)
    check("bytes it announced (tried 4 times); not kept." in err, err)
    check(f"wxguide fetch: gfs {RUN}: hours 3, 6, 12, 15 could not be fetched; the 1 others "
          "are in place (run again for the rest)." in err, err)
    names = sorted(p.name for p in (case.work / FOLDER).iterdir())
    check(names == ["gfs.t12z.pgrb2.0p25.f009.grib2"], f"kept: {names}")
    check((case.work / hour_name(9)).read_bytes() == wanted_messages(RUN, 9)[0], "hour 9")
    check(case.leftovers() == [], f"left behind: {case.leftovers()}")
    check(not [p for p in (case.work / "cache").glob("*.body") if p.stat().st_size > 100000],
          "a range was kept in the cache")
    # The faults gone, the rerun asks for the four missing hours only.
    case.mirror.faults = {}
    before = case.asked(case.mirror)
    out, _ = case.run("fetch", "grib", "--station", "KDSM", "--run", RUN, "--hours", "3-15")
    again = [e[1] for e in case.mirror.requests()[before:]]
    check(not any("f009" in path for path in again), f"hour 9 asked again: {again}")
    check("5 rows, forecast hours 3 to 15" in extract_line_runs(case, out), "extract")


def case_grib_refused_then_ranges(case):
    # The filter's hour 3 comes short, its hour 6 of another hour: neither is kept, the
    # bucket gives both.
    case.nomads.faults = {"f003": ["*truncated"]}
    case.mirror.grib_out = {RUN: 384}
    _, err = case.run("fetch", "grib", "--station", "KDSM", "--run", RUN, "--hours", "3-6")
    check("f003&" in err and ": ecCodes: " in err and "; not kept." in err, err)
    for hour in (3, 6):
        check((case.work / hour_name(hour)).exists(), f"hour {hour} missing")
    check((case.work / hour_name(3)).read_bytes() == wanted_messages(RUN, 3)[0], "hour 3")
    check(case.asked(case.mirror) > 0, "the bucket was not asked")
    check(case.leftovers() == [], f"left behind: {case.leftovers()}")


def case_grib_wrong_answers(case):
    # Answers that are framed and whole but not the hour asked for: never kept.
    case.nomads.faults = {"f003": ["*wronghour"], "f006": ["*404"]}
    case.mirror.faults = {"f003$": ["*zeros"], "f006": ["*wronghour"]}
    _, err = case.run("fetch", "grib", "--station", "KDSM", "--run", RUN, "--hours", "3-9",
                      status=1)
    lines = err.splitlines()
    check(any("filter_gfs" in line and "f003&" in line and
              line.endswith(": it holds no PRMSL of hour 3; not kept.") for line in lines), err)
    check(any(line.endswith("f003: message 1 at byte 0: no GRIB message begins there; not kept.")
              for line in lines), err)
    check(any(line.endswith("f006: it holds no PRMSL of hour 6; not kept.") for line in lines),
          err)
    check("hours 3, 6 could not be fetched; the 1 others are in place" in err, err)
    check(sorted(p.name for p in (case.work / FOLDER).iterdir()) ==
          ["gfs.t12z.pgrb2.0p25.f009.grib2"], "a wrong hour was kept")
    check(case.leftovers() == [], f"left behind: {case.leftovers()}")
    # Nothing refused stays in the cache: once right, every hour comes.
    case.nomads.faults = {}
    case.mirror.faults = {}
    case.run("fetch", "-q", "grib", "--station", "KDSM", "--run", RUN, "--hours", "3-9")


def case_grib_refused_without_eccodes(case):
    _, err = case.run("fetch", "grib", "--station", "KDSM", "--run", RUN, status=1)
    check(err == "wxguide fetch: grib: GRIB2 is not available in this build (no ecCodes); "
          "BUFKIT profiles work.\n", err)
    check(case.asked(case.nomads) + case.asked(case.mirror) == 0, "a server was asked")


def run_named_case(make_case, cases):
    """Runs the case the command line names (PROGRAM WORK NAME [EMULATOR...]) from `cases`,
    a module's globals, on a case `make_case` builds; the servers are closed whatever happens."""
    program, work, name = str(Path(sys.argv[1]).resolve()), Path(sys.argv[2]), sys.argv[3]
    case = make_case(program, work / name, sys.argv[4:])
    try:
        cases["case_" + name](case)
    finally:
        case.close()
    print(f"{name}: passed")


def main():
    run_named_case(Case, globals())


if __name__ == "__main__":
    main()
