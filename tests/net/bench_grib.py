"""Figures of `wxguide fetch grib` against the loopback server, for bench/run.

Usage: bench_grib.py PROGRAM WORK_DIR
Prints, one a line: "filter REQUESTS BYTES" (29 hours by the grib filter), "ranges
REQUESTS BYTES WHOLE-BYTES" (the same hours by ranges from the bucket, and the bytes of the
whole files), "busiest REQUESTS" (the most requests to one host in any 60 s) and "peak KIB"
(the peak memory of the fetch by ranges, measured by /usr/bin/time). The hours are made
from the 2.5 degree sample: its messages are smaller than the 0.25 degree files' ones.
"""

import shutil
import subprocess
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import check_fetch  # noqa: E402
import loopback_server  # noqa: E402


def main():
    program = str(Path(sys.argv[1]).resolve())
    case = check_fetch.Case(program, Path(sys.argv[2]), [])
    try:
        args = ["fetch", "-q", "grib", "--station", "KDSM", "--run", check_fetch.RUN]
        case.run(*args)
        print("filter", case.asked(case.nomads), case.nomads.body_bytes())
        busiest = case.nomads.busiest_minute()
        shutil.rmtree(case.work / check_fetch.FOLDER)
        shutil.rmtree(case.work / "cache")
        case.nomads.faults = {"": ["*404"]}
        done = subprocess.run(["/usr/bin/time", "-f", "%M", program, *args], cwd=case.work,
                              env=case.env, capture_output=True)
        whole = sum(len(loopback_server.grib_hour(check_fetch.RUN, hour)[0])
                    for hour in range(3, 88, 3))
        print("ranges", case.asked(case.mirror), case.mirror.body_bytes(), whole)
        print("busiest", max(busiest, case.mirror.busiest_minute()))
        print("peak", done.stderr.decode().strip().splitlines()[-1], "exit", done.returncode)
    finally:
        case.close()


if __name__ == "__main__":
    main()
