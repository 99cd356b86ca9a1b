"""Past guidance and observations for `wxguide verify`, built so that every score and the
best ratio follow from the design, not from the program's rules.

Every day at both stations the hourly temperature follows one pattern by UTC hour (30 F,
but 50 at 12, 44 at 20, 20 at 00, 24 at 06), with a 6-hour max group of 15.0 C (59 F) at 18
UTC and a 6-hour min group of -10.0 C (14 F) at 00 UTC. So, by the periods:
  NBS max, 12-06 UTC: 59 (the 18 UTC group covers 12-18, inside)
  NBS min, 00-18 UTC: 20 (the 00 UTC group covers 18-00: across the window's start)
  GFS MOS max, 07-19 LST: KFSD (CST, 13-01 UTC) 44 (the 18 UTC group starts before 13);
                          KDTW (EST, 12-00 UTC) 59 (its longitude would say CST: 44)
  GFS MOS min, 19-08 LST: KFSD (01-14 UTC) 24; KDTW (00-13 UTC) 20
On SHORT_DAY KFSD misses 13-15 UTC: the GFS MOS max window keeps 10 of 13 hours (missing),
the NBS max window 16 of 19 (kept), the precipitation ending 00 UTC the next day is missing.
Precipitation: 0.03 in at 06 UTC on even days (the 12 hours ending 12 UTC are wet), a trace
at 03 UTC every day, nothing else: the 12 hours ending 00 UTC are dry.

Forecasts are the designed observation plus a designed error:
  max and min, lead days 1-2: on even days NBS +2 and MAV -3, on odd days both +4;
  NBS days 3-7: KFSD +1, KDTW +5; MAV day 3: -2; MEX: -1 every day.
  PoP12: NBS 70 wet, 20 dry; MAV 40 wet, 0 dry; MEX none (its p12 column is empty, so the
  archive drops it). KDTW's NBS max of MISSING_DAY at lead 1 is 999 (missing).
Runs that option 1 does not read (06 UTC) carry wild values; an empty sky column is
dropped as the archive drops it.
"""

import datetime

EPOCH = datetime.date(1970, 1, 1)
END = datetime.date(2026, 12, 7)
DAYS = 60
FIRST = END - datetime.timedelta(days=DAYS - 1)
SHORT_DAY = FIRST + datetime.timedelta(days=10)
MISSING_DAY = FIRST + datetime.timedelta(days=20)

STATIONS = {"KFSD": {"offset": -6, "weight": 0.75, "lat": 43.58, "lon": -96.74},
            "KDTW": {"offset": -5, "weight": 0.25, "lat": 42.21, "lon": -83.35}}
HOURLY = {12: 50, 20: 44, 0: 20, 6: 24}
OBSERVED = {  # (station, rule, variable)
    ("KFSD", "nbs", "max"): 59, ("KDTW", "nbs", "max"): 59,
    ("KFSD", "nbs", "min"): 20, ("KDTW", "nbs", "min"): 20,
    ("KFSD", "mos", "max"): 44, ("KDTW", "mos", "max"): 59,
    ("KFSD", "mos", "min"): 24, ("KDTW", "mos", "min"): 20,
}
RUN_HOUR = {"NBS": 12, "GFS": 12, "MEX": 0}
SOURCE = {"NBS": "NBS", "GFS": "MAV", "MEX": "MEX"}


def day_number(day):
    return (day - EPOCH).days


def stamp(moment):
    return moment.strftime("%Y-%m-%d %H:%M:%S")


def wet(day):
    """The 12 hours ending 12 UTC of `day` had rain."""
    return day_number(day) % 2 == 0


def temperature_error(station, source, variable, lead, day):
    if lead <= 2:
        if source == "MEX":
            return -1
        if day_number(day) % 2 == 0:
            return 2 if source == "NBS" else -3
        return 4
    return {"NBS": 1 if station == "KFSD" else 5, "MAV": -2, "MEX": -1}[source]


def observed_temperature(station, source, variable, day):
    """The designed observation, or None where the design leaves the period missing."""
    rule = "nbs" if source == "NBS" else "mos"
    if station == "KFSD" and rule == "mos" and variable == "max" and day == SHORT_DAY:
        return None
    return OBSERVED[(station, rule, variable)]


def observed_rain(station, valid):
    """1 or 0 for the 12 hours ending at `valid`, None when missing."""
    if valid.hour == 0:
        if station == "KFSD" and valid.date() - datetime.timedelta(days=1) == SHORT_DAY:
            return None
        return 0
    return 1 if wet(valid.date()) else 0


def pop_forecast(source, event):
    return {"NBS": (70, 20), "MAV": (40, 0)}[source][0 if event else 1]


def designed_pairs(forecasts=None):
    """Every pair the design makes: (station, source, variable, lead, day, forecast, observed,
    run, valid). `forecasts`, when given, gets every forecast the archive holds, paired or
    not: {(station, source, run, valid, variable): value}."""
    pairs = []
    forecasts = {} if forecasts is None else forecasts
    for station in STATIONS:
        for model, source in SOURCE.items():
            for run_day in range(-9, DAYS):
                run = datetime.datetime.combine(FIRST + datetime.timedelta(days=run_day),
                                                datetime.time(RUN_HOUR[model]))
                for step in range(12, 24 * 8 + 1, 12):
                    valid = run + datetime.timedelta(hours=step)
                    lead = (step + 23) // 24
                    day = (valid - datetime.timedelta(hours=1)).date()
                    # The MEX's day 8 is there for the blend's day 7, not scored itself.
                    last = 8 if source == "MEX" else 7
                    if lead > last or valid.hour not in (0, 12) or not FIRST <= day <= END:
                        continue
                    if source == "MAV" and step > 72:
                        continue
                    variable = "max" if valid.hour == 0 else "min"
                    rule = "nbs" if source == "NBS" else "mos"
                    # The forecast stands whether or not the period was observed.
                    forecast = (OBSERVED[(station, rule, variable)] +
                                temperature_error(station, source, variable, lead, day))
                    missing = (station == "KDTW" and source == "NBS" and variable == "max" and
                               lead == 1 and day == MISSING_DAY)
                    if not missing:
                        forecasts[(station, source, run, valid, variable)] = forecast
                    seen = observed_temperature(station, source, variable, day)
                    if seen is not None and not missing and lead <= 7:
                        pairs.append((station, source, variable, lead, day, forecast, seen, run,
                                      valid))
                    if source == "MEX":
                        continue
                    pop = pop_forecast(source, observed_rain("KDTW", valid)) / 100
                    forecasts[(station, source, run, valid, "pop12")] = pop
                    rain = observed_rain(station, valid)
                    if rain is not None:
                        pairs.append((station, source, "pop12", lead, day, pop, rain, run, valid))
    return pairs


def mos_table(station, model):
    """The archive's CSV of every run of the model at the station (the server cuts it)."""
    rows = []
    forecasts = {}
    designed_pairs(forecasts)
    value_of = {(run, valid, variable): value
                for (at, source, run, valid, variable), value in forecasts.items()
                if at == station and source == SOURCE[model]}
    for run_day in range(-9, DAYS):
        for hour in (RUN_HOUR[model], 6):
            run = datetime.datetime.combine(FIRST + datetime.timedelta(days=run_day),
                                            datetime.time(hour))
            for step in range(3, 24 * 8 + 1, 3):
                valid = run + datetime.timedelta(hours=step)
                maxmin = pop = ""
                if hour == 6:
                    maxmin, pop = ("150", "100") if valid.hour in (0, 12) else ("", "")
                elif valid.hour in (0, 12):
                    variable = "max" if valid.hour == 0 else "min"
                    found = value_of.get((run, valid, variable))
                    maxmin = "999" if found is None else str(found)
                    rain = value_of.get((run, valid, "pop12"))
                    pop = "" if rain is None else str(round(rain * 100))
                if model == "MEX":
                    pop = ""
                rows.append([station, model, stamp(run), stamp(valid), "31", maxmin, pop, ""])
    name = "txn" if model == "NBS" else "n_x"
    header = ["station", "model", "runtime", "ftime", "tmp", name, "p12", "sky"]
    # The archive drops a column that is empty in every row.
    keep = [i for i in range(len(header)) if i < 4 or any(row[i] != "" for row in rows)]
    lines = [",".join(header[i] for i in keep)]
    lines += [",".join(row[i] for i in keep) for row in rows]
    return "\n".join(lines) + "\n", header[4:]


def asos_table(station):
    lines = ["station,valid,tmpf,p01i,metar"]
    short = station == "KFSD"
    start = datetime.datetime.combine(FIRST - datetime.timedelta(days=2), datetime.time(0))
    for hour in range((DAYS + 4) * 24):
        nominal = start + datetime.timedelta(hours=hour)
        if short and nominal.date() == SHORT_DAY and nominal.hour in (13, 14, 15):
            continue
        valid = nominal - datetime.timedelta(minutes=7)
        tmpf = HOURLY.get(nominal.hour, 30)
        rain = "0.00"
        if nominal.hour == 6 and wet(nominal.date()):
            rain = "0.03"
        elif nominal.hour == 3:
            rain = "T"
        groups = ""
        if nominal.hour == 18:
            groups = " 10150"
        elif nominal.hour == 0:
            groups = " 21100"
        metar = (f"{station} {valid:%d%H%M}Z 18010KT 10SM CLR 01/M03 A3000 RMK AO2 SLP170"
                 f"{groups} T00061033")
        lines.append(f"{station[1:]},{valid:%Y-%m-%d %H:%M},{tmpf:.1f},{rain},{metar}")
        if nominal.hour == 9:
            # A special between the routine reports: its temperature counts, its rain not.
            special = valid + datetime.timedelta(minutes=25)
            lines.append(f"{station[1:]},{special:%Y-%m-%d %H:%M},30.0,0.50,"
                         f"SPECI {station} {special:%d%H%M}Z 2SM BR RMK AO2")
    return "\n".join(lines) + "\n"


def station_table():
    lines = ["id,name,latitude,longitude,utc_offset"]
    for station, place in STATIONS.items():
        lines.append(f"{station},{station},{place['lat']},{place['lon']},{place['offset']}")
    return "\n".join(lines) + "\n"


def expected_scores(ratio):
    """Pooled MAE of max and min and Brier of PoP12 at lead days 1-2 of the blend at each
    ratio, from the designed pairs: {ratio: (mae, brier)}, and the pair counts."""
    by_key = {}
    for station, source, variable, lead, day, forecast, seen, run, valid in designed_pairs():
        if lead <= 2 and source in ("NBS", "MAV"):
            by_key.setdefault((station, variable, run.date(), valid), {})[source] = (forecast, seen)
    scores = {}
    counts = {}
    for kind in ("temperature", "pop12"):
        pairs = [(station, both) for (station, variable, _, _), both in by_key.items()
                 if len(both) == 2 and (variable == "pop12") == (kind == "pop12")]
        counts[kind] = len(pairs)
        for step in range(21):
            r = step / 20
            total = weight = 0.0
            for station, both in pairs:
                f = r * both["NBS"][0] + (1 - r) * both["MAV"][0]
                o = r * both["NBS"][1] + (1 - r) * both["MAV"][1]
                w = STATIONS[station]["weight"]
                total += w * (abs(f - o) if kind == "temperature" else (f - o) ** 2)
                weight += w
            scores.setdefault(kind, {})[r] = total / weight
    return scores, counts


def best(scores):
    order = sorted(scores, key=lambda r: (round(scores[r], 12), abs(r - 0.5), r))
    return order[0]
