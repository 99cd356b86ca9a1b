"""Figures of a whole `wxguide today` against the loopback servers, for bench/run.

Usage: bench_today.py PROGRAM WORK_DIR
Prints, one a line: "cold REQUESTS BYTES" (an empty cache), "warm REQUESTS BYTES" (the same
day again, the cache kept) and "status COLD WARM" (the exit statuses).
"""

import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import check_today  # noqa: E402


def asked(case):
    servers = (case.server, case.nomads, case.mirror)
    return (sum(len(s.requests()) for s in servers), sum(s.body_bytes() for s in servers))


def main():
    program = str(Path(sys.argv[1]).resolve())
    case = check_today.Case(program, Path(sys.argv[2]), [])
    try:
        statuses = []
        for folder in ("cold", "warm"):
            before = asked(case)
            out, _ = case.today("--ratio", "0.6", "--station", "KDSM", "--folder", folder,
                                status=None)
            statuses.append("0" if all(": done" in line for line in out.splitlines()) else "1")
            now = asked(case)
            print(folder, now[0] - before[0], now[1] - before[1])
        print("status", *statuses)
    finally:
        case.close()


if __name__ == "__main__":
    main()
