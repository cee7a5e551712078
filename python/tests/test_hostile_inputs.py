"""What a hostile caller tries: values that are not numbers, masks, edits of a
section's arrays, huge broadcasts, impossible compositions, memory limits."""

import gc
import os
import subprocess
import sys
import textwrap
import tracemalloc

import numpy as np
import pytest

import quarvessin as qv

ONE_ARGUMENT = [qv.vlh_pressure, qv.water_vapor_pressure, qv.water_boiling_temperature,
                qv.halite_melting_temperature, qv.wt_percent, qv.mole_fraction,
                lambda a: qv.critical_curve(a)[1]]
TWO_ARGUMENTS = [qv.halite_liquidus, qv.halite_saturated_vapor, qv.vl_liquid, qv.vl_vapor]
COMPOSITIONS = [qv.halite_liquidus, qv.halite_saturated_vapor, qv.vl_liquid, qv.vl_vapor]


class TestNotNumbers:
    @pytest.mark.parametrize("bad", [None, "25", b"25", 1j, np.array([1 + 1j]), [25.0, None],
                                     ["25"], True, np.array([True, False]),
                                     np.array(["2020-01-01"], dtype="datetime64[D]")])
    def test_refused_with_type_error(self, bad):
        for fn in ONE_ARGUMENT:
            with pytest.raises(TypeError):
                fn(bad)
        for fn in TWO_ARGUMENTS:
            with pytest.raises(TypeError):
                fn(bad, 100.0)
            with pytest.raises(TypeError):
                fn(400.0, bad)

    def test_integers_and_narrow_floats_are_numbers(self):
        want = qv.halite_liquidus(np.array([100.0, 200.0]), np.array([10.0, 20.0]))
        np.testing.assert_array_equal(qv.halite_liquidus(np.array([100, 200], np.uint8), [10, 20]), want)
        np.testing.assert_array_equal(qv.halite_liquidus(np.array([100, 200], np.float32), [10, 20]), want)


class TestMasks:
    def test_a_masked_argument_masks_the_result(self):
        t = np.ma.array([25.0, 300.0, 500.0], mask=[False, True, False])
        got = qv.halite_liquidus(t, 1000.0)
        assert isinstance(got, np.ma.MaskedArray)
        assert got.mask.tolist() == [False, True, False]
        np.testing.assert_array_equal(got.compressed(), qv.halite_liquidus([25.0, 500.0], 1000.0))

    def test_masks_of_both_arguments_broadcast_and_join(self):
        t = np.ma.array([[25.0], [300.0]], mask=[[False], [True]])
        p = np.ma.array([1.0, 100.0, 1000.0], mask=[True, False, False])
        got = qv.vl_vapor(t, p)
        assert got.shape == (2, 3)
        assert got.mask.tolist() == [[True, False, False], [True, True, True]]
        # The arguments' masks are not changed.
        assert t.mask.tolist() == [[False], [True]] and p.mask.tolist() == [True, False, False]

    def test_masked_array_without_masked_elements_stays_masked(self):
        got = qv.vlh_pressure(np.ma.array([100.0, 200.0]))
        assert isinstance(got, np.ma.MaskedArray) and not got.mask.any()

    def test_both_results_of_the_critical_curve_and_scalars(self):
        p, x = qv.critical_curve(np.ma.array([400.0, 500.0], mask=[True, False]))
        assert p.mask.tolist() == x.mask.tolist() == [True, False]
        assert qv.vlh_pressure(np.ma.masked_array(500.0, mask=True)) is np.ma.masked
        assert qv.vlh_pressure(np.ma.masked_array(500.0, mask=False)) == qv.vlh_pressure(500.0)


class TestSectionsCannotBeEdited:
    def test_pieces_are_read_only_and_stay_so(self):
        s = qv.section("isobar", 300.0)
        text = [b.format() for b in s.boundaries]
        piece = s.boundaries[1].pieces[0]
        with pytest.raises(ValueError):
            piece[0, 0] = 50.0
        with pytest.raises(ValueError):
            piece.setflags(write=True)
        with pytest.raises(ValueError):
            np.copyto(piece, 0.0)
        with pytest.raises(TypeError):
            s.boundaries[0].pieces[0] = np.zeros((1, 2))
        with pytest.raises(AttributeError):
            s.boundaries = ()
        assert [b.format() for b in s.boundaries] == text

    def test_pieces_outlive_their_section(self):
        s = qv.section("isotherm", 400.0)
        boundary = s.boundaries[0]
        piece = boundary.pieces[0]
        rows = [line.split("\t") for line in boundary.format().split("\n\n")[0].splitlines()]
        del s, boundary
        gc.collect()
        qv.section("isobar", 2000.0)  # reuses freed memory, if any was freed
        assert len(piece) == len(rows)
        assert [("%g" % a, "%g" % b) for a, b in piece] == [tuple(r) for r in rows]

    def test_lists_handed_out_are_copies(self):
        s = qv.section("isotherm", 400.0)
        json_text = s.format("json")
        s.fields.clear()
        s.warnings.append("edited")
        assert s.fields and "edited" not in s.warnings
        assert s.format("json") == json_text


class TestBroadcasting:
    def test_a_broadcast_scalar_is_not_materialised(self):
        n = 1500
        t = np.broadcast_to(np.float64(25.0), (n, n))
        p = np.broadcast_to(np.float64(1.0), (n, n))
        tracemalloc.start()
        try:
            got = qv.halite_liquidus(t, p)
            peak = tracemalloc.get_traced_memory()[1]
        finally:
            tracemalloc.stop()
        assert got.shape == (n, n) and got.flags.c_contiguous
        assert got.nbytes <= peak < 1.25 * got.nbytes, peak  # the result alone
        assert (got == qv.halite_liquidus(25.0, 1.0)).all()

    def test_views_with_any_strides(self):
        rng = np.random.default_rng(3)
        t = rng.uniform(0.0, 800.0, size=(6, 5))
        p = rng.uniform(1.0, 2000.0, size=(5, 6))
        views = [(t, p.T), (t[::-2], p.T[::-2]), (t[:, 1:4][None], p.T[:, 1:4]),
                 (np.broadcast_to(t[:1], (4, 5)), p.T[2])]
        for a, b in views:
            got = qv.vl_liquid(a, b)
            want = np.array([qv.vl_liquid(float(x), float(y)) for x, y in
                             zip(*(v.ravel() for v in np.broadcast_arrays(a, b)))])
            np.testing.assert_array_equal(got.ravel(), want)
        # Unaligned doubles inside a byte buffer.
        raw = np.zeros(8 * 4 + 1, np.uint8)[1:].view(np.float64)
        raw[:] = [25.0, 100.0, 400.0, 700.0]
        assert not raw.flags.aligned
        np.testing.assert_array_equal(qv.vlh_pressure(raw), qv.vlh_pressure(raw.copy()))


class TestImpossibleCompositions:
    def test_far_above_the_fitted_pressures(self):
        # 20 kbar at 25 C: the liquidus correlation would give -3.97 wt% NaCl.
        assert np.isnan(qv.halite_liquidus(25.0, 20000.0))
        assert np.isnan(qv.halite_liquidus([100.0, 300.0, 800.0], [30000.0, 50000.0, 30000.0])).all()

    def test_every_composition_lies_in_0_to_1_or_is_nan(self):
        t = np.linspace(-50.0, 1100.0, 117)[:, None]
        p = np.geomspace(1e-6, 1e6, 131)
        for fn in COMPOSITIONS:
            x = fn(t, p)
            assert np.all(np.isnan(x) | ((x >= 0.0) & (x <= 1.0))), fn.__name__
        x = qv.critical_curve(t)[1]
        assert np.all(np.isnan(x) | ((x >= 0.0) & (x <= 1.0)))

    def test_conversions_of_impossible_compositions(self):
        assert np.isnan(qv.wt_percent([-0.1, 1.5])).all()
        assert np.isnan(qv.mole_fraction([-1.0, 100.5])).all()
        assert qv.wt_percent(1.0) == 100.0 and qv.mole_fraction(0.0) == 0.0


def test_out_of_memory_is_a_memory_error():
    # Under an address-space limit an array of 12.8 GB cannot be had: the
    # answer is MemoryError and the interpreter carries on.
    resource = pytest.importorskip("resource")
    code = textwrap.dedent("""
        import resource, numpy as np, quarvessin as qv
        limit = 2 << 30
        resource.setrlimit(resource.RLIMIT_AS, (limit, limit))
        try:
            qv.halite_liquidus(np.broadcast_to(25.0, (40000, 40000)), 1.0)
        except MemoryError:
            print("MemoryError")
        print(qv.section("isobar", 300.0).accepted)
    """)
    env = dict(os.environ)
    run = subprocess.run([sys.executable, "-c", code], capture_output=True, text=True, env=env)
    assert run.returncode == 0, run.stderr
    assert run.stdout.split() == ["MemoryError", "True"]
