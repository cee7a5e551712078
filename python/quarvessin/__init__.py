"""Phase relations of H2O-NaCl: sections and correlations from Python.

Units throughout: temperature T in degrees Celsius, pressure P in bar,
composition as mole fraction of NaCl (``x``) unless a name says wt% (weight
percent NaCl).

The correlation functions broadcast their arguments like NumPy's ufuncs:
scalars give a NumPy float, arrays of any shape (or combinations that
broadcast) give an array of the broadcast shape. Each element is computed by
the same C++ model class the console program ``quarvessin_plotdata`` uses, so
a value equals the one the program writes. Where the class gives "not a
number" (outside the range where a correlation is defined) the result is NaN.
The computation runs without the global interpreter lock, so several Python
threads compute in parallel.
"""

import math as _math

import numpy as _np

from . import _core
from ._version import __version__  # the project's version, written by the build

__all__ = [
    "section",
    "Section",
    "Boundary",
    "plot",
    "wt_percent",
    "mole_fraction",
    "critical_curve",
    "vlh_pressure",
    "halite_melting_temperature",
    "halite_liquidus",
    "halite_saturated_vapor",
    "vl_liquid",
    "vl_vapor",
    "water_vapor_pressure",
    "water_boiling_temperature",
]


_KINDS = {"isobar": True, "isobaric": True, "isotherm": False, "isothermal": False}


def section(kind, value, fine=False):
    """Computes the phase-diagram section the console program computes.

    ``kind`` is ``"isobar"`` (``value`` the pressure [bar], 1 to 5000) or
    ``"isotherm"`` (``value`` the temperature [C], below 800.7); ``"isobaric"``
    and ``"isothermal"`` are accepted too. Returns a :class:`Section` with
    ``kind``, ``value``, ``accepted``, ``console`` (the console program's text
    after the value), ``warnings`` and ``boundaries``; each :class:`Boundary`
    has ``phases``, ``file_name``, ``scientific``, ``pieces`` (arrays of shape
    (n, 2): NaCl [wt%] and temperature [C] or pressure [bar]) and ``format()``,
    the text of its file. A value the program refuses gives ``accepted ==
    False`` with the refusal in ``console`` and no boundary. With ``fine``,
    boundaries whose console spacing hides their shape are sampled for display
    (the vapour + halite curve of an isotherm evenly in log p); the console
    program's files never use it.

    Raises ValueError for an unknown kind or a value that is not a finite
    number. The GIL is released while the section is computed.
    """
    if not isinstance(kind, str) or kind not in _KINDS:
        raise ValueError(f"kind must be 'isobar' or 'isotherm', not {kind!r}")
    if isinstance(value, (str, bytes)):
        raise ValueError(f"the section value must be a number, not {value!r}")
    try:
        v = float(value)
    except (TypeError, ValueError):
        raise ValueError(f"the section value must be a number, not {value!r}") from None
    if not _math.isfinite(v):
        raise ValueError(f"the section value must be a finite number, not {v!r}")
    return _core.section(_KINDS[kind], v, bool(fine))


def point(T, P, wt=None, x=None):
    """The phase boundaries at temperature ``T`` [C] and pressure ``P`` [bar].

    The same answer as the command ``quarvessin point``, as a dict: ``T_C``,
    ``P_bar``, ``accepted`` (False, with the reason in ``refusal``, for a
    temperature of 800.7 C or more, a pressure that is not positive, or a
    composition outside 0 to 100 wt%), the sublimation, three-phase and
    loop-top pressures [bar], and ``boundaries``: the halite-saturated vapour,
    the vapour and liquid of the vapour + liquid surface and the
    halite-saturated liquid where present, each with ``wt_percent`` and
    ``mole_fraction``. Read from the model objects the isothermal section at
    ``T`` uses, so they equal the section's boundaries at ``P``.

    With a composition, ``wt`` [wt% NaCl] or ``x`` [mole fraction NaCl], also
    ``wt_percent``, ``mole_fraction`` and ``assemblage``: one of ``"vapor"``,
    ``"liquid"``, ``"liquid+vapor"``, ``"liquid+halite"``, ``"vapor+halite"``
    or ``"vapor+liquid+halite"``. Raises ValueError when both are given.
    """
    if wt is not None and x is not None:
        raise ValueError("give the composition as wt or as x, not both")
    composition = None
    if wt is not None:
        wt = float(wt)
        if not 0.0 <= wt <= 100.0:
            return {"T_C": float(T), "P_bar": float(P), "accepted": False,
                    "refusal": f"composition {wt:g} wt% NaCl is out of range (valid: 0 to 100 wt%)"}
        composition = float(mole_fraction(wt))
    elif x is not None:
        composition = float(x)
    answer = _core.point(float(T), float(P), composition)
    if wt is not None and answer["accepted"]:
        answer["wt_percent"] = wt  # as given, not converted back
    return answer


Section = _core.Section
Boundary = _core.Boundary


def plot(section, ax=None, logx=False):
    """Draws ``section`` with matplotlib in the colours of scripts/plot_section; returns the axes.

    ``ax``: the axes to draw into (a new figure when None). ``logx``: NaCl on
    a logarithmic axis (for the NaCl-poor vapour). x axis NaCl [wt%], y axis
    temperature [C] (isobar) or pressure [bar] on a logarithmic axis
    (isotherm); one colour and legend entry per boundary, the three-phase tie
    lines with their corner points, points that are not finite left out.
    matplotlib is imported only when this is called.
    """
    from ._plot import plot as _draw

    return _draw(section, ax=ax, logx=logx)


def _flat(*args):
    """Broadcasts the arguments; returns flat contiguous float64 copies and the shape."""
    arrays = [_np.asarray(a, dtype=_np.float64) for a in args]
    if len(arrays) > 1:
        arrays = _np.broadcast_arrays(*arrays)
    shape = arrays[0].shape
    return [_np.ascontiguousarray(a).reshape(-1) for a in arrays], shape


def _shaped(result, shape):
    out = result.reshape(shape)
    return out[()] if shape == () else out


def _unary(fn, a):
    (flat,), shape = _flat(a)
    return _shaped(fn(flat), shape)


def _binary(fn, a, b):
    (fa, fb), shape = _flat(a, b)
    return _shaped(fn(fa, fb), shape)


def wt_percent(x):
    """NaCl content [wt%] of a mixture of mole fraction ``x`` of NaCl.

    With the molar masses 18.015 g/mol (H2O) and 58.443 g/mol (NaCl), the
    conversion the console program applies to every composition it writes.
    """
    return _unary(_core.wt_percent, x)


def mole_fraction(wt):
    """Mole fraction of NaCl of a mixture holding ``wt`` percent NaCl (inverse of :func:`wt_percent`)."""
    return _unary(_core.mole_fraction, wt)


def critical_curve(T):
    """Critical point of H2O-NaCl solutions at temperature ``T`` [C].

    Returns ``(P, x)``: the critical pressure [bar] and the critical
    composition [mole fraction NaCl]. The curve starts at the critical point of
    water (373.976 C, 220.54915 bar, x = 0); below it the pressure continues as
    a formal extension and the composition is 0. A temperature that is not a
    number gives NaN for both.
    """
    (flat,), shape = _flat(T)
    p, x = _core.critical_curve(flat)
    return _shaped(p, shape), _shaped(x, shape)


def vlh_pressure(T):
    """Pressure [bar] of the three-phase curve vapour + liquid + halite at ``T`` [C].

    Fitted from 0 C to the triple point of NaCl (800.7 C); its maximum is
    390.147 bar at 594.63 C. Outside that range the polynomial is continued.
    """
    return _unary(_core.vlh_pressure, T)


def halite_melting_temperature(P):
    """Melting temperature of halite [C] at pressure ``P`` [bar]."""
    return _unary(_core.halite_melting_temperature, P)


def halite_liquidus(T, P):
    """Composition of liquid saturated with halite [mole fraction NaCl] at ``T`` [C], ``P`` [bar]."""
    return _binary(_core.halite_liquidus, T, P)


def halite_saturated_vapor(T, P):
    """Composition of vapour saturated with halite [mole fraction NaCl] at ``T`` [C], ``P`` [bar].

    NaN above the critical pressure of the solution at ``T``.
    """
    return _binary(_core.halite_saturated_vapor, T, P)


def vl_liquid(T, P):
    """Liquid branch of the vapour + liquid surface [mole fraction NaCl] at ``T`` [C], ``P`` [bar].

    The composition of liquid coexisting with vapour; NaN above the critical
    pressure at ``T``.
    """
    return _binary(_core.vl_liquid, T, P)


def vl_vapor(T, P):
    """Vapour branch of the vapour + liquid surface [mole fraction NaCl] at ``T`` [C], ``P`` [bar].

    The composition of vapour coexisting with liquid; NaN above the critical
    pressure at ``T``.
    """
    return _binary(_core.vl_vapor, T, P)


def water_vapor_pressure(T):
    """Vapour pressure of pure water [bar] at ``T`` [C].

    From the water equation of state (computed in Pa and converted with
    1 bar = 1e5 Pa); between 373 C and the critical temperature 373.976 C a
    quadratic that meets the critical pressure. NaN outside the range of liquid
    water (at or below the triple point, 0.01 C, and above the critical
    temperature).
    """
    return _unary(_core.water_vapor_pressure, T)


def water_boiling_temperature(P):
    """Boiling temperature of pure water [C] at ``P`` [bar].

    NaN outside the saturation range (below the triple-point pressure, above
    the critical pressure).
    """
    return _unary(_core.water_boiling_temperature, P)
