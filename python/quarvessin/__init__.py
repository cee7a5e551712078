"""Phase relations of H2O-NaCl: sections and correlations from Python.

Units throughout: temperature T in degrees Celsius, pressure P in bar,
composition as mole fraction of NaCl (``x``) unless a name says wt% (weight
percent NaCl).

The correlation functions broadcast their arguments like NumPy's ufuncs:
scalars give a NumPy float, arrays of any shape (or combinations that
broadcast) give an array of the broadcast shape. Each element is computed by
the same C++ model class the console program ``quarvessin_plotdata`` uses, so
a value equals the one the program writes. Where the class gives "not a
number" (outside the range where a correlation is defined) the result is NaN;
so is a composition the correlations would put outside 0 to 1 mole fraction
(0 to 100 wt%), as the liquidus does far above their fitted 5000 bar. The
arguments must hold real numbers (integers or floats): None, strings, bools
and complex numbers are refused with TypeError. A masked array gives a masked
result, masked wherever an argument is. Broadcast arguments are never copied
out to the broadcast shape: memory goes to the result alone. The computation
runs without the global interpreter lock, so several Python threads compute in
parallel.

Sections keep the engine's value: the arrays of their boundaries are
read-only views of the points that ``format()`` writes.
"""

import collections as _collections
import json as _json
import math as _math
import numbers as _numbers

import numpy as _np

from . import _core
from ._version import __version__  # the project's version, written by the build

__all__ = [
    "section",
    "point",
    "phase_state",
    "PhaseStates",
    "ASSEMBLAGES",
    "inclusion",
    "surfaces",
    "surfaces_file",
    "Section",
    "Boundary",
    "plot",
    "KINDS",
    "BOUNDARY_STYLES",
    "CORRELATION_MIN_TEMPERATURE",
    "CORRELATION_MAX_TEMPERATURE",
    "CORRELATION_MIN_PRESSURE",
    "CORRELATION_MAX_PRESSURE",
    "ISOBAR_TOP_TEMPERATURE",
    "ABSOLUTE_ZERO",
    "MIN_SECTION_PRESSURE",
    "MAX_SECTION_PRESSURE",
    "MAX_SECTION_TEMPERATURE",
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

# The engine's ranges: the correlations' fitted range [C, bar], the top
# temperature of isobars [C], absolute zero [C], the values sections take.
CORRELATION_MIN_TEMPERATURE = _core.CORRELATION_MIN_TEMPERATURE
CORRELATION_MAX_TEMPERATURE = _core.CORRELATION_MAX_TEMPERATURE
CORRELATION_MIN_PRESSURE = _core.CORRELATION_MIN_PRESSURE
CORRELATION_MAX_PRESSURE = _core.CORRELATION_MAX_PRESSURE
ISOBAR_TOP_TEMPERATURE = _core.ISOBAR_TOP_TEMPERATURE
ABSOLUTE_ZERO = _core.ABSOLUTE_ZERO
MIN_SECTION_PRESSURE = _core.MIN_SECTION_PRESSURE
MAX_SECTION_PRESSURE = _core.MAX_SECTION_PRESSURE
MAX_SECTION_TEMPERATURE = _core.MAX_SECTION_TEMPERATURE

# The engine's kind table (a tuple of dicts: "word", "plural", "adjective",
# "fixed", "min", "max", ..., "x", "y", "log_y") and boundary styles ("id",
# "label", "legend", "colour", "dots"), in legend order.
KINDS = tuple(_core.section_kinds())
BOUNDARY_STYLES = tuple(_core.boundary_styles())

# The names of the assemblages in the order of their integer codes, as the
# point query spells them: "" (unknown) first, then "vapor", "liquid",
# "liquid+vapor", "liquid+halite", "vapor+halite", "vapor+liquid+halite",
# "halite".
ASSEMBLAGES = tuple(_core.ASSEMBLAGES)


def _real(value, what):
    """``value`` as a float: TypeError unless it is a real number (bool is not), ValueError if no double holds it."""
    if isinstance(value, _np.ndarray) and value.ndim == 0 and value.dtype.kind in "iuf":
        value = value[()]
    if isinstance(value, (bool, _np.bool_)) or not isinstance(value, _numbers.Real):
        raise TypeError(f"{what} must be a real number, not {type(value).__name__}")
    try:
        return float(value)
    except OverflowError:
        raise ValueError(f"{what} is too large to be a floating-point number") from None


def _finite(value, what):
    """``value`` as a finite float: as :func:`_real`, and ValueError when it is not finite."""
    v = _real(value, what)
    if not _math.isfinite(v):
        raise ValueError(f"{what} {_core.shortest_number(v)} is not a finite number")
    return v


def section(kind, value=None, fine=False):
    """Computes a phase-diagram section the way the command line does.

    ``kind`` is a word of the engine's kind table (:data:`KINDS`):
    ``"isobar"``, ``"isobars"`` or ``"isobaric"`` (``value`` the pressure
    [bar], 1 to 5000), ``"isotherm"``, ``"isotherms"`` or ``"isothermal"``
    (``value`` the temperature [C], above -273.15 and below 800.7),
    ``"isopleth"``, ``"isopleths"`` or ``"isoplethal"`` (``value`` the NaCl
    content [wt%], above 0 and below 100; points (temperature [C], pressure
    [bar])), or ``"projection"`` (no value: the pressure-temperature
    projection of the univariant and critical curves). Returns a
    :class:`Section` with ``kind``, ``value``, ``unit``, ``columns``,
    ``accepted``, ``refusal``, ``console`` (the console program's text after
    the value), ``warnings``, ``boundaries`` and ``fields`` (the phase fields
    with the places of their labels, placed on first use); ``format("csv")``
    and ``format("json")`` give the bytes ``quarvessin section ... --format``
    writes, ``file_name("csv")`` its file name. Each :class:`Boundary` has
    ``id`` (stable: ``"vapor+liquid"``, ``"liquidus"``, ``"three-phase"``,
    ``"vapor+halite"``; on the projection also ``"critical"``,
    ``"water-liquid+vapor"``, ``"nacl-halite+liquid"``,
    ``"nacl-liquid+vapor"``, ``"nacl-halite+vapor"``), ``phases`` and
    ``file_name`` (the console program's file), ``branches``, ``scientific``,
    ``pieces`` (read-only arrays of shape (n, 2) in the section's
    ``columns``: NaCl [wt%] and temperature [C] or pressure [bar], or
    temperature [C] and pressure [bar] on an isopleth and the projection) and
    ``format()``, the text of its file. A value out of range gives
    ``accepted == False`` with the command line's refusal in ``refusal`` and no
    boundary. With ``fine``, boundaries whose console spacing hides their
    shape are sampled for display (the vapour + halite curve of an isotherm
    evenly in log p), as ``--fine`` does.

    Raises TypeError when ``kind`` is not a string or ``value`` not a real
    number (None for a kind that takes one), ValueError for a word that names
    no kind (the command line's message), a value that is not a finite number
    or a value given to the projection. The GIL is released while the section
    is computed.
    """
    if not isinstance(kind, str):
        raise TypeError(f"the kind of section must be a string, not {type(kind).__name__}")
    info = _core.find_kind(kind)
    if info is None:
        raise ValueError(_core.unknown_kind_message(kind))
    if not info["takes_value"]:
        if value is not None:
            raise ValueError(f"{info['word']} takes no value, not {value!r}")
        return _core.section(kind, 0.0, bool(fine))
    return _core.section(kind, _real(value, "the section value"), bool(fine))


def point(T, P, wt=None, x=None):
    """The phase boundaries at temperature ``T`` [C] and pressure ``P`` [bar].

    The answer of ``quarvessin point ... --json`` as a dict (numbers that are
    not finite are None), with ``accepted`` and ``refusal`` in front: ``T_C``,
    ``P_bar``, the sublimation, three-phase and loop-top pressures [bar], and
    ``boundaries``: the halite-saturated vapour, the vapour and liquid of the
    vapour + liquid surface and the halite-saturated liquid where present,
    each with ``wt_percent`` and ``mole_fraction``. Read from the model objects
    the isothermal section at ``T`` uses (above 800.7 C those of the isobaric
    sections there), so they equal the sections' boundaries. A value out of
    range (the engine's rule: a temperature at or below -273.15 C or above
    1000 C, a pressure that is not positive or above 5000 bar, a composition
    outside 0 to 100 wt% or 0 to 1) gives only ``T_C``, ``P_bar``,
    ``accepted == False`` and the ``refusal``.

    With a composition, ``wt`` [wt% NaCl] or ``x`` [mole fraction NaCl], also
    ``wt_percent`` (as given with ``wt``), ``mole_fraction`` and
    ``assemblage``: one of ``"vapor"``, ``"liquid"``, ``"liquid+vapor"``,
    ``"liquid+halite"``, ``"vapor+halite"``, ``"vapor+liquid+halite"`` or
    ``"halite"`` (None when it cannot be told).

    Raises TypeError for an argument that is not a real number, ValueError for
    one that is not a finite number (the engine's refusal) or when both ``wt``
    and ``x`` are given.
    """
    if wt is not None and x is not None:
        raise ValueError("give the composition as wt or as x, not both")
    t = _finite(T, "the temperature")
    p = _finite(P, "the pressure")
    composition, unit = None, "wt"
    if wt is not None:
        composition = _finite(wt, "the composition")
    elif x is not None:
        composition, unit = _finite(x, "the composition"), "x"
    accepted, refusal, text = _core.point(t, p, composition, unit)
    answer = {"T_C": t, "P_bar": p, "accepted": accepted, "refusal": refusal}
    if accepted:
        answer.update(_json.loads(text, parse_int=float))
    return answer


Section = _core.Section
Boundary = _core.Boundary


def plot(section, ax=None, logx=False, mark=None):
    """Draws ``section`` with matplotlib; returns the axes.

    Colours, legends and labels are the engine's: each boundary in the colour
    and with the legend of its identity (:data:`BOUNDARY_STYLES`), the phase
    fields labelled where the engine places them (``section.fields``). ``ax``:
    the axes to draw into (a new figure when None). ``logx``: NaCl on a
    logarithmic axis (for the NaCl-poor vapour). Axes as the kind table says:
    NaCl [wt%] across, temperature [°C] (isobar) or pressure [bar] on a
    logarithmic axis (isotherm) up; the three-phase tie lines with their
    corner points, points that are not finite left out. An isopleth or the
    projection lies in the pressure-temperature plane: temperature [°C]
    across, pressure [bar] up on a logarithmic axis. ``mark``: on the
    projection (or an isopleth), one section or a list of them marked where
    they cut it: an isobar as a horizontal line at its pressure, an isotherm
    as a vertical line at its temperature, an isopleth by its curves, dashed.
    matplotlib is imported only when this is called.
    """
    from ._plot import plot as _draw

    return _draw(section, ax=ax, logx=logx, mark=mark)


def _operand(a, name):
    """(float64 array, mask or None) of one argument; TypeError unless it holds real numbers."""
    if a is None or isinstance(a, (str, bytes)):
        raise TypeError(f"{name} must be real numbers, not {type(a).__name__}")
    mask = _np.ma.getmaskarray(a) if isinstance(a, _np.ma.MaskedArray) else None
    data = _np.asarray(_np.ma.getdata(a))
    if data.dtype.kind not in "iuf":
        raise TypeError(f"{name} must be real numbers, not {data.dtype} values")
    return data.astype(_np.float64, copy=False), mask


def _apply(fn, names, args):
    """fn on the arguments broadcast to one shape as views (nothing is copied out to
    that shape); a scalar for scalars; a masked array, masked where any argument is,
    when one is masked."""
    operands = [_operand(a, n) for a, n in zip(args, names)]
    arrays = [a for a, _ in operands]
    if len(arrays) > 1:
        arrays = _np.broadcast_arrays(*arrays)
    results = fn(*arrays)
    single = not isinstance(results, tuple)
    results = [results] if single else list(results)
    shape = arrays[0].shape
    masks = [m for _, m in operands if m is not None]
    if masks:
        mask = _np.zeros(shape, dtype=bool)
        for m in masks:
            mask |= m
        results = [_np.ma.MaskedArray(r, mask=mask.copy()) for r in results]
        if shape == ():
            results = [_np.ma.masked if mask else r.data[()] for r in results]
    elif shape == ():
        results = [r[()] for r in results]
    return results[0] if single else tuple(results)


def _unary(fn, a, name):
    return _apply(fn, (name,), (a,))


def _binary(fn, a, b):
    return _apply(fn, ("T", "P"), (a, b))


def wt_percent(x):
    """NaCl content [wt%] of a mixture of mole fraction ``x`` of NaCl (NaN outside 0 to 1).

    With the molar masses 18.015 g/mol (H2O) and 58.443 g/mol (NaCl), the
    conversion the console program applies to every composition it writes.
    """
    return _unary(_core.wt_percent, x, "x")


def mole_fraction(wt):
    """Mole fraction of NaCl of a mixture holding ``wt`` percent NaCl (inverse of :func:`wt_percent`).

    NaN outside 0 to 100 wt%.
    """
    return _unary(_core.mole_fraction, wt, "wt")


def critical_curve(T):
    """Critical point of H2O-NaCl solutions at temperature ``T`` [C].

    Returns ``(P, x)``: the critical pressure [bar] and the critical
    composition [mole fraction NaCl]. The curve starts at the critical point of
    water (373.976 C, 220.54915 bar, x = 0); below it the pressure continues as
    a formal extension and the composition is 0. A temperature that is not a
    number gives NaN for both.
    """
    return _unary(_core.critical_curve, T, "T")


def vlh_pressure(T):
    """Pressure [bar] of the three-phase curve vapour + liquid + halite at ``T`` [C].

    Fitted from 0 C to the triple point of NaCl (800.7 C); its maximum is
    390.147 bar at 594.63 C. Outside that range the polynomial is continued.
    """
    return _unary(_core.vlh_pressure, T, "T")


def halite_melting_temperature(P):
    """Melting temperature of halite [C] at pressure ``P`` [bar]."""
    return _unary(_core.halite_melting_temperature, P, "P")


def halite_liquidus(T, P):
    """Composition of liquid saturated with halite [mole fraction NaCl] at ``T`` [C], ``P`` [bar].

    NaN where the correlation leaves 0 to 1 (far above 5000 bar).
    """
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
    return _unary(_core.water_vapor_pressure, T, "T")


def water_boiling_temperature(P):
    """Boiling temperature of pure water [C] at ``P`` [bar].

    NaN outside the saturation range (below the triple-point pressure, above
    the critical pressure).
    """
    return _unary(_core.water_boiling_temperature, P, "P")


PhaseStates = _collections.namedtuple(
    "PhaseStates",
    ["assemblage", "wt_vapor", "wt_liquid", "fraction_vapor", "fraction_liquid",
     "fraction_halite"])
PhaseStates.__doc__ = """The phase states of :func:`phase_state`, arrays of one shape."""


def phase_state(T, P, wt, threads=None):
    """The stable assemblage, phase compositions and lever-rule fractions at ``T`` [C], ``P`` [bar], ``wt`` [wt% NaCl].

    Broadcasts like a ufunc (scalars give NumPy scalars). Returns a
    :class:`PhaseStates` of arrays: ``assemblage`` (uint8 codes; their names
    are :data:`ASSEMBLAGES`, code 0 "" where the point is refused or cannot be
    told), ``wt_vapor`` and ``wt_liquid`` (wt% NaCl of the vapour and liquid
    present, NaN when absent), ``fraction_vapor``, ``fraction_liquid`` and
    ``fraction_halite`` (mass fractions: they sum to 1 and weight the phase
    compositions, halite 100 wt%, to ``wt``; NaN when unknown). The
    assemblage is the one :func:`point` names. The range is the engine's:
    above -273.15 C up to 1000 C, above 0 up to 5000 bar, 0 to 100 wt%.

    Computed by the engine's phaseStates without the GIL; ``threads`` (None:
    one per core when there are more than 100 000 points, else one) threads
    share the points in chunks. Ordering the points by temperature, then
    pressure, lets consecutive points share work. Raises TypeError for
    arguments that are not real numbers.
    """
    if threads is None:
        n = 0
    else:
        n = int(_real(threads, "the number of threads"))
        if n < 1:
            raise ValueError(f"the number of threads must be at least 1, not {n}")
    names = ("T", "P", "wt")
    return PhaseStates(*_apply(lambda t, p, w: _core.phase_state(t, p, w, n), names, (T, P, wt)))


_MODES = {"liquid": 0.0, "vapor": 1.0, "critical": 2.0}


def _measurement(value, name):
    """A float64 array of a measurement: None and NaN are not measured."""
    if value is None:
        return _np.float64(_np.nan)
    if isinstance(value, (str, bytes)):
        raise TypeError(f"{name} must be real numbers or None, not {type(value).__name__}")
    a = _np.asarray(value)
    if a.dtype == object:
        flat = [_np.nan if v is None else _real(v, name) for v in a.ravel()]
        return _np.array(flat, dtype=_np.float64).reshape(a.shape)
    if isinstance(value, (bool, _np.bool_)) or a.dtype.kind not in "iuf":
        raise TypeError(f"{name} must be real numbers or None, not {a.dtype} values")
    return a.astype(_np.float64, copy=False)


def _mode_code(word):
    if word is None:
        return _np.nan
    if not isinstance(word, str):
        raise TypeError(f"to must be 'liquid', 'vapor', 'critical' or None, not {type(word).__name__}")
    if word not in _MODES:
        raise ValueError(f"to must be 'liquid', 'vapor' or 'critical', not {word!r}")
    return _MODES[word]


def inclusion(tm_ice=None, tm_halite=None, wt=None, th=None, to=None):
    """Salinity and homogenisation pressure of a fluid inclusion.

    ``tm_ice``: temperature at which the last ice melts [C] (-21.2 to 0);
    ``tm_halite``: temperature at which halite dissolves [C] (0.1 to 800.7);
    ``wt``: the salinity given directly [wt% NaCl]; ``th``: the
    homogenisation temperature [C] with ``to`` the mode, ``"liquid"``,
    ``"vapor"`` or ``"critical"``. A value None (or NaN) is not measured.

    With scalars: the engine's answer as a dict, the json of ``quarvessin
    inclusion --json`` read by :func:`json.loads` (``wt_percent``,
    ``mole_fraction``, ``molality``, ``salinity_from``,
    ``homogenization_pressure_bar``, ``mode``, ``wt_percent_at_5000_bar``,
    ``trapping``, ``warnings``, ``refusal``; None where not known). An input
    the engine refuses gives ``refusal`` (its reason) rather than an error.

    With arrays (broadcast together; ``to`` a string, None or an array of
    them): a dict of arrays of the broadcast shape: ``accepted`` (bool),
    ``wt_percent``, ``mole_fraction``, ``molality``,
    ``homogenization_pressure_bar`` and ``wt_percent_at_5000_bar`` (float64,
    NaN where not known), ``salinity_from``, ``mode``, ``trapping`` and
    ``refusal`` (object arrays of strings or None) and ``warnings`` (an object
    array holding a list of sentences per inclusion).

    Raises TypeError for a measurement that is not a real number or None,
    ValueError for a mode other than the three.
    """
    values = [_measurement(v, n) for v, n in
              ((tm_ice, "tm_ice"), (tm_halite, "tm_halite"), (wt, "wt"), (th, "th"))]
    if to is None or isinstance(to, str):
        modes = _np.float64(_mode_code(to))
    else:
        words = _np.asarray(to, dtype=object)
        modes = _np.array([_mode_code(w) for w in words.ravel()],
                          dtype=_np.float64).reshape(words.shape)
    arrays = _np.broadcast_arrays(*values, modes)
    if arrays[0].shape == ():
        return _json.loads(_core.inclusion(*(float(a) for a in arrays)))
    return _core.inclusion_arrays(*arrays)


def _surface_options(resolution, samples, t_range, p_range):
    def integer(v, name):
        if v is None:
            return None
        if isinstance(v, (bool, _np.bool_)) or not isinstance(v, _numbers.Integral):
            raise TypeError(f"{name} must be an integer, not {type(v).__name__}")
        return int(v)

    def pair(r, name):
        if r is None:
            return None, None
        lo, hi = r
        return _finite(lo, name), _finite(hi, name)

    t_min, t_max = pair(t_range, "the temperature range")
    p_min, p_max = pair(p_range, "the pressure range")
    return (integer(resolution, "resolution"), integer(samples, "samples"),
            t_min, t_max, p_min, p_max)


def surfaces(resolution=None, samples=None, t_range=None, p_range=None):
    """The surfaces of the P-T-X phase diagram as meshes, from the engine's computeSurfaces.

    A list of dicts in the engine's order (``vapor+liquid-liquid``,
    ``vapor+liquid-vapor``, ``liquidus``, ``three-phase``, ``vapor+halite``,
    ``critical-curve``), each with ``name``, ``boundary`` (the sections'
    identity), ``vertices`` (float64, shape (n, 3): temperature [C],
    pressure [bar], NaCl [wt%]; every vertex a point of the model's surface),
    ``triangles`` (uint32, (m, 3)), ``lines`` (uint32, (k, 2), the critical
    curve), ``pieces`` (uint32, (n,), the piece of each vertex); all
    read-only views of the engine's meshes.

    ``resolution``: isotherms over the temperature range (default 200);
    ``samples``: points along each isotherm (default 64); ``t_range``
    (default (0, 1000) C) and ``p_range`` (default (1e-4, 5000) bar) as
    (low, high). Options the engine refuses raise ValueError with its reason.
    """
    return _core.surfaces(*_surface_options(resolution, samples, t_range, p_range))


def surfaces_file(format="glb", resolution=None, samples=None, t_range=None, p_range=None):
    """The bytes of ``quarvessin surfaces --format glb|json`` for these options (see :func:`surfaces`)."""
    if not isinstance(format, str):
        raise TypeError(f"the format must be a string, not {type(format).__name__}")
    return _core.surfaces_file(format, *_surface_options(resolution, samples, t_range, p_range))
