"""End-to-end cases of `wxguide today` against the loopback server.

Usage: check_today.py PROGRAM WORK_DIR CASE [EMULATOR...]
Each case runs the real program in its own folder against the servers check_fetch.py starts
(with the RAP archive added), and checks the day's folder: every report byte for byte as
the separate commands make it, the page as a strict parser and a real browser read it, the
summary, the exit status.
"""

import html.parser
import os
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))
sys.path.insert(0, str(HERE.parent / "pictures"))
import check_fetch  # noqa: E402
from check_fetch import check  # noqa: E402

NOW = "2026120815"
GFS_RUN = "2026120812"


class Case(check_fetch.Case):
    def __init__(self, program, work, emulator):
        super().__init__(program, work, emulator)
        here = f"http://127.0.0.1:{self.server.port}"
        with open(work / "sources.txt", "a") as table:
            table.write(f"rap-profile {here}/{{YYYY}}/{{MM}}/{{DD}}/bufkit/{{HH}}/rap/rap_{{id}}.buf\n")
        self.env["WXGUIDE_NOW"] = NOW
        # The GFS run of the day has its GRIB2 hours out, on the filter and in the bucket.
        for server in (self.server, self.nomads, self.mirror):
            server.grib_out = {GFS_RUN: 384}

    def today(self, *args, status=0, env=None):
        """Runs today; status None takes any but a usage error's."""
        full = dict(self.env, **(env or {}))
        done = subprocess.run(self.emulator + [self.program, "today", *args], cwd=self.work,
                              env=full, capture_output=True, timeout=300)
        out = done.stdout.decode(errors="replace").replace("\r\n", "\n")
        err = done.stderr.decode(errors="replace").replace("\r\n", "\n")
        check(done.returncode == status or (status is None and done.returncode in (0, 1)),
              f"today {' '.join(args)}: exit {done.returncode}, not {status}\n{out}{err}")
        return out, err


def reads_grib(out):
    return "GFS GRIB2 " in out


def by_hand(grib):
    """The commands a forecaster types for the same day, in order."""
    commands = [
        ["fetch", "bulletins", "--date", "12/08/2026", "--output", "day/bulletins.txt"],
        ["--plot", "--csv", "run", "1", "day/bulletins.txt", "--ratio", "0.6"],
        ["fetch", "profile", "gfs", "KDSM", "--run", GFS_RUN, "--output", "day/gfs_kdsm.buf"],
        ["extract", "--step", "3", "--columns", "day/gfs-long.txt", "--severe",
         "day/gfs-severe.txt", "day/gfs_kdsm.buf"],
        ["--plot", "--csv", "run", "2", "day/gfs-long.txt"],
        ["extract", "--columns", "day/gfs-short.txt", "--severe", "day/gfs-severe.txt",
         "day/gfs_kdsm.buf"],
        ["--plot", "--csv", "run", "3", "day/gfs-short.txt"],
    ]
    for model, step, option in (("rap", "3", "4"), ("hrrr", "1", "5")):
        commands += [
            ["fetch", "profile", model, "KDSM", "--run", NOW, "--output", f"day/{model}_kdsm.buf"],
            ["extract", "--step", step, "--columns", f"day/{model}.txt", "--severe",
             f"day/{model}-severe.txt", f"day/{model}_kdsm.buf"],
            ["--plot", "--csv", "run", option, f"day/{model}.txt"],
        ]
    if grib:
        hours = [f"day/gfs.{GFS_RUN}/gfs.t12z.pgrb2.0p25.f{h:03d}.grib2" for h in range(3, 88, 3)]
        commands += [
            ["fetch", "grib", "--station", "KDSM", "--run", GFS_RUN, "--folder", "day"],
            ["extract", "--station", "KDSM", "--columns", "day/grib-columns.txt", "--severe",
             "day/grib-severe.txt", *hours],
            ["--plot", "--csv", "run", "6", "day/grib-severe.txt"],
        ]
    else:
        commands.append(["--plot", "--csv", "run", "6", "day/gfs-severe.txt"])
    return commands


def files_in(folder):
    return {str(p.relative_to(folder)): p.read_bytes() for p in folder.rglob("*") if p.is_file()}


VOID = {"meta", "br", "hr", "img", "input", "link", "col", "area", "base", "wbr", "source"}


class StrictPage(html.parser.HTMLParser):
    """Every element closed in order, no id twice, no script, nothing from the network."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.stack, self.faults, self.ids, self.links = [], [], set(), []
        self.tables, self.figures, self.current_table = {}, [], None
        self.svg_depth = 0

    def handle_starttag(self, tag, attrs):
        attributes = dict(attrs)
        if tag == "script" or any(name.startswith("on") for name in attributes):
            self.faults.append(f"script in <{tag}>")
        for name in ("src", "href", "xlink:href"):
            value = attributes.get(name) or ""
            if "//" in value or value.startswith("data:"):
                self.faults.append(f"<{tag} {name}={value}> reaches out")
        if "id" in attributes:
            if attributes["id"] in self.ids:
                self.faults.append("id twice: " + attributes["id"])
            self.ids.add(attributes["id"])
        if tag == "a":
            self.links.append(attributes.get("href", ""))
        if tag == "figure":
            self.figures.append([attributes.get("id"), False])
        if tag == "svg" and self.figures:
            self.figures[-1][1] = True
        if tag == "table":
            self.current_table = attributes.get("class")
            self.tables[self.current_table] = []
        if tag == "tr":
            self.tables[self.current_table].append([])
        if tag in ("td", "th"):
            self.tables[self.current_table][-1].append("")
        if tag not in VOID:
            self.stack.append(tag)

    def handle_startendtag(self, tag, attrs):
        self.handle_starttag(tag, attrs)
        if tag not in VOID:
            self.stack.pop()

    def handle_endtag(self, tag):
        if not self.stack or self.stack[-1] != tag:
            self.faults.append(f"</{tag}> closes <{self.stack[-1] if self.stack else None}>")
        else:
            self.stack.pop()

    def handle_data(self, data):
        if self.stack and self.stack[-1] in ("td", "th") and self.current_table in self.tables:
            self.tables[self.current_table][-1][-1] += data


def read_page(path):
    lint = subprocess.run(["xmllint", "--noout", str(path)], capture_output=True, text=True)
    check(lint.returncode == 0, f"index.html is not well-formed: {lint.stderr}")
    page = StrictPage()
    page.feed(path.read_text(encoding="utf-8"))
    page.close()
    check(page.stack == ["html"] or page.stack == [], f"left open: {page.stack}")
    check(not page.faults, f"page faults: {page.faults}")
    return page


def check_whole_day(case, out, err, grib):
    day, hand = case.work / "day", case.work / "by-hand"
    (hand / "day").mkdir(parents=True)
    for command in by_hand(grib):
        done = subprocess.run(case.emulator + [case.program, *command], cwd=hand, env=case.env,
                              capture_output=True, timeout=300)
        check(done.returncode == 0, f"{command}: {done.stderr.decode()}")
    made, expected = files_in(day), files_in(hand / "day")
    made.pop("index.html")
    check(sorted(made) == sorted(expected), f"files: {sorted(made)} not {sorted(expected)}")
    for name, content in expected.items():
        check(made[name] == content, f"{name} differs from the separate commands'")
    stems = ["bulletins", "gfs-long", "gfs-short", "rap", "hrrr",
             "grib-severe" if grib else "gfs-severe"]
    for stem in stems:
        for ending in (".out", ".svg", ".csv"):
            check(stem + ending in made, f"{stem}{ending} was not made")
    check(err == "", f"off a terminal today said: {err!r}")
    lines = out.splitlines()
    check(all(": done" in line for line in lines), out)
    check(lines[0] == "bulletins 12/08/2026: done: day/bulletins.txt", out)
    check(f"GFS profile KDSM {GFS_RUN}: done: day/gfs_kdsm.buf" in lines, out)
    check(f"HRRR profile KDSM {NOW}: done: day/hrrr_kdsm.buf" in lines, out)
    check(lines[-1] == "page: done: day/index.html", out)
    page = read_page(day / "index.html")
    links = [link for link in page.links if not link.startswith("#")]
    for link in links:
        check((day / link).is_file(), f"the link {link} names no file")
    for name in made:
        if name.endswith((".out", ".csv")):
            check(name in links, f"no link to {name}")
    check([f[0] for f in page.figures] == [f"meteogram-{n}" for n in range(1, 7)] and
          all(f[1] for f in page.figures), f"meteograms: {page.figures}")
    daily = page.tables.get("daily")
    check(daily is not None and len(daily) == 8, f"the daily table: {daily}")
    table = subprocess.run(case.emulator + [case.program, "run", "1", "day/bulletins.txt",
                                            "--ratio", "0.6"], cwd=hand, env=case.env,
                           capture_output=True).stdout.decode().split("\n")
    check([c.strip() for c in daily[0]] == table[0].split(), f"heading {daily[0]}")
    check([c.strip() for c in daily[1]] == table[2].split(), f"day 1 {daily[1]}")
    text = (day / "index.html").read_text()
    check(f"wxguide fetch: gfs {GFS_RUN} KDSM from 127.0.0.1:" in text, "no source told")


def case_whole_day(case):
    out, err = case.today("--ratio", "0.6", "--station", "kdsm", "--folder", "day")
    check_whole_day(case, out, err, reads_grib(out))
    # Again from the cache: nothing more is asked for, the same files made.
    before = case.asked()
    first = files_in(case.work / "day")
    out, _ = case.today("--ratio", "0.6", "--station", "KDSM", "--folder", "day", "--offline")
    check(case.asked() == before, "offline asked the server")
    again = files_in(case.work / "day")
    differ = [name for name in again if again[name] != first.get(name)]
    # Only the page differs: it says the products came from the cache.
    check(sorted(again) == sorted(first) and differ == ["index.html"], f"differ: {differ}")
    check("(cache)" in again["index.html"].decode(), "the page does not say cache")


def case_product_missing(case):
    # No HRRR run of the last day is out anywhere; every other product is.
    case.server.profile_runs = {("gfs", GFS_RUN), ("rap", NOW)}
    case.mirror.profile_runs = set()
    out, err = case.today("--ratio", "0.6", "--station", "KDSM", "--folder", "day", status=1)
    check("HRRR profile KDSM: FAILED (none out from 2026120715 to 2026120815: wxguide fetch: "
          "no source gave the hrrr profile of KDSM of 2026120715; nothing was written.)" in out,
          out)
    check("option 5, HRRR: FAILED (no HRRR columns)\n" in out, out)
    check(out.endswith("page: done: day/index.html\n"), out)
    day = case.work / "day"
    for made in ("bulletins.out", "gfs-long.out", "gfs-short.out", "rap.out", "index.html"):
        check((day / made).is_file(), f"{made} was not kept")
    check(not (day / "hrrr.out").exists(), "an HRRR report without a profile")
    page = read_page(day / "index.html")
    text = (day / "index.html").read_text()
    check("<td class=\"failed\">failed: none out from 2026120715 to 2026120815" in text, text)
    check("<h2 id=\"option-5\">Option 5, HRRR</h2>\n<p class=\"failed\">Not made: no HRRR columns"
          in text, text)
    check("meteogram-5" not in page.ids, "a picture of a report not made")


def case_usage_errors(case):
    _, err = case.today(status=2)
    check(err.startswith("wxguide today: needs option 1's ETA weight, from 0 to 1: give --ratio R"
                         " (such as --ratio 0.6), or set WXGUIDE_RATIO=R in the environment\n"),
          err)
    _, err = case.today("--ratio", "0.6", "--at", "20261208", status=2)
    check("--at takes one time written as 2026120815" in err, err)
    _, err = case.today(status=2, env={"WXGUIDE_RATIO": "high"})
    check("WXGUIDE_RATIO takes a number from 0 to 1 (such as 0.6), not high" in err, err)
    check(case.asked() == 0 and not list(case.work.glob("wxguide-*")), "a usage error did work")
    # The weight from the environment, the folder named by the day of --at, products as
    # they were out then: the day before's bulletins at 03 UTC.
    out, _ = case.today("--at", "2026120903", env={"WXGUIDE_RATIO": "0.6"}, status=None)
    check(out.startswith("bulletins 12/08/2026: done: wxguide-2026-12-09/bulletins.txt\n"), out)
    check("GFS profile KBKX 2026120900: done: wxguide-2026-12-09/gfs_kbkx.buf" in out, out)
    if reads_grib(out):
        # That run's GRIB2 hours are not out: option 6 reads the profile's severe file.
        check("GFS GRIB2 2026120900 KBKX: FAILED (" in out, out)
        check("option 6, severe weather (the GFS profile's severe file): done: "
              "wxguide-2026-12-09/gfs-severe.out\n" in out, out)


def case_progress_on_a_terminal(case):
    if case.emulator or shutil.which("script") is None:
        print("skipped: no script(1), or a Windows program under wine")
        sys.exit(77)
    line = f"{case.program} today --ratio 0.6 --folder day"
    done = subprocess.run(["script", "-qec", line, "/dev/null"], cwd=case.work, env=case.env,
                          capture_output=True, timeout=300)
    shown = done.stdout.decode(errors="replace")
    check("\r\033[Kwxguide today: step 1 of " in shown and ": bulletins" in shown, repr(shown))
    check("\r\033[Kwxguide today: step 3 of " in shown, repr(shown))
    check("\r\033[Kbulletins 12/08/2026: done" in shown.replace("\r\n", "\n"), repr(shown))
    # The downloads' own progress lines stay off the terminal.
    check(" bytes" not in shown, repr(shown))


def screenshot(page, png, height):
    command = ["chromium", "--headless", "--disable-gpu", "--hide-scrollbars",
               "--force-device-scale-factor=1", f"--window-size=360,{height}",
               f"--screenshot={png}", page.as_uri()]
    if os.geteuid() == 0:
        command.insert(1, "--no-sandbox")
    subprocess.run(command, check=True, capture_output=True, timeout=120)
    return check_rendering.read_png(str(png))


def ink_box(full, hidden):
    """The box where a picture's pixels differ, and how many of them are coloured."""
    _, height, channels, rows = full
    box, coloured = None, 0
    for y in range(height):
        if rows[y] == hidden[3][y]:
            continue
        row, other = rows[y], hidden[3][y]
        for x in range(0, len(row), channels):
            if row[x:x + 3] != other[x:x + 3]:
                r, g, b = row[x:x + 3]
                coloured += max(r, g, b) - min(r, g, b) > check_rendering.COLOURED
                px = x // channels
                box = [min(box[0], px), min(box[1], y), max(box[2], px), max(box[3], y)] \
                    if box else [px, y, px, y]
    return box, coloured


def case_page_in_a_browser(case):
    if case.emulator or shutil.which("chromium") is None:
        print("skipped: no chromium, or a Windows program under wine")
        sys.exit(77)
    case.today("--ratio", "0.6", "--station", "KDSM", "--folder", "day", status=None)
    day = case.work / "day"
    text = (day / "index.html").read_text()
    height = 7000
    full = screenshot(day / "index.html", case.work / "page.png", height)
    check(full[3][-1] == full[3][-1][:3] * full[0], "the page runs past the window")
    for number in range(1, 7):
        hidden_page = day / f"hidden-{number}.html"
        hidden_page.write_text(text.replace(
            "</style>", f"#meteogram-{number} svg{{visibility:hidden}}\n</style>", 1))
        hidden = screenshot(hidden_page, case.work / f"hidden-{number}.png", height)
        box, coloured = ink_box(full, hidden)
        check(box is not None, f"meteogram {number} draws nothing in the browser")
        area = (box[2] - box[0] + 1) * (box[3] - box[1] + 1)
        check(box[2] - box[0] > 300 and box[3] - box[1] > 200,
              f"meteogram {number} is drawn in a box of {box}")
        check(coloured > 0.004 * area, f"meteogram {number} has {coloured} coloured pixels")
        hidden_page.unlink()


import check_rendering  # noqa: E402


def main():
    check_fetch.run_named_case(Case, globals())


if __name__ == "__main__":
    main()
