"""The correlations as NumPy functions: values of the model classes, broadcasting,
not-a-number results, the console program's numbers."""

import threading

import numpy as np
import pytest

import quarvessin as qv
from conftest import read_boundary_file

NAN = float("nan")

# Temperatures [C] and pressures [bar] inside and outside the fitted ranges,
# repeated and alternating so that an object reused from element to element
# must recompute exactly when its inputs change.
T_SET = np.array([25.0, 25.0, 100.0, 0.0, 373.0, 373.5, 373.976, 400.0, 594.6324429298147,
                  700.0, 800.7, 1000.0, -20.0, 100.0, NAN, 25.0])
P_SET = np.array([1.0, 300.0, 1.0, 0.001, 200.0, 219.0, 220.54915, 280.0, 390.0,
                  1000.0, 0.0005, 5000.0, 1.0, 1.0, 1.0, NAN])

# name -> (function of T, P returning one array, arguments used)
TP_FUNCTIONS = {
    "halite_liquidus": qv.halite_liquidus,
    "halite_saturated_vapor": qv.halite_saturated_vapor,
    "vl_liquid": qv.vl_liquid,
    "vl_vapor": qv.vl_vapor,
}
T_FUNCTIONS = {
    "vlh_pressure": qv.vlh_pressure,
    "water_vapor_pressure": qv.water_vapor_pressure,
    "critical_pressure": lambda T: qv.critical_curve(T)[0],
    "critical_composition": lambda T: qv.critical_curve(T)[1],
}
P_FUNCTIONS = {
    "halite_melting_temperature": qv.halite_melting_temperature,
    "water_boiling_temperature": qv.water_boiling_temperature,
}


class TestEqualToModelClasses:
    @pytest.mark.parametrize("name", sorted(TP_FUNCTIONS))
    def test_functions_of_t_and_p(self, name, reference):
        got = TP_FUNCTIONS[name](T_SET, P_SET)
        expected = reference(name, T_SET, P_SET)
        # A composition beyond 0 to 1 is not a number: of this set only the
        # liquidus at 1000 C and 5000 bar, above the melting point of halite there.
        outside = (expected < 0) | (expected > 1)
        if name == "halite_liquidus":
            assert np.flatnonzero(outside).tolist() == [11]
            assert qv.halite_melting_temperature(P_SET[11]) < T_SET[11]
        else:
            assert not outside.any()
        expected[outside] = NAN
        np.testing.assert_array_equal(got, expected)

    @pytest.mark.parametrize("name", sorted(T_FUNCTIONS))
    def test_functions_of_t(self, name, reference):
        got = T_FUNCTIONS[name](T_SET)
        expected = reference(name, T_SET, 0.0)
        if name == "critical_composition":
            # The class's 0 for any temperature below 373.976 C is not kept for NaN.
            assert expected[np.isnan(T_SET)].tolist() == [0.0]
            expected[np.isnan(T_SET)] = NAN
        np.testing.assert_array_equal(got, expected)

    @pytest.mark.parametrize("name", sorted(P_FUNCTIONS))
    def test_functions_of_p(self, name, reference):
        got = P_FUNCTIONS[name](P_SET)
        # The melting curve ignores the temperature; pure water is given 25 C.
        np.testing.assert_array_equal(got, reference(name, 800.7 if "melting" in name else 25.0, P_SET))

    def test_element_values_do_not_depend_on_their_neighbours(self):
        # One object serves a whole array: a value must not change with the order.
        order = np.random.default_rng(7).permutation(T_SET.size)
        for fn in TP_FUNCTIONS.values():
            np.testing.assert_array_equal(fn(T_SET[order], P_SET[order]), fn(T_SET, P_SET)[order])
        for fn in T_FUNCTIONS.values():
            np.testing.assert_array_equal(fn(T_SET[order]), fn(T_SET)[order])


class TestPhysicalAnchors:
    def test_critical_curve_starts_at_the_critical_point_of_water(self):
        p, x = qv.critical_curve(373.976)
        assert p == pytest.approx(220.54915, abs=1e-9)
        assert x == 0.0
        p, x = qv.critical_curve(600.0)
        assert p > 220.54915 and 0.0 < x < 1.0

    def test_three_phase_curve_maximum(self):
        assert qv.vlh_pressure(594.6324429298147) == pytest.approx(390.1474443379598, abs=1e-9)
        assert qv.vlh_pressure([500.0, 700.0]).max() < 390.1474443379598

    def test_melting_and_liquidus_meet_at_pure_nacl(self):
        assert qv.halite_melting_temperature(0.0) == 800.7
        p = np.array([1.0, 500.0, 2000.0])
        tm = qv.halite_melting_temperature(p)
        assert np.all(np.diff(tm) > 0)
        np.testing.assert_allclose(qv.halite_liquidus(tm, p), 1.0, atol=1e-12)

    def test_solubility_of_halite_at_room_temperature(self):
        # About 26.4 wt% NaCl at 25 C and 1 bar.
        assert qv.wt_percent(qv.halite_liquidus(25.0, 1.0)) == pytest.approx(26.4, abs=0.1)

    def test_pure_water_boils_at_100_c_under_one_atmosphere(self):
        assert qv.water_vapor_pressure(100.0) == pytest.approx(1.01325, abs=2e-3)
        assert qv.water_boiling_temperature(1.01325) == pytest.approx(100.0, abs=0.05)
        t = np.array([10.0, 100.0, 250.0, 370.0])
        np.testing.assert_allclose(qv.water_boiling_temperature(qv.water_vapor_pressure(t)), t, atol=1e-4)

    def test_vapour_poorer_in_nacl_than_liquid(self):
        t, p = 450.0, np.array([300.0, 350.0, 380.0])
        assert np.all(qv.vl_vapor(t, p) < qv.vl_liquid(t, p))
        assert qv.halite_saturated_vapor(450.0, 300.0) < qv.halite_liquidus(450.0, 300.0)

    def test_composition_conversions(self):
        assert qv.wt_percent(0.0) == 0.0
        assert qv.wt_percent(1.0) == 100.0
        assert qv.mole_fraction(100.0) == 1.0
        x = np.linspace(0.0, 1.0, 11)
        np.testing.assert_allclose(qv.mole_fraction(qv.wt_percent(x)), x, rtol=1e-14, atol=1e-16)
        # 26.4 wt% NaCl is 0.0996 in mole fraction.
        assert qv.mole_fraction(26.4) == pytest.approx(26.4 / 58.443 / (26.4 / 58.443 + 73.6 / 18.015))


class TestNotANumber:
    def test_nan_where_the_class_gives_none(self):
        pc = float(qv.critical_curve(400.0)[0])
        assert np.isnan(qv.vl_liquid(400.0, pc + 10.0))
        assert np.isnan(qv.vl_vapor(400.0, pc + 10.0))
        assert np.isnan(qv.halite_saturated_vapor(400.0, pc + 10.0))
        assert np.isnan(qv.water_vapor_pressure(0.01))   # at the triple point: no liquid range
        assert np.isnan(qv.water_vapor_pressure(400.0))  # above the critical temperature
        assert np.isnan(qv.water_boiling_temperature(221.0))
        assert np.isfinite(qv.vl_liquid(400.0, pc - 10.0))

    @pytest.mark.parametrize("fn", [qv.halite_liquidus, qv.halite_saturated_vapor, qv.vl_liquid, qv.vl_vapor])
    def test_nan_arguments_give_nan(self, fn):
        out = fn([NAN, 400.0, NAN], [300.0, NAN, NAN])
        assert np.isnan(out).all()

    @pytest.mark.parametrize("fn", [qv.vlh_pressure, qv.halite_melting_temperature, qv.water_vapor_pressure,
                                    qv.water_boiling_temperature, qv.wt_percent, qv.mole_fraction])
    def test_nan_argument_of_one_variable(self, fn):
        assert np.isnan(fn(NAN))
        p, x = qv.critical_curve(NAN)
        assert np.isnan(p) and np.isnan(x)


class TestBroadcasting:
    def test_scalars_give_numpy_scalars(self):
        v = qv.halite_liquidus(25.0, 1.0)
        assert isinstance(v, np.float64)
        p, x = qv.critical_curve(500)
        assert isinstance(p, np.float64) and isinstance(x, np.float64)
        assert isinstance(qv.wt_percent(np.float64(0.1)), np.float64)

    def test_scalar_against_array_and_grid(self):
        t = np.array([100.0, 200.0, 300.0])
        p = np.array([1.0, 100.0, 1000.0, 5000.0])
        grid = qv.halite_liquidus(t[:, None], p)
        assert grid.shape == (3, 4)
        for i, ti in enumerate(t):
            for j, pj in enumerate(p):
                assert grid[i, j] == qv.halite_liquidus(ti, pj)
        np.testing.assert_array_equal(qv.halite_liquidus(t, 1000.0), grid[:, 2])
        np.testing.assert_array_equal(qv.vl_vapor(450.0, [300.0, 350.0]),
                                      [qv.vl_vapor(450.0, 300.0), qv.vl_vapor(450.0, 350.0)])

    def test_shapes_lists_integers_and_strided_views(self):
        t = np.arange(24, dtype=float).reshape(2, 3, 4) * 10.0
        p, x = qv.critical_curve(t)
        assert p.shape == x.shape == (2, 3, 4)
        np.testing.assert_array_equal(qv.vlh_pressure([0, 100, 200]), qv.vlh_pressure(np.array([0.0, 100.0, 200.0])))
        view = t.reshape(-1)[::3]  # not contiguous
        np.testing.assert_array_equal(qv.vlh_pressure(view), qv.vlh_pressure(view.copy()))
        assert qv.halite_liquidus(np.empty((0, 2)), 1.0).shape == (0, 2)

    def test_arguments_are_not_modified(self):
        t = np.array([100.0, 200.0])
        p = np.array([1.0, 2.0])
        qv.halite_liquidus(t, p)
        np.testing.assert_array_equal(t, [100.0, 200.0])
        np.testing.assert_array_equal(p, [1.0, 2.0])

    def test_shapes_that_do_not_broadcast(self):
        with pytest.raises(ValueError):
            qv.halite_liquidus(np.zeros(3), np.zeros(4))



class TestConsoleFiles:
    """The functions give the numbers the console program writes (%g of wt%)."""

    @pytest.mark.parametrize("pressure", ["1", "300", "3000"])
    def test_liquidus_of_isobaric_sections(self, golden, pressure):
        fixed = "%f" % float(pressure)
        pieces = read_boundary_file(golden / f"isobar_{pressure}" / f"liquid+halite_{fixed}bar.dat")
        rows = [r for piece in pieces for r in piece]
        assert len(rows) > 100
        t = np.array([float(b) for _, b in rows])
        # Temperatures the file writes exactly (whole degrees) only.
        whole = t == np.round(t)
        wt = qv.wt_percent(qv.halite_liquidus(t[whole], float(pressure)))
        expected = [a for (a, _), w in zip(rows, whole) if w]
        assert ["%g" % v for v in wt] == expected

    def test_vapour_branch_of_an_isobaric_section(self, golden):
        rows = read_boundary_file(golden / "isobar_300" / "liquid+vapor_300.000000bar.dat")[0]
        t = np.array([float(b) for _, b in rows])
        whole = (t == np.round(t)) & (t > 700.0)
        assert whole.sum() > 50
        wt = qv.wt_percent(qv.vl_vapor(t[whole], 300.0))
        assert ["%g" % v for v in wt] == [a for (a, _), w in zip(rows, whole) if w]


def test_threads_compute_the_same_values():
    t = np.linspace(0.0, 800.0, 20001)
    serial = qv.halite_liquidus(t, 500.0)
    results = [None] * 4

    def work(i):
        results[i] = qv.halite_liquidus(t, 500.0)

    threads = [threading.Thread(target=work, args=(i,)) for i in range(4)]
    for th in threads:
        th.start()
    for th in threads:
        th.join()
    for r in results:
        np.testing.assert_array_equal(r, serial)
