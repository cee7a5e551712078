"""Sections from Python: the console program's files and text, refused and
malformed arguments, threads, the plot."""

import math
import threading

import numpy as np
import pytest

import quarvessin as qv
from conftest import read_boundary_file


def golden_runs(golden):
    """(directory, kind, value text) of every frozen console run."""
    runs = []
    for d in sorted(p for p in golden.iterdir() if (p / "input.txt").is_file()):
        answers = (d / "input.txt").read_text().split()
        runs.append((d, "isobar" if answers[0] == "1" else "isotherm", answers[1]))
    return runs


class TestConsoleProgram:
    def test_every_frozen_run(self, golden):
        runs = golden_runs(golden)
        assert len(runs) >= 12
        kinds = set()
        for d, kind, value in runs:
            s = qv.section(kind, float(value))
            stdout = (d / "stdout.txt").read_text()
            assert s.kind == kind and s.value == float(value)
            assert s.console and stdout.endswith(s.console), d.name
            files = sorted(p.name for p in d.glob("*.dat"))
            assert s.accepted == bool(files), d.name
            assert sorted(b.file_name for b in s.boundaries) == files, d.name
            for b in s.boundaries:
                assert b.format() == (d / b.file_name).read_text(), f"{d.name}/{b.file_name}"
                assert b.file_name.startswith(b.phases + "_")
            kinds.add((kind, s.accepted))
        # Both kinds computed and refused.
        assert kinds == {("isobar", True), ("isobar", False), ("isotherm", True), ("isotherm", False)}

    def test_pieces_hold_the_numbers_of_the_files(self, golden):
        for name, kind, value in [("isobar_300", "isobar", 300.0), ("isotherm_400", "isotherm", 400.0)]:
            s = qv.section(kind, value)
            assert len(s.boundaries) == 4
            for b in s.boundaries:
                rows = read_boundary_file(golden / name / b.file_name)
                assert len(b.pieces) == len(rows)
                fmt = "%e" if b.scientific else "%g"
                for piece, lines in zip(b.pieces, rows):
                    assert isinstance(piece, np.ndarray)
                    assert piece.dtype == np.float64 and piece.shape == (len(lines), 2)
                    assert [(fmt % a, fmt % v) for a, v in piece] == lines
        # The vapour + halite file of an isotherm is the one written in %e.
        assert [b.scientific for b in qv.section("isotherm", 400.0).boundaries].count(True) == 1
        assert not any(b.scientific for b in qv.section("isobar", 300.0).boundaries)


class TestWarningsAndDisplayResolution:
    def test_warnings_name_points_that_are_not_numbers(self):
        assert qv.section("isobar", 300.0).warnings == []
        cold = qv.section("isotherm", -20.0)
        nonfinite = sum(int((~np.isfinite(p)).any(axis=1).sum()) for b in cold.boundaries for p in b.pieces)
        assert nonfinite > 0
        assert any(f"{nonfinite} points are not finite" in w for w in cold.warnings), cold.warnings

    def test_fine_vapour_halite_curve_of_an_isotherm(self):
        coarse = qv.section("isotherm", 400.0)
        fine = qv.section("isotherm", 400.0, fine=True)
        assert [b.file_name for b in fine.boundaries] == [b.file_name for b in coarse.boundaries]
        for c, f in zip(coarse.boundaries, fine.boundaries):
            if c.phases != "vapor+halite":
                assert f.format() == c.format()
                continue
            (cp,), (fp,) = c.pieces, f.pieces
            assert len(fp) > len(cp)
            np.testing.assert_array_equal(fp[[0, -1]], cp[[0, -1]])  # same ends
            steps = np.diff(np.log10(fp[:, 1]))
            np.testing.assert_allclose(steps, steps[0], rtol=1e-6)   # even in log p
        # Isobars have no such boundary: the same points.
        assert [b.format() for b in qv.section("isobar", 300.0, fine=True).boundaries] == \
            [b.format() for b in qv.section("isobar", 300.0).boundaries]


class TestArguments:
    @pytest.mark.parametrize("kind, value, console", [
        ("isobar", 0.999, "out of range"),
        ("isobar", 5000.001, "out of range"),
        ("isobar", -3.0, "out of range"),
        ("isotherm", 800.7, "havn't implemented"),
        ("isotherm", 1e6, "havn't implemented"),
        # The console program computes these; no other front end does.
        ("isotherm", -273.15, ""),
        ("isotherm", -1e300, ""),
    ])
    def test_refused_values(self, kind, value, console):
        s = qv.section(kind, value)
        assert s.accepted is False
        assert s.refusal == qv._core.value_refusal(kind, value)
        assert "out of range" in s.refusal and qv._core.valid_range(kind) in s.refusal
        assert (console in s.console) if console else s.console == ""
        assert s.boundaries == () and s.fields == []

    def test_range_ends_accepted(self):
        for kind, value in [("isobar", 1.0), ("isobar", 5000.0), ("isotherm", 800.69),
                            ("isotherm", -273.1)]:
            s = qv.section(kind, value)
            assert s.accepted and s.boundaries and s.refusal == "", (kind, value)

    def test_range_ends_are_the_kind_tables(self):
        isobar = qv._core.find_kind("isobar")
        isotherm = qv._core.find_kind("isotherm")
        assert (isobar["min"], isobar["max"]) == (qv.MIN_SECTION_PRESSURE, qv.MAX_SECTION_PRESSURE)
        assert (isotherm["min"], isotherm["max"]) == (qv.ABSOLUTE_ZERO, qv.MAX_SECTION_TEMPERATURE)
        for kind in (isobar, isotherm):
            lo, hi = kind["min"], kind["max"]
            assert qv.section(kind["word"], lo).accepted == kind["min_included"]
            assert qv.section(kind["word"], hi).accepted == kind["max_included"]
            assert qv.section(kind["word"], math.nextafter(lo, -math.inf)).accepted is False
            assert qv.section(kind["word"], math.nextafter(hi, math.inf)).accepted is False

    def test_the_kind_words(self):
        words = [w for k in qv.KINDS for w in (k["word"], k["plural"], k["adjective"]) if w]
        assert {"isobar", "isobars", "isobaric", "isotherm", "isotherms", "isothermal"} <= set(words)
        assert len(words) == len(set(words))
        for k in qv.KINDS:
            if not k["takes_value"]:
                continue
            value = 0.5 * (k["min"] + k["max"]) if k["min"] > -100 else 400.0
            forms = [w for w in (k["word"], k["plural"], k["adjective"]) if w]
            texts = {qv.section(w, value).format("csv") for w in forms}
            assert len(texts) == 1
            assert qv.section(forms[-1], value).kind == k["word"]

    @pytest.mark.parametrize("kind", ["Isobar", "isobarics", "isochore", "", " isobar", "iso\nbar"])
    def test_words_that_name_no_kind(self, kind):
        with pytest.raises(ValueError) as refusal:
            qv.section(kind, 300.0)
        assert str(refusal.value) == qv._core.unknown_kind_message(kind)
        assert "\n" not in str(refusal.value)  # quoted printable

    @pytest.mark.parametrize("kind", [1, None, b"isobar", True])
    def test_kinds_that_are_not_strings(self, kind):
        with pytest.raises(TypeError):
            qv.section(kind, 300.0)

    @pytest.mark.parametrize("value", [math.nan, math.inf, -math.inf, np.float64("nan"), 10**400, -10**400])
    def test_values_that_are_not_finite_numbers(self, value):
        with pytest.raises(ValueError) as refusal:
            qv.section("isobar", value)
        assert "OverflowError" not in repr(refusal.value)
        if isinstance(value, float):
            assert str(refusal.value) == qv._core.value_refusal("isobar", value)

    @pytest.mark.parametrize("value", [True, False, np.bool_(True), "300", b"300", None, [300.0],
                                       1 + 0j, np.array([300.0])])
    def test_values_that_are_not_numbers(self, value):
        with pytest.raises(TypeError):
            qv.section("isobar", value)

    def test_other_number_types(self):
        a = qv.section("isobaric", np.float32(300.0))
        b = qv.section("isobar", 300)
        c = qv.section("isobars", np.array(300, dtype=np.int16))
        assert a.kind == b.kind == c.kind == "isobar"
        assert a.format("csv") == b.format("csv") == c.format("csv")
        assert qv.section("isothermal", 400).kind == "isotherm"

    def test_unknown_format(self):
        with pytest.raises(ValueError):
            qv.section("isobar", 300.0).format("dat")


def test_threads_compute_the_same_sections():
    values = [("isobar", 300.0), ("isotherm", 25.0), ("isobar", 2000.0), ("isotherm", 600.0)]
    serial = [[b.format() for b in qv.section(k, v).boundaries] + [qv.section(k, v).format("json")]
              for k, v in values]
    results = [None] * len(values)
    shared = qv.section("isotherm", 400.0)
    fields = [None] * len(values)

    def work(i):
        s = qv.section(*values[i])
        results[i] = [b.format() for b in s.boundaries] + [s.format("json")]
        fields[i] = shared.fields  # placed by whichever thread comes first

    threads = [threading.Thread(target=work, args=(i,)) for i in range(len(values))]
    for th in threads:
        th.start()
    for th in threads:
        th.join()
    assert results == serial
    assert fields == [qv.section("isotherm", 400.0).fields] * len(values)


class TestPlot:
    @pytest.fixture(autouse=True)
    def agg(self):
        mpl = pytest.importorskip("matplotlib")
        mpl.use("Agg")
        import matplotlib.pyplot as plt
        yield
        plt.close("all")

    @staticmethod
    def texts(ax):
        return [ax.get_title(), ax.get_xlabel(), ax.get_ylabel()] + \
            [t.get_text() for t in ax.get_legend().get_texts()]

    def test_isobar_in_the_engines_styles_with_its_fields(self):
        s = qv.section("isobar", 300.0)
        ax = qv.plot(s)
        styles = qv.BOUNDARY_STYLES
        legends = [t.get_text() for t in ax.get_legend().get_texts()]
        present = {b.id for b in s.boundaries}
        assert legends == [st["legend"] for st in styles if st["id"] in present]  # in legend order
        colours = {line.get_label(): line.get_color() for line in ax.get_lines()
                   if not line.get_label().startswith("_")}
        assert colours == {st["legend"]: st["colour"] for st in styles if st["id"] in present}
        dotted = {line.get_color() for line in ax.get_lines() if line.get_marker() == "o"}
        assert dotted == {st["colour"] for st in styles if st["dots"] and st["id"] in present}
        labels = [(t.get_text(), *t.get_position()) for t in ax.texts]
        assert labels == [(f["name"], f["wt_percent"], f["temperature_C"]) for f in s.fields]
        assert {"L", "L+H", "V+L", "V+H"} <= {name for name, _, _ in labels}
        assert ax.get_xlim() == (0.0, 100.0)
        assert ax.get_yscale() == "linear"
        assert ax.get_title() == "H2O–NaCl, isobaric section at 300 bar"
        assert ax.get_ylabel() == "temperature [°C]" and ax.get_xlabel() == "NaCl [wt%]"

    def test_isotherm_on_a_log_axis_without_non_finite_points(self):
        import matplotlib.pyplot as plt
        _, ax = plt.subplots()
        s = qv.section("isotherm", -20.0)
        assert qv.plot(s, ax=ax, logx=True) is ax
        assert ax.get_yscale() == "log" and ax.get_xscale() == "log"
        for line in ax.get_lines():
            y = np.asarray(line.get_ydata(), float)
            assert np.all(np.isnan(y) | (y > 0))
        assert ax.get_title() == "H2O–NaCl, isothermal section at -20 °C"
        s = qv.section("isotherm", 400.0)
        ax = qv.plot(s, logx=True)
        labels = [(t.get_text(), *t.get_position()) for t in ax.texts]
        assert labels == [(f["name"], f["wt_percent"], f["pressure_bar"]) for f in s.fields]
        assert {"V", "L", "L+H", "V+H"} <= {name for name, _, _ in labels}

    def test_every_text_in_one_spelling_with_degrees(self):
        for kind, value in [("isobar", 300.0), ("isotherm", 400.0)]:
            texts = self.texts(qv.plot(qv.section(kind, value)))
            assert all("vapor" not in t for t in texts), texts
            assert any("vapour" in t for t in texts)
            assert all("[C]" not in t and not t.endswith(" C") for t in texts), texts

    def test_refused_section(self):
        ax = qv.plot(qv.section("isobar", 6000.0))
        assert ax.get_title() == "isobar 6000 bar is out of range (valid: 1 to 5000 bar)"
        assert len(ax.get_lines()) == 0 and len(ax.texts) == 0


def test_point_equals_the_isotherm_boundaries_and_names_assemblages():
    # At 400 C the liquidus file has a point at every whole bar from the
    # three-phase pressure up: the point query reads the same model objects.
    s = qv.section("isotherm", 400)
    liquidus = next(b for b in s.boundaries if b.id == "liquidus")
    wt_at_500 = next(row[0] for row in liquidus.pieces[0] if row[1] == 500.0)
    answer = qv.point(400, 500)
    assert answer["accepted"] and answer["refusal"] == ""
    saturated = [b for b in answer["boundaries"] if b["boundary"] == "liquid+halite"]
    assert len(saturated) == 1
    assert saturated[0]["wt_percent"] == wt_at_500
    # Either side of the halite-saturated liquid at 500 bar.
    assert qv.point(400, 500, wt=wt_at_500 + 1)["assemblage"] == "liquid+halite"
    assert qv.point(400, 500, wt=wt_at_500 - 1)["assemblage"] in ("liquid", "liquid+vapor")
    assert qv.point(400, 500, x=qv.mole_fraction(wt_at_500 + 1))["assemblage"] == "liquid+halite"
    # Below the three-phase pressure: vapour + halite beside the saturated vapour.
    low = qv.point(400, answer["three_phase_pressure_bar"] * 0.5, wt=50)
    assert low["assemblage"] == "vapor+halite"
    # The composition as typed, and its mole fraction.
    typed = qv.point(400, 500, wt=10.1)
    assert typed["wt_percent"] == 10.1
    assert typed["mole_fraction"] == qv.mole_fraction(10.1)
    assert all(isinstance(typed[k], float) for k in ("T_C", "P_bar", "wt_percent"))


def test_every_field_label_is_classified_as_its_field():
    checked = 0
    for kind, value in [("isobar", 1.0), ("isobar", 300.0), ("isobar", 2000.0),
                        ("isotherm", 0.5), ("isotherm", 400.0), ("isotherm", 795.0),
                        ("isobar", 5000.0)]:
        s = qv.section(kind, value)
        assert s.fields, (kind, value)
        for f in s.fields:
            assert f["name"] == qv._core.assemblage_label(f["assemblage"])
            if kind == "isobar":
                t, p = f["temperature_C"], value
            else:
                t, p = value, f["pressure_bar"]
            answer = qv.point(t, p, wt=f["wt_percent"])
            assert answer["assemblage"] == f["assemblage"], (kind, value, f)
            checked += 1
    assert checked > 20


class TestPointArguments:
    def test_out_of_range_is_refused_with_the_engines_reason(self):
        for args, kwargs, word in [((1000.5, 100), {}, "1000.5"), ((25, 20000), {}, "20000 bar"),
                                   ((400, 0), {}, "pressure"),
                                   ((400, -1), {}, "pressure"), ((400, 500), {"wt": 101}, "100 wt%"),
                                   ((400, 500), {"wt": -1e-300}, "wt%"), ((400, 500), {"x": 1.5}, "0 to 1")]:
            answer = qv.point(*args, **kwargs)
            assert answer["accepted"] is False and word in answer["refusal"], (args, kwargs)
            assert set(answer) == {"T_C", "P_bar", "accepted", "refusal"}

    @pytest.mark.parametrize("args, kwargs, named", [
        ((math.nan, 100), {}, "the temperature nan"), ((400, math.inf), {}, "the pressure inf"),
        ((-math.inf, 1), {}, "the temperature -inf"), ((900, 500), {"wt": math.nan}, "the composition nan"),
        ((400, 500), {"x": math.inf}, "the composition inf"), ((10**400, 1), {}, "the temperature"),
        ((400, 500), {"wt": 10, "x": 0.1}, "give the composition as wt or as x"),
    ])
    def test_values_that_are_not_finite_numbers(self, args, kwargs, named):
        with pytest.raises(ValueError) as refusal:
            qv.point(*args, **kwargs)
        assert str(refusal.value).startswith(named)

    @pytest.mark.parametrize("args, kwargs", [
        ((True, 100), {}), ((400, "500"), {}), ((None, 1), {}), ((400, 500), {"wt": 1j}),
        ((400, 500), {"x": [0.1]}),
    ])
    def test_values_that_are_not_numbers(self, args, kwargs):
        with pytest.raises(TypeError):
            qv.point(*args, **kwargs)
