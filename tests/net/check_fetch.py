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


def main():
    program, work, name = str(Path(sys.argv[1]).resolve()), Path(sys.argv[2]), sys.argv[3]
    emulator = sys.argv[4:]
    case = Case(program, work / name, emulator)
    try:
        globals()["case_" + name](case)
    finally:
        case.close()
    print(f"{name}: passed")


if __name__ == "__main__":
    main()
