"""Figures of `wxguide fetch bulletins` against the loopback server, for bench/run.

Usage: bench_fetch.py PROGRAM WORK_DIR
Prints, one a line: "cold REQUESTS BYTES", "warm REQUESTS BYTES", "busiest REQUESTS" (the
most requests to one host in any 60 s) and "whole-cycle PEAK-KIB" (the peak memory of a
fetch that falls back to a 30 MiB whole-cycle file, measured by /usr/bin/time).
"""

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
        args = ["fetch", "-q", "bulletins", "--date", "12/08/2026", "--output", "b.txt"]
        case.run(*args)
        cold = (case.asked(), case.server.body_bytes())
        case.run(*args)
        warm = (case.asked() - cold[0], case.server.body_bytes() - cold[1])
        print("cold", *cold)
        print("warm", *warm)
        print("busiest", case.server.busiest_minute())
        # Every station's MAV from the whole-cycle file, padded to some 30 MiB.
        loopback_server.PADDING = 30 << 20
        case.server.faults = {"pil=MAV": ["*notfound"]}
        done = subprocess.run(["/usr/bin/time", "-f", "%M", program, *args[:5], "--output",
                               "c.txt"], cwd=case.work, env=case.env, capture_output=True)
        print("whole-cycle", done.stderr.decode().strip().splitlines()[-1],
              "exit", done.returncode)
    finally:
        case.close()


if __name__ == "__main__":
    main()
