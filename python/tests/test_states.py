"""Isopleths and the projection, the phase state over arrays, fluid
inclusions and the surfaces of the phase diagram, against the command line,
the point query and the model's own correlations."""

import json
import math

import numpy as np
import pytest

import quarvessin as qv


class TestPressureTemperatureSections:
    @pytest.mark.parametrize("fmt", ["csv", "json"])
    def test_bytes_are_the_command_lines(self, program, tmp_path, fmt):
        run = program("section", "isopleth", "10", "37.5", "projection", "--format", fmt,
                      "--quiet", "--dir", str(tmp_path))
        assert run.returncode == 0, run.stderr
        files = {p.name: p.read_text() for p in tmp_path.iterdir()}
        sections = [qv.section("isopleth", 10), qv.section("isoplethal", 37.5),
                    qv.section("projection")]
        assert sorted(files) == sorted(s.file_name(fmt) for s in sections)
        for s in sections:
            assert s.format(fmt) == files[s.file_name(fmt)], s

    def test_values_and_refusals(self):
        p = qv.section("projection")
        assert p.accepted and p.kind == "projection" and p.value is None and p.unit == ""
        assert p.columns == ("temperature_C", "pressure_bar")
        assert p.file_name("csv") == "projection.csv"
        with pytest.raises(ValueError, match="takes no value"):
            qv.section("projection", 300)
        with pytest.raises(TypeError):
            qv.section("isopleth")  # a kind with a value needs one
        s = qv.section("isopleth", 100.0)
        assert not s.accepted and "out of range" in s.refusal and s.boundaries == ()
        s = qv.section("isopleths", 10)
        assert s.kind == "isopleth" and s.value == 10.0 and s.unit == "wt%"

    def test_projection_curves_meet_where_the_model_says(self):
        # Independent values from the correlation functions: the three-phase
        # curve is vlh_pressure at its temperatures, the critical curve starts
        # at the critical point of water.
        p = {b.id: b for b in qv.section("projection").boundaries}
        vlh = np.concatenate(p["three-phase"].pieces)
        np.testing.assert_allclose(vlh[:, 1], qv.vlh_pressure(vlh[:, 0]), rtol=1e-12)
        crit = np.concatenate(p["critical"].pieces)
        assert crit[0, 0] == pytest.approx(373.976)
        assert np.nanmin(crit[:, 0]) >= 373.976 - 1e-9  # no formal extension below it


class TestPlotPressureTemperature:
    @pytest.fixture(autouse=True)
    def agg(self):
        mpl = pytest.importorskip("matplotlib")
        mpl.use("Agg")
        import matplotlib.pyplot as plt
        yield
        plt.close("all")

    def test_projection_with_marks_in_the_engines_styles(self):
        s = qv.section("projection")
        marks = [qv.section("isobar", 300), qv.section("isotherm", 500),
                 qv.section("isopleth", 20)]
        ax = qv.plot(s, mark=marks)
        assert ax.get_yscale() == "log" and ax.get_xlim() == (0.0, 1000.0)
        assert ax.get_xlabel() == "temperature [°C]" and ax.get_ylabel() == "pressure [bar]"
        styles = {st["id"]: st for st in qv.BOUNDARY_STYLES}
        legends = [t.get_text() for t in ax.get_legend().get_texts()]
        assert legends == [styles[b.id]["legend"] for b in s.boundaries] + \
            ["isobar 300 bar", "isotherm 500 °C", "isopleth 20 wt%"]
        lines = {line.get_label(): line for line in ax.get_lines()}
        for b in s.boundaries:
            assert lines[styles[b.id]["legend"]].get_color() == styles[b.id]["colour"]
        assert set(lines["isobar 300 bar"].get_ydata()) == {300.0}
        assert set(lines["isotherm 500 °C"].get_xdata()) == {500.0}
        with pytest.raises(ValueError):
            qv.plot(qv.section("isobar", 300), mark=qv.section("isotherm", 400))

    def test_isopleth_labels_its_fields(self):
        s = qv.section("isopleth", 10)
        ax = qv.plot(s)
        assert ax.get_title() == "H2O–NaCl, isoplethal section at 10 wt%"
        labels = [(t.get_text(), *t.get_position()) for t in ax.texts]
        assert labels == [(f["name"], f["temperature_C"], f["pressure_bar"]) for f in s.fields]


def _code(name):
    return qv.ASSEMBLAGES.index(name or "")


class TestPhaseState:
    def test_assemblages_are_the_point_querys(self):
        assert qv.ASSEMBLAGES[0] == "" and "vapor+liquid+halite" in qv.ASSEMBLAGES
        T = np.array([-10.0, 25.0, 200.0, 373.0, 450.0, 600.0, 790.0])[:, None, None]
        P = np.array([0.01, 1.0, 30.0, 200.0, 400.0, 1500.0, 5000.0])[None, :, None]
        W = np.array([0.0, 0.01, 2.0, 10.0, 30.0, 60.0, 99.0])[None, None, :]
        states = qv.phase_state(T, P, W)
        assert states.assemblage.shape == (7, 7, 7) and states.assemblage.dtype == np.uint8
        for i, j, k in np.ndindex(7, 7, 7):
            t, p, w = T[i, 0, 0], P[0, j, 0], W[0, 0, k]
            expected = qv.point(t, p, wt=w)
            assert states.assemblage[i, j, k] == _code(expected.get("assemblage")), (t, p, w)
        # On the three-phase curve and at pure NaCl.
        T = np.array([100.0, 300.0, 500.0, 700.0])
        P = qv.vlh_pressure(T)
        for w in [5.0, 50.0, 100.0]:
            states = qv.phase_state(T, P, w)
            codes = [_code(qv.point(t, p, wt=w).get("assemblage")) for t, p in zip(T, P)]
            assert list(states.assemblage) == codes
        assert _code("vapor+liquid+halite") in qv.phase_state(T, P, 50.0).assemblage

    def test_lever_rule_closes(self):
        rng = np.random.default_rng(7)
        n = 50_000
        T = rng.uniform(0.0, 1000.0, n)
        P = 10.0 ** rng.uniform(-3.0, math.log10(5000.0), n)
        W = rng.uniform(0.0, 100.0, n)
        s = qv.phase_state(T, P, W)
        known = s.assemblage != 0
        assert known.mean() > 0.99
        f = np.stack([s.fraction_vapor, s.fraction_liquid, s.fraction_halite])[:, known]
        assert np.all(f >= -1e-12) and np.all(f <= 1 + 1e-12)
        np.testing.assert_allclose(f.sum(axis=0), 1.0, rtol=0, atol=1e-12)
        # A phase that is absent has no composition and no share.
        for frac, comp in [(s.fraction_vapor, s.wt_vapor), (s.fraction_liquid, s.wt_liquid)]:
            assert np.all(np.isnan(comp[known]) == (frac[known] == 0))
        mass = np.nan_to_num(s.wt_vapor) * s.fraction_vapor + \
            np.nan_to_num(s.wt_liquid) * s.fraction_liquid + 100.0 * s.fraction_halite
        np.testing.assert_allclose(mass[known], W[known], rtol=0, atol=1e-9)
        # Each field's phases: the single fluids hold the mixture's composition.
        liquid = s.assemblage == _code("liquid")
        assert np.all(s.wt_liquid[liquid] == W[liquid])
        refused = qv.phase_state([1001.0, 300.0, 300.0], [100.0, 0.0, 100.0], [10.0, 10.0, 101.0])
        assert list(refused.assemblage) == [0, 0, 0] and np.all(np.isnan(refused.fraction_vapor))

    def test_threads_and_broadcast_views_give_one_answer(self):
        # Broadcast, strided operands whose rows do not line up with the
        # chunks the threads share.
        T = np.linspace(0.0, 1000.0, 74)[::2, None, None]
        P = np.geomspace(0.01, 5000.0, 41)[None, :, None]
        W = np.linspace(0.0, 100.0, 53)[None, None, ::-1]
        one = qv.phase_state(T, P, W, threads=1)
        many = qv.phase_state(T, P, W, threads=5)
        flat = qv.phase_state(*(np.ascontiguousarray(a).ravel()
                                for a in np.broadcast_arrays(T, P, W)), threads=3)
        for a, b, c in zip(one, many, flat):
            assert a.shape == (37, 41, 53)
            np.testing.assert_array_equal(a, b)
            np.testing.assert_array_equal(a.ravel(), c)
        scalar = qv.phase_state(T[5, 0, 0], P[0, 7, 0], W[0, 0, 11])
        assert scalar.assemblage == one.assemblage[5, 7, 11]
        assert np.isnan(scalar.wt_vapor) == np.isnan(one.wt_vapor[5, 7, 11])

    def test_refuses_what_is_not_numbers(self):
        for bad in [None, "300", [1.0, "a"], 1j]:
            with pytest.raises(TypeError):
                qv.phase_state(300.0, bad, 10.0)
        with pytest.raises(ValueError):
            qv.phase_state(300.0, 100.0, 10.0, threads=0)
        assert qv.phase_state(np.zeros((0, 3)), 1.0, 1.0).assemblage.shape == (0, 3)


class TestInclusion:
    def test_check_values(self):
        # The freezing-point depression fit at -5 C: 1.78*5 - 0.0442*25 + 0.000557*125.
        assert qv.inclusion(tm_ice=-5)["wt_percent"] == pytest.approx(7.864625, abs=1e-12)
        assert round(qv.inclusion(tm_ice=-5)["wt_percent"], 2) == 7.86
        halite = qv.inclusion(tm_halite=300)
        assert round(halite["wt_percent"], 2) == 37.72 and halite["salinity_from"] == "tm_halite"
        # The liquidus at the three-phase pressure, from the correlation functions.
        liquidus = qv.wt_percent(qv.halite_liquidus(300.0, qv.vlh_pressure(300.0)))
        assert halite["wt_percent"] == pytest.approx(liquidus, rel=1e-12)
        last = qv.inclusion(tm_halite=300, th=250, to="liquid")
        assert round(last["homogenization_pressure_bar"], 4) == 28.4727
        assert last["homogenization_pressure_bar"] == pytest.approx(qv.vlh_pressure(250.0),
                                                                    rel=1e-12)
        assert round(last["wt_percent_at_5000_bar"], 2) == 38.28
        refused = qv.inclusion(tm_ice=-30)
        assert refused["refusal"] and "eutectic" in refused["refusal"]
        assert refused["wt_percent"] is None

    def test_scalar_is_the_command_lines_json(self, program):
        run = program("inclusion", "--tm-halite", "300", "--th", "250", "--to", "liquid", "--json")
        assert run.returncode == 0, run.stderr
        assert qv.inclusion(tm_halite=300, th=250, to="liquid") == json.loads(run.stdout)

    def test_arrays_are_the_scalars_element_by_element(self):
        tm_ice = np.array([-5.0, np.nan, -10.0, -30.0])[:, None]
        th = [200.0, None, 400.0]
        modes = ["liquid", None, "critical"]
        out = qv.inclusion(tm_ice=tm_ice, tm_halite=[np.nan, 350.0, np.nan], th=th, to=modes)
        assert out["wt_percent"].shape == (4, 3) and out["salinity_from"].dtype == object
        for i, j in np.ndindex(4, 3):
            one = qv.inclusion(tm_ice=None if np.isnan(tm_ice[i, 0]) else tm_ice[i, 0],
                               tm_halite=[None, 350.0, None][j], th=th[j], to=modes[j])
            assert (out["refusal"][i, j] is None) == (one["refusal"] is None) == out["accepted"][i, j]
            assert out["refusal"][i, j] == one["refusal"]
            assert out["warnings"][i, j] == one["warnings"]
            for key in ["wt_percent", "mole_fraction", "molality", "homogenization_pressure_bar",
                        "wt_percent_at_5000_bar"]:
                v = out[key][i, j]
                assert (one[key] is None and math.isnan(v)) or v == one[key], (key, i, j)
            if one["refusal"] is None:
                assert out["salinity_from"][i, j] == one["salinity_from"]
                assert out["mode"][i, j] == one["mode"]
        with pytest.raises(ValueError):
            qv.inclusion(wt=10, th=300, to="gas")
        with pytest.raises(TypeError):
            qv.inclusion(tm_ice="-5")


class TestSurfaces:
    @pytest.fixture(scope="class")
    def meshes(self):
        return {s["name"]: s for s in qv.surfaces(resolution=40, samples=16)}

    def test_vertices_lie_on_their_surfaces(self, meshes):
        v = meshes["three-phase"]["vertices"]
        np.testing.assert_allclose(v[:, 1], qv.vlh_pressure(v[:, 0]), rtol=1e-9)
        for name, fn in [("liquidus", qv.halite_liquidus), ("vapor+liquid-liquid", qv.vl_liquid),
                         ("vapor+liquid-vapor", qv.vl_vapor),
                         ("vapor+halite", qv.halite_saturated_vapor)]:
            v = meshes[name]["vertices"]
            assert len(v) > 50, name
            model = qv.wt_percent(fn(v[:, 0], v[:, 1]))
            on = np.isfinite(model)
            assert on.mean() > 0.9, name  # the sheets' ends at the critical curve aside
            np.testing.assert_allclose(v[on, 2], model[on], rtol=1e-9, atol=1e-12, err_msg=name)
        c = meshes["critical-curve"]
        assert len(c["triangles"]) == 0 and len(c["lines"]) == len(c["vertices"]) - 1 > 0
        p, x = qv.critical_curve(c["vertices"][:, 0])
        np.testing.assert_allclose(c["vertices"][:, 1], p, rtol=1e-9)

    def test_arrays_are_read_only_meshes(self, meshes):
        for name, s in meshes.items():
            for key, dtype, width in [("vertices", np.float64, 3), ("triangles", np.uint32, 3),
                                      ("lines", np.uint32, 2)]:
                a = s[key]
                assert a.dtype == dtype and a.shape[1:] == (width,) and not a.flags.writeable
                with pytest.raises(ValueError):
                    a[...] = 0
            n = len(s["vertices"])
            assert s["pieces"].shape == (n,)
            for cells in (s["triangles"], s["lines"]):
                assert np.all(cells < n)
                # No cell joins two pieces.
                assert np.all(s["pieces"][cells] == s["pieces"][cells[:, :1]])

    def test_files_hold_the_same_meshes(self, meshes):
        data = json.loads(qv.surfaces_file("json", resolution=40, samples=16))
        assert [s["name"] for s in data["surfaces"]] == list(meshes)
        for s in data["surfaces"]:
            np.testing.assert_array_equal(np.array(s["vertices"]).reshape(-1, 3),
                                          meshes[s["name"]]["vertices"])
        glb = qv.surfaces_file("glb", resolution=40, samples=16)
        assert glb[:4] == b"glTF" and int.from_bytes(glb[8:12], "little") == len(glb)
        with pytest.raises(ValueError):
            qv.surfaces(resolution=1)
        with pytest.raises(ValueError):
            qv.surfaces_file("ply")
        with pytest.raises(TypeError):
            qv.surfaces(resolution=2.5)
