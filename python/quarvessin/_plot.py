"""Drawing a section with matplotlib: colours, legends, axes and phase-field
labels as the engine gives them."""

import numpy as np

from . import _core


def _unit(unit):
    """A unit for display: degrees Celsius with their sign."""
    return "°C" if unit == "C" else unit


def _axis(quantity):
    return f"{quantity['name']} [{_unit(quantity['unit'])}]"


def plot(section, ax=None, logx=False):
    """Draws the boundaries and phase fields of ``section`` into ``ax`` (a new figure when None); returns ``ax``.

    x axis: NaCl [wt%] from 0 to 100 (logarithmic with ``logx``, useful for
    the NaCl-poor vapour); y axis as the kind table says: temperature [°C]
    for an isobaric section, pressure [bar] on a logarithmic axis for an
    isothermal one. Each boundary has the colour and legend entry of its
    identity (the engine's boundary styles, in their legend order), its pieces
    are separate curves, the three-phase tie lines are drawn with their corner
    points. Points that are not finite (and, on a logarithmic axis, not
    positive) are left out; the curve is interrupted there. Each phase field
    the engine places (``section.fields``) is labelled with its name at its
    place. A refused section gives an empty diagram with the refusal as its
    title.
    """
    import matplotlib.pyplot as plt  # only when drawing

    if ax is None:
        _, ax = plt.subplots(figsize=(10, 7.5))
    if not section.accepted:
        ax.set_title(section.refusal)
        return ax
    kind = _core.find_kind(section.kind)
    styles = _core.boundary_styles()
    order = [s["id"] for s in styles]
    style_of = {s["id"]: s for s in styles}
    boundaries = sorted(section.boundaries,
                        key=lambda b: order.index(b.id) if b.id in order else len(order))
    titled = set()
    for boundary in boundaries:
        style = style_of.get(boundary.id, {"legend": boundary.id, "colour": None, "dots": False})
        for piece in boundary.pieces:
            x = piece[:, 0].copy()
            y = piece[:, 1].copy()
            bad = ~(np.isfinite(x) & np.isfinite(y))
            if logx:
                bad |= ~(x > 0)
            if kind["log_y"]:
                bad |= ~(y > 0)
            if bad.all():
                continue
            x[bad] = np.nan
            y[bad] = np.nan
            legend = style["legend"]
            label = legend if legend not in titled else None
            titled.add(legend)
            dots = style["dots"]
            ax.plot(x, y, color=style["colour"], linewidth=2, label=label,
                    marker="o" if dots else None, markersize=6 if dots else None)
    xcol, ycol = kind["x"]["column"], kind["y"]["column"]
    for field in section.fields:
        ax.text(field[xcol], field[ycol], field["name"], ha="center", va="center",
                fontsize=13, color="#333333")
    value = _core.shortest_number(section.value)
    ax.set_title(f"H2O–NaCl, {kind['adjective']} section at {value} {_unit(section.unit)}")
    ax.set_xlabel(_axis(kind["x"]))
    ax.set_ylabel(_axis(kind["y"]))
    if logx:
        ax.set_xscale("log")
        ax.set_xlim(right=100)
    else:
        ax.set_xlim(0, 100)
    if kind["log_y"]:
        ax.set_yscale("log")
    ax.grid(True, color="#dddddd")
    if titled:
        ax.legend(loc="best")
    return ax
