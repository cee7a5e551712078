"""Drawing a section with matplotlib, in the colours of scripts/plot_section."""

import numpy as np

# phases -> (legend, colour, drawn with markers), in the script's drawing order
_STYLE = {
    "liquid+vapor": ("vapour + liquid", "#1f5fbf", False),
    "vapor+liquid": ("vapour + liquid", "#1f5fbf", False),
    "liquid+halite": ("halite liquidus", "#c0392b", False),
    "vapor+liquid+halite": ("vapour + liquid + halite", "#1e8f3a", True),
    "vapor+halite": ("vapour + halite", "#8e44ad", False),
}


def plot(section, ax=None, logx=False):
    """Draws the boundaries of ``section`` into ``ax`` (a new figure when None); returns ``ax``.

    x axis: NaCl [wt%] from 0 to 100 (logarithmic with ``logx``, useful for
    the NaCl-poor vapour); y axis: temperature [C] for an isobaric section,
    pressure [bar] on a logarithmic axis for an isothermal one. Each boundary
    has one colour and one legend entry, its pieces are separate curves, the
    three-phase tie lines are drawn with their corner points. Points that are
    not finite (and, on a logarithmic axis, not positive) are left out; the
    curve is interrupted there. A refused section gives an empty diagram with
    the refusal as its title.
    """
    import matplotlib.pyplot as plt  # only when drawing

    if ax is None:
        _, ax = plt.subplots(figsize=(10, 7.5))
    isobar = section.kind == "isobar"
    if not section.accepted:
        ax.set_title(section.console.strip())
        return ax
    titled = set()
    order = list(_STYLE)
    boundaries = sorted(section.boundaries,
                        key=lambda b: order.index(b.phases) if b.phases in order else len(order))
    for boundary in boundaries:
        legend, colour, markers = _STYLE.get(boundary.phases, (boundary.phases, None, False))
        for piece in boundary.pieces:
            x = piece[:, 0].copy()
            y = piece[:, 1].copy()
            bad = ~(np.isfinite(x) & np.isfinite(y))
            if logx:
                bad |= ~(x > 0)
            if not isobar:
                bad |= ~(y > 0)
            if bad.all():
                continue
            x[bad] = np.nan
            y[bad] = np.nan
            label = legend if legend not in titled else None
            titled.add(legend)
            ax.plot(x, y, color=colour, linewidth=2, label=label,
                    marker="o" if markers else None, markersize=6 if markers else None)
    what = "isobaric" if isobar else "isothermal"
    unit = "bar" if isobar else "C"
    ax.set_title(f"H2O–NaCl, {what} section at {section.value:g} {unit}")
    ax.set_xlabel("NaCl [wt%]")
    ax.set_ylabel("temperature [C]" if isobar else "pressure [bar]")
    if logx:
        ax.set_xscale("log")
        ax.set_xlim(right=100)
    else:
        ax.set_xlim(0, 100)
    if not isobar:
        ax.set_yscale("log")
    ax.grid(True, color="#dddddd")
    if titled:
        ax.legend(loc="best")
    return ax
