// How the page draws each kind of boundary: legend text and colour (the same
// as scripts/plot_section), and the phase-field labels of a section.

export const STYLES = {
  VL: { legend: 'vapour + liquid', colour: '#1f5fbf' },
  LH: { legend: 'halite liquidus', colour: '#c0392b' },
  VLH: { legend: 'vapour + liquid + halite', colour: '#1e8f3a', dots: true },
  VH: { legend: 'vapour + halite', colour: '#8e44ad' },
};
export const ORDER = ['VL', 'LH', 'VLH', 'VH'];

// The style key of a boundary from its phases (the file prefix).
export function styleKey(phases) {
  switch (phases) {
    case 'liquid+vapor':
    case 'vapor+liquid': return 'VL';
    case 'liquid+halite': return 'LH';
    case 'vapor+liquid+halite': return 'VLH';
    case 'vapor+halite': return 'VH';
    default: return null;
  }
}

// %g with six significant digits, as the console program's files write numbers.
export function fmtG(v) {
  if (!Number.isFinite(v)) return Number.isNaN(v) ? 'nan' : (v > 0 ? 'inf' : '-inf');
  if (v === 0) return '0';
  const e = Math.floor(Math.log10(Math.abs(v)));
  if (e < -4 || e >= 6) {
    let [m, x] = v.toExponential(5).split('e');
    m = m.replace(/\.?0+$/, '');
    const n = Number(x);
    return `${m}e${n < 0 ? '-' : '+'}${String(Math.abs(n)).padStart(2, '0')}`;
  }
  return String(Number(v.toPrecision(6)));
}

// The boundaries of a section grouped by style key, each as the list of its
// pieces [{x, y}] (several boundaries of one key are merged).
export function groupBoundaries(section) {
  const groups = {};
  for (const b of section.boundaries) {
    const key = styleKey(b.phases);
    if (!key) continue;
    (groups[key] ||= []).push(...b.pieces);
  }
  return groups;
}

// Values of y where the pieces cross x (linear interpolation between points).
function crossingsAtX(pieces, x) {
  const out = [];
  for (const { x: xs, y: ys } of pieces || []) {
    for (let i = 1; i < xs.length; i++) {
      const a = xs[i - 1], b = xs[i];
      if ([a, b, ys[i - 1], ys[i]].every(Number.isFinite) && (a - x) * (b - x) <= 0 && a !== b) {
        out.push(ys[i - 1] + (ys[i] - ys[i - 1]) * (x - a) / (b - a));
      }
    }
  }
  return out;
}

// Values of x where the pieces cross y.
function crossingsAtY(pieces, y) {
  const swapped = (pieces || []).map((p) => ({ x: p.y, y: p.x }));
  return crossingsAtX(swapped, y);
}

const finiteValues = (pieces, axis) =>
  (pieces || []).flatMap((p) => Array.from(p[axis]).filter(Number.isFinite));

// Phase-field labels [{text, x, y}] placed from the geometry of the drawn
// boundaries; a field whose anchor cannot be found is not labelled.
export function fieldLabels(section, groups) {
  const labels = [];
  const add = (text, x, y) => {
    if (Number.isFinite(x) && Number.isFinite(y)) labels.push({ text, x, y });
  };
  const vlh = finiteValues(groups.VLH, 'y');
  const liq = groups.LH;
  if (section.kind === 'isobar') {
    const tLow = vlh.length ? Math.min(...vlh) : NaN;
    const tHigh = vlh.length ? Math.max(...vlh) : NaN;
    const liqT = finiteValues(liq, 'y');
    // The bottom of the vapour + liquid loop (at low wt%) or the lowest point
    // of the surface when there is no three-phase curve.
    const vlT = finiteValues(groups.VL, 'y');
    const vlBottom = vlT.length ? Math.min(...vlT) : NaN;
    const ceiling = Number.isFinite(tLow) ? Math.min(tLow, vlBottom) : (Number.isFinite(vlBottom) ? vlBottom : Math.max(...liqT));
    const tL = 0.5 * ceiling;
    const xLiq = Math.min(...crossingsAtY(liq, tL));
    add('L', 0.5 * xLiq, tL);
    add('L + H', 0.5 * (xLiq + 100), tL);
    if (Number.isFinite(tLow)) {
      add('V + H', 50, 0.5 * (tLow + tHigh));
      // Inside the loop: above the liquid branch, below the three-phase line.
      const xs = crossingsAtY(groups.VL, 0.5 * (vlBottom + tLow));
      if (xs.length) {
        const x = 0.4 * Math.max(...xs);
        const below = crossingsAtX(groups.VL, x).filter((t) => t < tLow);
        if (below.length) add('V + L', x, 0.5 * (Math.max(...below) + tLow));
      }
      const vlTop = vlT.length ? Math.max(...vlT) : NaN;
      if (vlTop > tHigh + 40) add('V + L', 45, 0.5 * (tHigh + vlTop));
    } else if (Number.isFinite(vlBottom)) {
      const vlTop = Math.max(...vlT);
      const t = vlBottom + 0.6 * (vlTop - vlBottom);
      const xs = crossingsAtY(groups.VL, t);
      if (xs.length >= 2) add('V + L', 0.5 * (Math.min(...xs) + Math.max(...xs)), t);
    }
  } else {
    const p3 = vlh.length ? Math.max(...vlh) : NaN;
    const liqP = finiteValues(liq, 'y');
    const pTop = liqP.length ? Math.max(...liqP) : NaN;
    const xLiq = crossingsAtY(liq, Math.sqrt(p3 * pTop));
    const xL = xLiq.length ? Math.min(...xLiq) : NaN;
    add('L', 0.4 * xL, Math.sqrt(Math.sqrt(p3 * pTop) * pTop));
    add('L + H', 0.5 * (xL + 100), Math.sqrt(p3 * pTop));
    const vl = crossingsAtX(groups.VL, 0.5 * xL);
    if (vl.length) add('V + L', 0.5 * xL, Math.sqrt(Math.max(...vl) * p3));
    const vh = crossingsAtX(groups.VH, 50);
    if (vh.length) {
      const pVH = Math.max(...vh);
      add('V + H', 50, Math.sqrt(pVH * p3));
      add('V', 25, Math.min(...crossingsAtX(groups.VH, 25)) / 100);
    }
  }
  return labels;
}
