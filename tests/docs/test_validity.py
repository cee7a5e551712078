"""The documented bands hold, and docs/validity.md is what scripts/validity writes now.

The model's values are computed here by a route of their own (dense grids of
the package's functions and interpolation, not the script's bisections), so a
fault in the script's inversions shows as a band broken here or a page that
disagrees with it. The data files are the ones the page is written from.
"""

import csv
import functools
import importlib.machinery
import importlib.util
import os
import subprocess
import sys
from pathlib import Path

import numpy as np
import pytest
import quarvessin as q

ROOT = Path(os.environ.get("QUARVESSIN_SOURCE_DIR") or Path(__file__).resolve().parents[2])
DATA = ROOT / "docs" / "validation"
SCRIPT = ROOT / "scripts" / "validity"


def rows(name):
    with open(DATA / name, newline="", encoding="utf-8") as f:
        return list(csv.DictReader(line for line in f if not line.startswith("#")))


MEASUREMENTS = rows("measurements.csv")
BANDS = {b["id"]: b for b in rows("bands.csv")}


def wt(x):
    return float(q.wt_percent(x))


def root_on_grid(f, lo, hi, target, points=1001, passes=3):
    """Where f (monotonic on [lo, hi]) reaches target: linear interpolation on a
    grid, narrowed to the bracketing interval and repeated."""
    for _ in range(passes):
        grid = np.linspace(lo, hi, points)
        values = np.asarray(f(grid), float)
        if values[-1] < values[0]:
            values, grid = values[::-1], grid[::-1]
        assert values[0] <= target <= values[-1]
        i = min(max(int(np.searchsorted(values, target)), 1), points - 1)
        lo, hi = sorted((grid[i - 1], grid[i]))
        root = float(np.interp(target, values[i - 1:i + 1], grid[i - 1:i + 1]))
    return root


def maximum_on_grid(f, lo, hi, points=1001, passes=4):
    """(f, argument) at the maximum of f on [lo, hi], by grids narrowed around the largest value."""
    for _ in range(passes):
        grid = np.linspace(lo, hi, points)
        values = np.asarray(f(grid), float)
        i = int(np.argmax(values))
        lo, hi = grid[max(i - 1, 0)], grid[min(i + 1, points - 1)]
    return float(values[i]), float(grid[i])


@functools.lru_cache(maxsize=None)
def critical_temperature(w):
    return root_on_grid(lambda s: q.critical_curve(s)[1], 373.976, 1000.0, float(q.mole_fraction(w)))


def model_value(m):
    kind = m["quantity"]
    t = float(m["T_C"]) if m["T_C"] and ".." not in m["T_C"] else None
    p = float(m["P_bar"]) if m["P_bar"] and ".." not in m["P_bar"] else None
    w = float(m["wt_percent"]) if m["wt_percent"] else None
    if kind == "critical_temperature":
        return critical_temperature(w)
    if kind == "critical_pressure":
        return float(q.critical_curve(critical_temperature(w))[0])
    if kind == "liquidus":
        return wt(q.halite_liquidus(t, p))
    if kind == "liquidus_three_phase":
        return wt(q.halite_liquidus(t, q.vlh_pressure(t)))
    if kind == "three_phase_humidity":
        water = p if p is not None else float(q.water_vapor_pressure(t))
        return 100.0 * float(q.vlh_pressure(t)) / water
    if kind == "three_phase_pressure":
        return float(q.vlh_pressure(t))
    if kind == "three_phase_boiling":
        return root_on_grid(q.vlh_pressure, 50.0, 200.0, p)
    if kind.startswith("three_phase_maximum"):
        pressure, temperature = maximum_on_grid(q.vlh_pressure, 500.0, 700.0)
        return pressure if kind.endswith("pressure") else temperature
    if kind == "water_activity":
        pw = float(q.water_vapor_pressure(t))
        return root_on_grid(lambda s: q.vl_liquid(t, s), float(q.vlh_pressure(t)), pw,
                            float(q.mole_fraction(w))) / pw
    if kind == "boiling_elevation":
        tw = float(q.water_boiling_temperature(p))
        return root_on_grid(lambda s: q.vl_liquid(s, p), tw, tw + 5.0, float(q.mole_fraction(w))) - tw
    if kind == "vapor_three_phase":
        return wt(q.halite_saturated_vapor(t, q.vlh_pressure(t)))
    if kind == "vapor_liquid":
        return wt(q.vl_vapor(t, p))
    if kind == "vapor_halite_ppm":
        return 1e4 * wt(q.halite_saturated_vapor(t, p))
    if kind.startswith("vapor_halite_ppm_"):
        t0, t1 = (float(v) for v in m["T_C"].split(".."))
        p0, p1 = (float(v) for v in m["P_bar"].split(".."))
        T, P = np.meshgrid(np.arange(t0, t1 + 5.0, 10.0), np.arange(p0, p1 + 5.0, 10.0))
        ppm = 1e4 * q.wt_percent(q.halite_saturated_vapor(T, P))
        return float(ppm.min() if kind.endswith("min") else ppm.max())
    raise AssertionError(f"no independent evaluation of {kind}")


def deviation(band, model, measured):
    if band["measure"] == "difference":
        return model - measured, float(band["low"]), float(band["high"])
    if band["measure"] == "relative":
        return 100.0 * (model - measured) / measured, float(band["low"]), float(band["high"])
    if band["measure"] == "ratio":
        return model / measured, float(band["low"]), float(band["high"])
    assert band["measure"] == "factor" and not band["low"]
    return model / measured, 1.0 / float(band["high"]), float(band["high"])


def test_every_measurement_within_its_band():
    broken = []
    for m in MEASUREMENTS:
        band = BANDS[m["band"]]
        value, low, high = deviation(band, model_value(m), float(m["measured"]))
        if not low <= value <= high:
            broken.append(f"{m['quantity']} {m['T_C']} {m['P_bar']} {m['wt_percent']}: "
                          f"{value:.4g} outside {band['id']} [{low:.4g}, {high:.4g}]")
    assert not broken, "\n".join(broken)


def test_data_files_are_consistent():
    # Every band is used and every measured value is a positive number with a
    # known source: a band nobody checks would be a claim without evidence.
    sources = {s["key"] for s in rows("sources.csv")}
    used = {m["band"] for m in MEASUREMENTS}
    assert used == set(BANDS)
    for m in MEASUREMENTS:
        assert m["source"] in sources and float(m["measured"]) > 0
    for b in BANDS.values():
        assert b["measure"] in ("difference", "relative", "ratio", "factor")
        if b["measure"] != "factor":
            assert float(b["low"]) < float(b["high"])
    # The measurements of the shared collection that anchor the guide's claims.
    kinds = {m["quantity"] for m in MEASUREMENTS}
    assert {"critical_temperature", "critical_pressure", "liquidus", "liquidus_three_phase",
            "three_phase_humidity", "vapor_halite_ppm"} <= kinds


def load_script():
    loader = importlib.machinery.SourceFileLoader("validity_script", str(SCRIPT))
    module = importlib.util.module_from_spec(
        importlib.util.spec_from_loader("validity_script", loader))
    loader.exec_module(module)
    return module


def test_script_agrees_with_this_evaluation():
    script = load_script()
    model = script.Model(q)
    for m in MEASUREMENTS:
        ours, theirs = model_value(m), model.value(m)
        assert theirs == pytest.approx(ours, rel=1e-5, abs=1e-9), m


def test_page_is_what_the_script_writes(tmp_path):
    env = dict(os.environ, MPLBACKEND="Agg")
    subprocess.run([sys.executable, str(SCRIPT), "--out", str(tmp_path), "--no-pictures",
                    "--build", os.environ.get("QUARVESSIN_BUILD_DIR", str(ROOT / "build"))],
                   check=True, env=env, capture_output=True)
    fresh = (tmp_path / "validity.md").read_text(encoding="utf-8")
    committed = (ROOT / "docs" / "validity.md").read_text(encoding="utf-8")
    assert fresh == committed, "docs/validity.md is stale: run scripts/validity"
    for picture in ("validity_critical.png", "validity_liquidus.png",
                    "validity_three_phase.png", "validity_vapor.png"):
        assert f"]({picture})" in committed and (ROOT / "docs" / picture).is_file()
    assert "outside its band" not in committed
