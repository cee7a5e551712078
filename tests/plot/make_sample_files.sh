#!/usr/bin/env bash
# Writes hand-made boundary files for one section of every kind into DIR, in
# the format quarvessin_plotdata writes: NaCl wt%, a tab, temperature [C] or
# pressure [bar]; general number format (%g), the isothermal vapour + halite
# file in scientific notation (%e); pieces of one boundary separated by one
# empty line; no empty line at the end.
#
# The curves are smooth made-up shapes with the topology of each case (which
# files exist, how many pieces each has, where they meet), not phase
# relations: they exercise the plotting, nothing else. A few points are
# "nan", "-nan" and "inf", as the program writes a value it could not compute.
#
# Sections: isobars 1 bar (vapour-liquid loop closing at pure water), 300 bar
# (loop closing at a critical point), 2000 bar (liquidus plus a vapour-liquid
# surface through the critical point, file prefix vapor+liquid_), 3000 bar
# (liquidus only); isotherms 25 C (loop closing at the vapour pressure of
# water) and 600 C (loop closing at a critical point).
set -euo pipefail
export LC_ALL=C
[ $# -eq 1 ] || { echo "usage: ${0##*/} DIR" >&2; exit 2; }
mkdir -p "$1"
cd "$1"

awk '
function out(f, w, y) { printf "%g\t%g\n", w, y > f }
function sci(f, w, y) { printf "%e\t%e\n", w, y > f }
function sep(f) { printf "\n" > f }
function raw(f, line) { print line > f }
function lerp(a, b, s) { return a + (b - a) * s }

# Isobaric section with four boundaries. tl, th: the two three-phase
# temperatures; wvl, wll, wvh, wlh: vapour and liquid corners of the two tie
# lines [wt%]; tend: where the loop closes (boiling point of water or critical
# temperature); wend: composition there.
function isobar4(v, tl, th, wvl, wll, wvh, wlh, tend, wend, pure,   sfx, vl, lh, vlh, vh, t) {
    sfx = sprintf("%f", v) "bar.dat"
    vl = "liquid+vapor_" sfx; lh = "liquid+halite_" sfx
    vlh = "vapor+liquid+halite_" sfx; vh = "vapor+halite_" sfx

    out(vlh, wvl, tl); out(vlh, wll, tl); out(vlh, 100, tl); sep(vlh)
    out(vlh, wvh, th); out(vlh, wlh, th); out(vlh, 100, th); close(vlh)

    for (t = 1; t < tl; t += 1) out(lh, lerp(26.3, wll, (t / tl) ^ 2), t)
    out(lh, wll, tl); sep(lh)
    out(lh, wlh, th)
    for (t = int(th + 1); t < 1000.1; t += 1) {
        if (t == 850) raw(lh, "nan\t850")
        else out(lh, lerp(wlh, 100, (t - th) / (1000 - th)), t)
    }
    close(lh)

    for (t = 1000; t > th; t -= 1) out(vl, lerp(0.3 * wvh, wvh, (1000 - t) / (1000 - th)), t)
    out(vl, wvh, th); sep(vl)
    out(vl, wvl, tl)
    for (t = int(tl); t > tend + 1; t -= 1) out(vl, lerp(wend, wvl, (t - tend) / (tl - tend)) * (pure ? 0.001 : 1), t)
    if (pure) {
        out(vl, 3.244129891028844e-08, tend); out(vl, 3.244129891028844e-08, tend)
    } else {
        out(vl, wend, tend)
    }
    for (t = int(tend + 1); t < tl; t += 1) {
        if (t == int(tend + 3)) raw(vl, "-nan\t" t)
        else out(vl, lerp(wend, wll, ((t - tend) / (tl - tend)) ^ 0.7), t)
    }
    out(vl, wll, tl); sep(vl)
    out(vl, wlh, th)
    for (t = int(th + 1); t < 1000.1; t += 1) out(vl, lerp(wlh, 0.6 * wlh, (t - th) / (1000 - th)), t)
    close(vl)

    out(vh, wvl, tl)
    for (t = int(tl + 1); t < th; t += 1) out(vh, wvl * exp(log(wvh / wvl) * (t - tl) / (th - tl)), t)
    out(vh, wvh, th); close(vh)
}

# Liquidus from 1 C to the melting temperature tm, ending with pure halite.
function liquidus(v, tm,   lh, t) {
    lh = "liquid+halite_" sprintf("%f", v) "bar.dat"
    for (t = 1; t <= tm; t += 1) out(lh, lerp(26.3, 99.5, (t / tm) ^ 3), t)
    out(lh, 100, tm); close(lh)
}

# Isothermal section. p3: three-phase pressure; psub: sublimation pressure;
# ptop: vapour pressure of water or critical pressure; wv, wl: corners of the
# tie line; wc: critical composition (ignored at the pure-water end).
function isotherm(v, p3, psub, ptop, wv, wl, wc, pure,   sfx, vl, lh, vlh, vh, p, d) {
    sfx = sprintf("%f", v) "c.dat"
    vl = "liquid+vapor_" sfx; lh = "liquid+halite_" sfx
    vlh = "vapor+liquid+halite_" sfx; vh = "vapor+halite_" sfx

    d = (p3 - psub) * 0.01
    sci(vh, 100, psub)
    for (p = psub + d; p < p3; p += d) {
        if (p > psub + 49.5 * d && p < psub + 50.5 * d) raw(vh, "inf\t" sprintf("%e", p))
        else sci(vh, wv * (0.2 + 0.8 * (p - psub) / (p3 - psub)), p)
    }
    sci(vh, wv, p3); close(vh)

    out(vlh, wv, p3); out(vlh, wl, p3); out(vlh, 100, p3); close(vlh)

    out(lh, wl, p3)
    for (p = int(p3 + 1); p < 5000.1; p += 1) out(lh, lerp(wl, wl + 4, p / 5000), p)
    close(lh)

    d = (ptop - p3) * 0.01
    out(vl, wv, p3)
    for (p = p3 + d; p < ptop; p += d) out(vl, pure ? wv * (ptop - p) / (ptop - p3) : lerp(wv, wc, ((p - p3) / (ptop - p3)) ^ 2), p)
    if (pure) {
        out(vl, 3.244129891028844e-08, ptop * 0.99999999); out(vl, 0, ptop)
        out(vl, 3.244129891028844e-08, ptop * 0.99999999)
    } else {
        out(vl, wc, ptop)
    }
    for (p = ptop - d; p > p3; p -= d) out(vl, lerp(pure ? 0 : wc, wl, ((ptop - p) / (ptop - p3)) ^ 0.8), p)
    out(vl, wl, p3); close(vl)
}

BEGIN {
    isobar4(1, 108.7, 799.0, 1.5e-07, 28.6, 0.8, 96.0, 99.6, 3.244129891028844e-08, 1)
    isobar4(300, 447.0, 772.0, 0.03, 44.0, 2.5, 92.0, 405.0, 3.0, 0)
    liquidus(3000, 872.0)

    liquidus(2000, 849.0)
    vl = "vapor+liquid_" sprintf("%f", 2000) "bar.dat"
    for (t = 1000; t > 610.3; t -= 1) out(vl, lerp(9.0, 22.0, (1000 - t) / (1000 - 610.3)), t)
    out(vl, 22.0, 610.3)
    for (t = 611; t < 1000.1; t += 1) out(vl, lerp(22.0, 45.0, ((t - 610.3) / (1000 - 610.3)) ^ 0.5), t)
    close(vl)

    isotherm(25, 0.02363, 1.2e-21, 0.031698, 2.0e-12, 26.44, 0, 1)
    isotherm(600, 379.6, 2.1e-06, 870.0, 0.35, 72.0, 12.5, 0)
}'
