"""Drawing a section with matplotlib: colours, legends, axes and phase-field
labels as the engine gives them."""

import numpy as np

from . import _core


def _unit(unit):
    """A unit for display: degrees Celsius with their sign."""
    return "°C" if unit == "C" else unit


def _axis(quantity):
    return f"{quantity['name']} [{_unit(quantity['unit'])}]"


def _mark(ax, kind, mark):
    """Marks the section ``mark`` on the pressure-temperature axes ``ax``."""
    if not mark.accepted:
        raise ValueError(f"cannot mark a refused section: {mark.refusal}")
    mkind = _core.find_kind(mark.kind)
    value = _core.shortest_number(mark.value) if mark.value is not None else ""
    label = f"{mkind['word']} {value} {_unit(mark.unit)}".strip()
    fixed = mkind["fixed"]["column"]
    if fixed == kind["y"]["column"]:  # an isobar: a horizontal line at its pressure
        ax.axhline(mark.value, color="#555555", linestyle="--", linewidth=1.2, label=label)
    elif fixed == kind["x"]["column"]:  # an isotherm: a vertical line at its temperature
        ax.axvline(mark.value, color="#555555", linestyle="-.", linewidth=1.2, label=label)
    elif tuple(mark.columns) == (kind["x"]["column"], kind["y"]["column"]):
        # A section in the same plane (an isopleth): its curves, dashed.
        first = True
        for boundary in mark.boundaries:
            for piece in boundary.pieces:
                x, y = _drawable(piece, False, kind["log_y"])
                if x is None:
                    continue
                ax.plot(x, y, color="#555555", linestyle=":", linewidth=1.5,
                        label=label if first else None)
                first = False
    else:
        raise ValueError(f"a {mkind['word']} cannot be marked on a {kind['word']}")


def _drawable(piece, logx, logy):
    """(x, y) of a piece with NaN where a point cannot be drawn; (None, None) when none can."""
    x = piece[:, 0].copy()
    y = piece[:, 1].copy()
    bad = ~(np.isfinite(x) & np.isfinite(y))
    if logx:
        bad |= ~(x > 0)
    if logy:
        bad |= ~(y > 0)
    if bad.all():
        return None, None
    x[bad] = np.nan
    y[bad] = np.nan
    return x, y


def plot(section, ax=None, logx=False, mark=None):
    """Draws the boundaries and phase fields of ``section`` into ``ax`` (a new figure when None); returns ``ax``.

    Axes as the kind table says: for an isobaric section NaCl [wt%] from 0 to
    100 across (logarithmic with ``logx``, useful for the NaCl-poor vapour)
    and temperature [°C] up; for an isothermal one pressure [bar] up, on a
    logarithmic axis; for an isopleth and the projection temperature [°C]
    across over the correlations' range (``logx`` does not apply) and
    pressure [bar] up, logarithmic. Each boundary has the colour and legend
    entry of its identity (the engine's boundary styles, in their legend
    order), its pieces are separate curves, the three-phase tie lines (pieces
    of up to three points of a dotted style) are drawn with their corner
    points. Points that are not finite (and, on a logarithmic axis, not
    positive) are left out; the curve is interrupted there. Each phase field
    the engine places (``section.fields``) is labelled with its name at its
    place. ``mark``: a section, or a list of them, marked on a section in the
    pressure-temperature plane (an isobar as a horizontal dashed line, an isotherm
    as a vertical one (dash-dotted), an isopleth by its curves (dotted), each with its own
    legend entry). A refused section gives an empty diagram with the refusal
    as its title.
    """
    import matplotlib.pyplot as plt  # only when drawing

    if ax is None:
        _, ax = plt.subplots(figsize=(10, 7.5))
    if not section.accepted:
        ax.set_title(section.refusal)
        return ax
    kind = _core.find_kind(section.kind)
    composition = kind["x"]["column"] == "wt_percent"
    logx = bool(logx) and composition
    marks = [] if mark is None else list(mark) if isinstance(mark, (list, tuple)) else [mark]
    if marks and composition:
        raise ValueError("sections are marked on the projection or an isopleth, "
                         f"not on an {kind['word']}")
    styles = _core.boundary_styles()
    order = [s["id"] for s in styles]
    style_of = {s["id"]: s for s in styles}
    boundaries = sorted(section.boundaries,
                        key=lambda b: order.index(b.id) if b.id in order else len(order))
    titled = set()
    for boundary in boundaries:
        style = style_of.get(boundary.id, {"legend": boundary.id, "colour": None, "dots": False})
        for piece in boundary.pieces:
            x, y = _drawable(piece, logx, kind["log_y"])
            if x is None:
                continue
            legend = style["legend"]
            label = legend if legend not in titled else None
            titled.add(legend)
            dots = style["dots"] and len(piece) <= 3
            ax.plot(x, y, color=style["colour"], linewidth=2, label=label,
                    marker="o" if dots else None, markersize=6 if dots else None)
    for m in marks:
        _mark(ax, kind, m)
        titled.add(m)
    xcol, ycol = kind["x"]["column"], kind["y"]["column"]
    for field in section.fields:
        ax.text(field[xcol], field[ycol], field["name"], ha="center", va="center",
                fontsize=13, color="#333333")
    if kind["takes_value"]:
        value = _core.shortest_number(section.value)
        ax.set_title(f"H2O–NaCl, {kind['adjective']} section at {value} {_unit(section.unit)}")
    else:
        ax.set_title("H2O–NaCl, pressure–temperature projection")
    ax.set_xlabel(_axis(kind["x"]))
    ax.set_ylabel(_axis(kind["y"]))
    if logx:
        ax.set_xscale("log")
        ax.set_xlim(right=kind["x_max"])
    else:
        ax.set_xlim(kind["x_min"], kind["x_max"])
    if kind["log_y"]:
        ax.set_yscale("log")
    ax.grid(True, color="#dddddd")
    if titled:
        ax.legend(loc="best")
    return ax
