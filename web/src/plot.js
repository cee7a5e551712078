// The section plot: uPlot in its x-y mode (every boundary a path in point
// order, so curves that double back in wt% are drawn as traced), pieces and
// points that are not finite numbers interrupting the path, with hover, drag
// zoom and the engine's phase-field labels. Styles, axis names and the
// hover text come from the caller (the engine's tables and number texts).
import uPlot from 'uplot';

const DOT_RADIUS = 3.5;  // corner points of the three-phase tie lines [CSS px]

const linearTicks = (u, vals) => vals.map((v) => (v == null ? '' : String(Number(v.toPrecision(10)))));

// Decades between min and max, every n-th so that at most about `most` remain
// (uPlot's own log ticks cover only 1e-16 to 1e16; sections reach further).
function decadeSplits(min, max, most) {
  const a = Math.ceil(Math.log10(min) - 1e-9), b = Math.floor(Math.log10(max) + 1e-9);
  const step = Math.max(1, Math.ceil((b - a + 1) / most));
  const out = [];
  for (let e = a; e <= b; e += step) out.push(Number(`1e${e}`));
  if (out.length < 2 && max / min < 100) {
    // A narrow view: three evenly spaced values.
    for (let i = 0; i <= 2; i++) out.push(min + (i * (max - min)) / 2);
    out.sort((x, y) => x - y);
  }
  return out;
}

// Every decade the page chose keeps its label (uPlot's own filter labels
// only 1e-16 to 1e16).
const keepSplits = (u, splits) => splits;

function logTickValue(v) {
  if (v >= 1e-3 && v < 1e5) return String(Number(v.toPrecision(6)));
  return v.toExponential(0).replace('e+', 'e');
}

// A power of ten at or below (`down`) or above a positive value, the value
// itself where that power is not a positive finite number (below 1e-323 or
// above 1e308): a logarithmic axis needs positive finite ends.
function decadeOf(v, down) {
  const d = Math.pow(10, down ? Math.floor(Math.log10(v)) : Math.ceil(Math.log10(v)));
  return d > 0 && Number.isFinite(d) ? d : v;
}

// Concatenates the pieces of one style into two arrays, NaN between pieces.
function flatten(pieces) {
  let n = 0;
  for (const p of pieces) n += p.x.length + 1;
  const xs = new Float64Array(n), ys = new Float64Array(n);
  let k = 0;
  for (const p of pieces) {
    xs.set(p.x, k); ys.set(p.y, k);
    k += p.x.length;
    xs[k] = NaN; ys[k] = NaN;
    k++;
  }
  return [xs, ys];
}

export class SectionPlot {
  // styles: { order, byId } (styles.js); describe(hit) -> the hover text of
  // { id, x, y }; onDraw() after every draw; onPick({ x, y }) when the plot
  // is clicked (not dragged) at the point (x, y) of its axes.
  constructor(element, { styles, describe, onDraw, onPick }) {
    this.element = element;
    this.onPick = onPick;
    this.overlays = [];
    this.styles = styles;
    this.describe = describe;
    this.onDraw = onDraw;
    this.u = null;
    this.layout = null;   // { logY, xLabel, yLabel, logx } the instance was made for
    this.data = null;
    this.labels = [];
    this.home = null;     // full extent { x: [min, max], y: [min, max] }
    this.zoomed = false;
    this.hidden = new Set();
    this.tooltip = null;
    this.hover = null;
  }

  // Shows a section: its axes { logY, xLabel, yLabel, emptyY (the vertical
  // range of an empty plot) }, groups of pieces by
  // style id, the field labels [{ name, x, y }] and the axis choice.
  show(axes, groups, labels, logx) {
    const logy = axes.logY;
    const l = this.layout;
    if (!this.u || l.logY !== logy || l.xLabel !== axes.xLabel || l.yLabel !== axes.yLabel || l.logx !== logx) {
      this.create({ ...axes, logx });
      this.zoomed = false;
    }
    this.labels = labels;
    this.groups = groups;
    const data = [null];
    for (const id of this.styles.order) data.push(flatten(groups[id] || []));
    this.data = data;
    this.home = this.extent(data, logx, logy);
    this.u.batch(() => {
      this.u.setData(data, false);
      if (!this.zoomed) this.setRanges(this.home);
      else this.u.redraw(true, false);
    });
  }

  // The phase-field labels of the section on display, drawn over it.
  setLabels(labels) {
    this.labels = labels;
    if (this.u) this.u.redraw(false, false);
  }

  // The data range of the finite (and, on log axes, positive) points, padded.
  extent(data, logx, logy) {
    let x0 = Infinity, x1 = -Infinity, y0 = Infinity, y1 = -Infinity;
    for (let s = 1; s < data.length; s++) {
      if (this.hidden.has(this.styles.order[s - 1])) continue;
      const [xs, ys] = data[s];
      for (let i = 0; i < xs.length; i++) {
        const x = xs[i], y = ys[i];
        if (!Number.isFinite(x) || !Number.isFinite(y) || (logx && x <= 0) || (logy && y <= 0)) continue;
        if (x < x0) x0 = x;
        if (x > x1) x1 = x;
        if (y < y0) y0 = y;
        if (y > y1) y1 = y;
      }
    }
    const across = this.layout.xRange || [0, 100];
    if (!(x0 <= x1)) return { x: logx ? [1e-6, across[1]] : across, y: this.layout.emptyY || (logy ? [1, 10] : [0, 1]) };
    const x = logx ? [decadeOf(x0, true), across[1]] : across;
    let y;
    if (logy) {
      y = [decadeOf(Math.max(y0, this.layout.yFloor || 0), true), decadeOf(y1, false)];
      if (y[0] === y[1]) y = [y[0] / 10, y[1] * 10];
    } else {
      const pad = Math.max(0.03 * (y1 - y0), 1);
      y = [y0 - pad, y1 + pad];
    }
    return { x, y };
  }

  setRanges(r) {
    this.u.batch(() => {
      this.u.setScale('x', { min: r.x[0], max: r.x[1] });
      this.u.setScale('y', { min: r.y[0], max: r.y[1] });
    });
  }

  resetZoom() {
    this.zoomed = false;
    if (this.u) this.setRanges(this.home);
  }

  // Zooms by `factor` (<1 in, >1 out) about the centre of the current view.
  zoom(factor) {
    if (!this.u) return;
    const scaled = (key, log) => {
      const { min, max } = this.u.scales[key];
      if (log) {
        const a = Math.log10(min), b = Math.log10(max), c = 0.5 * (a + b), h = 0.5 * (b - a) * factor;
        return [Math.pow(10, c - h), Math.pow(10, c + h)];
      }
      const c = 0.5 * (min + max), h = 0.5 * (max - min) * factor;
      return [c - h, c + h];
    };
    this.zoomed = true;
    this.setRanges({ x: scaled('x', this.layout.logx), y: scaled('y', this.layout.logY) });
  }

  // Marks drawn over the section: { type: 'hline', y } and { type: 'vline',
  // x } across the plot, { type: 'path', x: [], y: [] } (NaN breaks it) and
  // { type: 'point', x, y }, each with colour, dashed and label.
  setOverlays(overlays) {
    this.overlays = overlays;
    if (this.u) this.u.redraw(false, false);
  }

  drawOverlays(u) {
    const ctx = u.ctx;
    const ratio = uPlot.pxRatio;
    const { left, top, width, height } = u.bbox;
    const { logx, logY: logy } = this.layout;
    const drawable = (x, y) => Number.isFinite(x) && Number.isFinite(y) && !(logx && x <= 0) && !(logy && y <= 0);
    ctx.save();
    ctx.beginPath();
    ctx.rect(left, top, width, height);
    ctx.clip();
    ctx.font = `${12 * ratio}px system-ui, sans-serif`;
    for (const o of this.overlays) {
      ctx.strokeStyle = o.colour || '#555';
      ctx.fillStyle = o.colour || '#555';
      ctx.lineWidth = (o.width || 1.5) * ratio;
      ctx.setLineDash(o.dashed ? [6 * ratio, 4 * ratio] : []);
      let at = null;  // where the label goes
      ctx.beginPath();
      if (o.type === 'hline' && drawable(logx ? 1 : 0, o.y)) {
        const py = u.valToPos(o.y, 'y', true);
        ctx.moveTo(left, py); ctx.lineTo(left + width, py);
        at = [left + 6 * ratio, py - 5 * ratio];
      } else if (o.type === 'vline' && drawable(o.x, 1)) {
        const px = u.valToPos(o.x, 'x', true);
        ctx.moveTo(px, top); ctx.lineTo(px, top + height);
        at = [px + 5 * ratio, top + 14 * ratio];
      } else if (o.type === 'path') {
        let pen = false;
        for (let i = 0; i < o.x.length; i++) {
          if (!drawable(o.x[i], o.y[i])) { pen = false; continue; }
          const px = u.valToPos(o.x[i], 'x', true), py = u.valToPos(o.y[i], 'y', true);
          if (pen) ctx.lineTo(px, py); else ctx.moveTo(px, py);
          if (!at) at = [px + 5 * ratio, py - 5 * ratio];
          pen = true;
        }
      } else if (o.type === 'point' && drawable(o.x, o.y)) {
        const px = u.valToPos(o.x, 'x', true), py = u.valToPos(o.y, 'y', true), r = 5 * ratio;
        ctx.moveTo(px - r, py); ctx.lineTo(px + r, py);
        ctx.moveTo(px, py - r); ctx.lineTo(px, py + r);
        ctx.moveTo(px + r, py); ctx.arc(px, py, r, 0, 2 * Math.PI);
        at = [px + 8 * ratio, py - 8 * ratio];
      }
      ctx.stroke();
      if (o.label && at) ctx.fillText(o.label, at[0], at[1]);
    }
    ctx.restore();
  }

  setHidden(id, hidden) {
    hidden ? this.hidden.add(id) : this.hidden.delete(id);
    if (!this.u) return;
    const i = this.styles.order.indexOf(id) + 1;
    this.u.setSeries(i, { show: !hidden });
  }

  // An x-y path in point order: moveTo after every point that is not drawable.
  pathBuilder(logx, logy, dots) {
    return (u, sidx) => {
      const [xs, ys] = u.data[sidx];
      const stroke = new Path2D();
      const fill = dots ? new Path2D() : null;
      const r = DOT_RADIUS * uPlot.pxRatio;
      let pen = false;
      for (let i = 0; i < xs.length; i++) {
        const x = xs[i], y = ys[i];
        if (!(Number.isFinite(x) && Number.isFinite(y)) || (logx && x <= 0) || (logy && y <= 0)) {
          pen = false;
          continue;
        }
        const px = u.valToPos(x, 'x', true), py = u.valToPos(y, 'y', true);
        if (pen) stroke.lineTo(px, py);
        else stroke.moveTo(px, py);
        pen = true;
        if (fill) {
          fill.moveTo(px + r, py);
          fill.arc(px, py, r, 0, 2 * Math.PI);
        }
      }
      const clip = new Path2D();
      clip.rect(u.bbox.left, u.bbox.top, u.bbox.width, u.bbox.height);
      return { stroke, fill, clip, band: null, gaps: null, flags: 0 };
    };
  }

  create(layout) {
    if (this.u) this.u.destroy();
    const { logx, logY: logy } = layout;
    this.layout = layout;
    const series = [{}];
    for (const id of this.styles.order) {
      const st = this.styles.byId[id];
      series.push({
        label: st.legend,
        stroke: st.colour,
        fill: st.dots ? st.colour : undefined,
        width: 2,
        show: !this.hidden.has(id),
        facets: [{ scale: 'x', auto: false }, { scale: 'y', auto: false }],
        paths: this.pathBuilder(logx, logy, st.dots),
        points: { show: false },
      });
    }
    const axisFont = '13px system-ui, sans-serif';
    const plot = this;
    const opts = {
      mode: 2,
      width: Math.max(200, this.element.clientWidth),
      height: Math.max(200, this.element.clientHeight),
      legend: { show: false },
      padding: [12, 16, 0, 0],
      scales: {
        x: { time: false, auto: false, distr: logx ? 3 : 1, log: 10, range: (u, a, b) => [a, b] },
        y: { auto: false, distr: logy ? 3 : 1, log: 10, range: (u, a, b) => [a, b] },
      },
      axes: [
        { scale: 'x', label: layout.xLabel, splits: logx ? (u, i, min, max) => decadeSplits(min, max, 10) : undefined, filter: logx ? keepSplits : undefined, font: axisFont, labelFont: axisFont, grid: { stroke: '#e6e8eb' },
          values: logx ? (u, vals) => vals.map((v) => (v == null ? '' : logTickValue(v))) : linearTicks },
        { scale: 'y', label: layout.yLabel, splits: logy ? (u, i, min, max) => decadeSplits(min, max, 12) : undefined, filter: logy ? keepSplits : undefined, font: axisFont, labelFont: axisFont,
          size: 62, grid: { stroke: '#e6e8eb' },
          values: logy ? (u, vals) => vals.map((v) => (v == null ? '' : logTickValue(v))) : linearTicks },
      ],
      cursor: {
        drag: { x: true, y: true, uni: 20, setScale: true },
        points: { show: false },
        bind: {
          dblclick: () => () => { plot.resetZoom(); return null; },
        },
      },
      series,
      hooks: {
        setSelect: [(u) => { if (u.select.width > 0 || u.select.height > 0) plot.zoomed = true; }],
        setCursor: [(u) => plot.hoverAt(u.cursor.left, u.cursor.top)],
        draw: [(u) => { plot.drawOverlays(u); plot.drawLabels(u); if (plot.onDraw) plot.onDraw(); }],
      },
    };
    this.u = new uPlot(opts, this.emptyData(), this.element);
    // A click that did not drag picks the point under the pointer.
    let down = null;
    this.u.over.addEventListener('mousedown', (e) => { down = [e.clientX, e.clientY]; });
    this.u.over.addEventListener('click', (e) => {
      if (!this.onPick || !down || Math.hypot(e.clientX - down[0], e.clientY - down[1]) > 3) return;
      const rect = this.u.over.getBoundingClientRect();
      this.pickAt(e.clientX - rect.left, e.clientY - rect.top);
    });
    if (!this.resizer) {
      this.resizer = new ResizeObserver(() => {
        if (this.u) this.u.setSize({ width: Math.max(200, this.element.clientWidth), height: Math.max(200, this.element.clientHeight) });
      });
      this.resizer.observe(this.element);
    }
  }

  emptyData() {
    return [null, ...this.styles.order.map(() => [new Float64Array(0), new Float64Array(0)])];
  }

  drawLabels(u) {
    const ctx = u.ctx;
    const ratio = uPlot.pxRatio;
    ctx.save();
    ctx.beginPath();
    ctx.rect(u.bbox.left, u.bbox.top, u.bbox.width, u.bbox.height);
    ctx.clip();
    ctx.font = `600 ${14 * ratio}px system-ui, sans-serif`;
    ctx.textAlign = 'center';
    ctx.textBaseline = 'middle';
    ctx.fillStyle = '#444a52';
    for (const l of this.labels) {
      const x = u.valToPos(l.x, 'x', true), y = u.valToPos(l.y, 'y', true);
      if (Number.isFinite(x) && Number.isFinite(y)) ctx.fillText(l.name, x, y);
    }
    ctx.restore();
  }

  // The drawn point nearest to the cursor (CSS px of the plotting area), within 14 px.
  nearest(left, top) {
    if (!this.u || !this.data || left < 0) return null;
    const { logx, logY: logy } = this.layout;
    let best = null, bestD = 14 * 14;
    for (let s = 1; s < this.data.length; s++) {
      const id = this.styles.order[s - 1];
      if (this.hidden.has(id)) continue;
      const [xs, ys] = this.data[s];
      for (let i = 0; i < xs.length; i++) {
        const x = xs[i], y = ys[i];
        if (!(Number.isFinite(x) && Number.isFinite(y)) || (logx && x <= 0) || (logy && y <= 0)) continue;
        const dx = this.u.valToPos(x, 'x') - left, dy = this.u.valToPos(y, 'y') - top;
        const d = dx * dx + dy * dy;
        if (d < bestD) { bestD = d; best = { id, x, y }; }
      }
    }
    return best;
  }

  // Picks the point (x, y) of the axes at CSS px (left, top) of the plotting area.
  pickAt(left, top) {
    if (!this.u || !this.onPick) return;
    const x = this.u.posToVal(left, 'x'), y = this.u.posToVal(top, 'y');
    if (Number.isFinite(x) && Number.isFinite(y)) this.onPick({ x, y });
  }

  hoverAt(left, top) {
    const tip = this.tooltip;
    if (!tip) return;
    const hit = this.nearest(left, top);
    this.hover = hit;
    if (!hit) { tip.hidden = true; return; }
    const st = this.styles.byId[hit.id];
    tip.textContent = this.describe(hit);
    tip.style.setProperty('--c', st.colour);
    tip.hidden = false;
    const over = this.u.over.getBoundingClientRect();
    const host = tip.offsetParent ? tip.offsetParent.getBoundingClientRect() : { left: 0, top: 0 };
    const px = over.left - host.left + this.u.valToPos(hit.x, 'x');
    const py = over.top - host.top + this.u.valToPos(hit.y, 'y');
    const w = tip.offsetWidth;
    const flip = px + 14 + w > (tip.offsetParent ? tip.offsetParent.clientWidth : Infinity);
    tip.style.left = `${flip ? px - 14 - w : px + 14}px`;
    tip.style.top = `${py - 34}px`;
  }
}
