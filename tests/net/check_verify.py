"""End-to-end cases of `wxguide verify` against the loopback server, with the archives'
tables made by verify_fixtures.py.

Usage: check_verify.py PROGRAM WORK_DIR CASE [EMULATOR...]
"""

import csv
import io
import os
import shutil
import subprocess
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import check_fetch  # noqa: E402
import loopback_server  # noqa: E402
import verify_fixtures as fixtures  # noqa: E402

SET = "KFSD=0.75,KDTW=0.25"
MOS = "/cgi-bin/request/mos.py?station={ID}&model={model}&sts={sts}&ets={ets}&format=csv"
ASOS = ("/cgi-bin/request/asos.py?station={asos}&data=tmpf&data=p01i&data=metar&tz=Etc/UTC"
        "&missing=M&trace=T&format=onlycomma&sts={sts}&ets={ets}")
check = check_fetch.check
ROOT = Path(__file__).resolve().parents[2]


class Case(check_fetch.Case):
    def __init__(self, program, work, emulator):
        super().__init__(program, work, emulator)
        here = f"http://127.0.0.1:{self.server.port}"
        (work / "sources.txt").write_text(f"mos-archive {here}{MOS}\nasos {here}{ASOS}\n")
        (work / "data").mkdir()
        (work / "data" / "stations.csv").write_text(fixtures.station_table())
        self.env.update(WXGUIDE_DATA=str(work / "data"))
        for station in fixtures.STATIONS:
            for model in ("NBS", "GFS", "MEX"):
                self.server.mos_tables[(station, model)] = fixtures.mos_table(station, model)[0]
            self.server.asos_tables[station[1:]] = fixtures.asos_table(station)

    def verify(self, *args, status=0, env=None):
        return self.run("--stations", SET, "verify", *args, status=status, env=env)


def expected_line():
    scores, counts = fixtures.expected_scores(0.5)
    mae = scores["temperature"]
    r = fixtures.best(mae)
    return (f"Suggested ratio: {r:.2f} (MAE {mae[r]:.2f} F over {counts['temperature']} pairs; "
            f"0.5 gives {mae[0.5]:.2f}, NBS alone {mae[1.0]:.2f}, GFS MOS alone {mae[0.0]:.2f})")


def rows_of(text):
    """The two tables of the CSV: the scores, then the pairs."""
    scores, pairs = text.replace("\r\n", "\n").split("\n\n")
    return list(csv.DictReader(io.StringIO(scores))), list(csv.DictReader(io.StringIO(pairs)))


def pooled(rows, source, variable, lead):
    for row in rows:
        if (row["station"], row["source"], row["variable"], row["lead_day"]) == (
                "pooled", source, variable, str(lead)):
            return row
    raise AssertionError(f"no pooled row {source} {variable} {lead}")


def case_verify_scores_then_cache(case):
    # A 503 on one table is waited out; the sixth request of the first run answers it.
    case.server.faults = {"model=GFS": ["503"]}
    out, err = case.verify("--days", "60", "--csv", "verify.csv", "--plot", "verify.svg")
    lines = out.replace("\r\n", "\n").split("\n")
    # By design: the blend's day-1-and-2 error is 5r - 3 on even days and 4 on odd ones.
    check(expected_line() == "Suggested ratio: 0.60 (MAE 1.99 F over 477 pairs; 0.5 gives 2.24,"
          " NBS alone 2.99, GFS MOS alone 3.50)", expected_line())
    check(expected_line() in lines, out)
    check("Inverse-MAE ratio: 0.54" in lines, out)
    check(any(line.startswith("Suggested PoP12 ratio: 0.85 (Brier 0.052 over 478 pairs;")
              for line in lines), out)
    check("Warning" not in out, out)
    check(lines[0] == "Verification of 60 days, 10/09/2026 to 12/07/2026, at KFSD KDTW (pooled "
          "with the set's weights); the blend at 0.50.", lines[0])
    check(case.asked() == 9, f"{case.asked()} requests, not 8 and one retry")
    check("answered 503; trying again" in err, err)
    scores, pairs = rows_of((case.work / "verify.csv").read_text())
    # Without a chosen ratio the blend at 0.5 is one row per key, not two alike.
    keys = [(r["station"], r["source"], r["variable"], r["lead_day"]) for r in scores]
    check(len(keys) == len(set(keys)), "a score row twice")
    # NBS days 3-7 err +1 at KFSD (weight 0.75) and +5 at KDTW (0.25): pooled MAE 2, bias 2.
    for lead in range(3, 8):
        row = pooled(scores, "NBS", "max", lead)
        check(abs(float(row["mae"]) - 2.0) < 1e-9 and abs(float(row["bias"]) - 2.0) < 1e-9, row)
    # Lead-1 max: 60 days at KDTW but one (999), 60 at KFSD.
    check(pooled(scores, "NBS", "max", 1)["n"] == "119", pooled(scores, "NBS", "max", 1))
    # KFSD misses its GFS MOS max on the short day.
    check(pooled(scores, "MAV", "max", 1)["n"] == "119", pooled(scores, "MAV", "max", 1))
    check(pooled(scores, "MEX", "min", 4)["mae"] == "1.0000", pooled(scores, "MEX", "min", 4))
    # The blend's day-7 min pairs the NBS with the MEX's day 8 (180 hours after its run):
    # errors at KFSD +1 and -1 give 0, at KDTW +5 and -1 give 2: pooled 0.25 * 2.
    row = pooled(scores, "blend 0.50", "min", 7)
    check(row["n"] == "120" and row["bias"] == "0.5000", row)
    check(not any(int(row["lead_day"]) > 7 for row in scores), "a lead day past 7 scored")
    check(not any(row["variable"] == "pop12" and row["source"] == "MEX" for row in scores),
          "MEX PoP12 scored from a column that was dropped")
    # The PoP12 of NBS: 70 % wet, 20 % dry.
    brier = float(pooled(scores, "NBS", "pop12", 1)["brier"])
    check(abs(brier - 0.0525786) < 0.02, brier)
    designed = {(p[0], {"NBS": "NBS", "MAV": "MAV", "MEX": "MEX"}[p[1]], p[2], str(p[3]),
                 p[4].isoformat()): (p[5], p[6]) for p in fixtures.designed_pairs()}
    seen = {(row["station"], row["source"], row["variable"], row["lead_day"], row["date"]):
            (float(row["forecast"]), float(row["observed"]))
            for row in pairs if row["source"] in ("NBS", "MAV", "MEX")}
    check(set(seen) == set(designed),
          f"pairs differ: {sorted(set(seen) ^ set(designed))[:5]}")
    for key, (forecast, observed) in designed.items():
        check(abs(seen[key][0] - forecast) < 1e-9 and abs(seen[key][1] - observed) < 1e-9,
              f"{key}: {seen[key]}, designed {(forecast, observed)}")
    svg = (case.work / "verify.svg").read_text()
    check(svg.startswith("<?xml") and svg.count('class="frame"') == 3, svg[:300])
    if shutil.which("rsvg-convert") and shutil.which("xmllint"):
        # Each of the three panels renders with its series drawn.
        check(subprocess.run([sys.executable, str(ROOT / "tests" / "pictures" / "check_rendering.py"),
                              str(case.work / "verify.svg")]).returncode == 0, "the picture")
    # Past days never change: a second run asks for nothing and prints the same.
    again, _ = case.verify("--days", "60")
    check(case.asked() == 9, f"the second run asked {case.asked() - 9} times")
    check(again == out, "the second run printed otherwise")
    offline, _ = case.verify("--offline")
    check(offline == out and case.asked() == 9, "offline")
    # The ratio option 1 is given takes the blend's row.
    mine, _ = case.verify("--days", "60", env={"WXGUIDE_RATIO": "0.6"})
    check("the blend at 0.60 (WXGUIDE_RATIO)." in mine and "blend 0.60" in mine, mine)
    check(case.leftovers() == [], f"left behind: {case.leftovers()}")


def case_verify_error_body_then_whole(case):
    # 200 OK with the archive's error text is no table: not kept, asked again next time.
    case.server.faults = {"station=KFSD&model=NBS": ["error200"]}
    out, err = case.verify("--days", "60", status=1)
    check("it is no MOS table" in err and "not kept" in err, err)
    check("some tables did not come" in err, err)
    check(expected_line() not in out, out)
    check(case.asked() == 8, f"{case.asked()} requests")
    out, err = case.verify("--days", "60")
    check(case.asked() == 9, f"the second run asked {case.asked() - 8} times, not once")
    check(expected_line() in out.replace("\r\n", "\n").split("\n"), out)


def case_verify_few_days_warns(case):
    # Three days give 2 stations x 3 days x 2 lead days x 2 variables = 24 pairs.
    out, _ = case.verify("--days", "3", "--end", "12/07/2026")
    check("Warning: only" in out and "pairs back the suggested ratio (fewer than 30)" in out, out)
    out, err = case.run("verify", "--days", "0", status=2)
    check("--days takes one whole number of days" in err, err)
    out, err = case.verify("--days", "5", status=2, env={"WXGUIDE_RATIO": "1.5"})
    check("WXGUIDE_RATIO is not a ratio from 0 to 1" in err, err)


def main():
    check_fetch.run_named_case(Case, globals())


if __name__ == "__main__":
    main()
