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
    @pytest.mark.parametrize("kind, value, text", [
        ("isobar", 0.999, "out of range"),
        ("isobar", 5000.001, "out of range"),
        ("isobar", -3.0, "out of range"),
        ("isotherm", 800.7, "havn't implemented"),
        ("isotherm", 1e6, "havn't implemented"),
    ])
    def test_refused_values(self, kind, value, text):
        s = qv.section(kind, value)
        assert s.accepted is False
        assert text in s.console
        assert s.boundaries == []

    def test_range_ends_accepted(self):
        for kind, value in [("isobar", 1.0), ("isobar", 5000.0), ("isotherm", 800.69)]:
            s = qv.section(kind, value)
            assert s.accepted and s.boundaries, (kind, value)

    @pytest.mark.parametrize("kind", ["isobars", "Isobar", "", 1, None, b"isobar"])
    def test_wrong_kind(self, kind):
        with pytest.raises(ValueError):
            qv.section(kind, 300.0)

    @pytest.mark.parametrize("value", [math.nan, math.inf, -math.inf, "300", None, [300.0]])
    def test_malformed_value(self, value):
        with pytest.raises(ValueError):
            qv.section("isobar", value)

    def test_other_spellings_and_number_types(self):
        a = qv.section("isobaric", np.float32(300.0))
        b = qv.section("isobar", 300)
        assert a.kind == b.kind == "isobar"
        assert [x.format() for x in a.boundaries] == [x.format() for x in b.boundaries]
        assert qv.section("isothermal", 400).kind == "isotherm"


def test_threads_compute_the_same_sections():
    values = [("isobar", 300.0), ("isotherm", 25.0), ("isobar", 2000.0), ("isotherm", 600.0)]
    serial = [[b.format() for b in qv.section(k, v).boundaries] for k, v in values]
    results = [None] * len(values)

    def work(i):
        results[i] = [b.format() for b in qv.section(*values[i]).boundaries]

    threads = [threading.Thread(target=work, args=(i,)) for i in range(len(values))]
    for th in threads:
        th.start()
    for th in threads:
        th.join()
    assert results == serial


class TestPlot:
    @pytest.fixture(autouse=True)
    def agg(self):
        mpl = pytest.importorskip("matplotlib")
        mpl.use("Agg")
        import matplotlib.pyplot as plt
        yield
        plt.close("all")

    def test_isobar_in_the_colours_of_the_script(self):
        ax = qv.plot(qv.section("isobar", 300.0))
        labels = [t.get_text() for t in ax.get_legend().get_texts()]
        assert labels == ["vapour + liquid", "halite liquidus", "vapour + liquid + halite", "vapour + halite"]
        colours = {line.get_label(): line.get_color() for line in ax.get_lines() if not line.get_label().startswith("_")}
        assert colours == {"vapour + liquid + halite": "#1e8f3a", "halite liquidus": "#c0392b",
                           "vapour + liquid": "#1f5fbf", "vapour + halite": "#8e44ad"}
        assert ax.get_xlim() == (0.0, 100.0)
        assert ax.get_yscale() == "linear"
        assert "300 bar" in ax.get_title()

    def test_isotherm_on_a_log_axis_without_non_finite_points(self):
        import matplotlib.pyplot as plt
        _, ax = plt.subplots()
        assert qv.plot(qv.section("isotherm", -20.0), ax=ax, logx=True) is ax
        assert ax.get_yscale() == "log" and ax.get_xscale() == "log"
        for line in ax.get_lines():
            y = np.asarray(line.get_ydata(), float)
            assert np.all(np.isnan(y) | (y > 0))

    def test_refused_section(self):
        ax = qv.plot(qv.section("isobar", 6000.0))
        assert "out of range" in ax.get_title()
        assert ax.get_lines() == []


def test_point_equals_the_isotherm_boundaries_and_names_assemblages():
    # At 400 C the liquidus file has a point at every whole bar from the
    # three-phase pressure up: the point query reads the same model objects.
    s = qv.section("isotherm", 400)
    liquidus = next(b for b in s.boundaries if b.phases == "liquid+halite")
    wt_at_500 = next(row[0] for row in liquidus.pieces[0] if row[1] == 500.0)
    answer = qv.point(400, 500)
    assert answer["accepted"]
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


def test_point_refusals_and_malformed_compositions():
    assert not qv.point(1000.5, 100)["accepted"]
    assert "1000.5" in qv.point(1000.5, 100)["refusal"]
    assert not qv.point(25, 20000)["accepted"]
    assert not qv.point(400, 0)["accepted"]
    assert not qv.point(400, 500, wt=101)["accepted"]
    assert not qv.point(400, 500, x=1.5)["accepted"]
    with pytest.raises(ValueError):
        qv.point(400, 500, wt=10, x=0.1)
