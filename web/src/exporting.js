// Exports of the section on display: the console program's boundary files
// (one, or all in a zip) and the plot as PNG or SVG. The section's CSV and
// JSON are the engine's (Section.format).
import { zipSync, strToU8 } from 'fflate';
import uPlot from 'uplot';

export function download(name, data, type) {
  const blob = data instanceof Blob ? data : new Blob([data], { type });
  const url = URL.createObjectURL(blob);
  const a = document.createElement('a');
  a.href = url;
  a.download = name;
  document.body.appendChild(a);
  a.click();
  a.remove();
  setTimeout(() => URL.revokeObjectURL(url), 10000);
}

// Every boundary file of a held section (computeSection at the console
// program's points), byte for byte the console program's, in one zip.
export function boundaryZip(section) {
  const files = {};
  section.boundaries.forEach((b, i) => { files[b.fileName] = strToU8(section.formatBoundary(i)); });
  return zipSync(files, { level: 6, mtime: new Date('2000-01-01T00:00:00Z') });
}

const esc = (s) => String(s).replace(/[&<>"]/g, (c) => ({ '&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;' })[c]);

// The plot as it is shown (same ranges, ticks, labels), as an SVG document.
export function plotSvg(plot, title) {
  const u = plot.u;
  const r = uPlot.pxRatio;
  const W = u.width, H = u.height + 60;
  const left = u.bbox.left / r, top = u.bbox.top / r + 30, w = u.bbox.width / r, h = u.bbox.height / r;
  const X = (v) => left + u.valToPos(v, 'x');
  const Y = (v) => top + u.valToPos(v, 'y');
  const { logx, logY: logy, xLabel, yLabel } = plot.layout;
  const { order, byId } = plot.styles;
  const out = [];
  out.push(`<svg xmlns="http://www.w3.org/2000/svg" width="${W}" height="${H}" viewBox="0 0 ${W} ${H}" font-family="DejaVu Sans, Arial, sans-serif" font-size="12">`);
  out.push(`<rect width="100%" height="100%" fill="#fff"/>`);
  out.push(`<text x="${W / 2}" y="20" text-anchor="middle" font-size="15">${esc(title)}</text>`);
  out.push(`<defs><clipPath id="area"><rect x="${left}" y="${top}" width="${w}" height="${h}"/></clipPath></defs>`);
  // Ticks and grid from the axes uPlot drew.
  u.axes.forEach((axis, ai) => {
    const splits = axis._splits || [];
    const values = axis._values || [];
    splits.forEach((v, i) => {
      const text = values[i];
      if (ai === 0) {
        const x = X(v);
        if (!(x >= left - 0.5 && x <= left + w + 0.5)) return;
        out.push(`<line x1="${x}" y1="${top}" x2="${x}" y2="${top + h}" stroke="#e6e8eb"/>`);
        if (text) out.push(`<text x="${x}" y="${top + h + 16}" text-anchor="middle">${esc(text)}</text>`);
      } else {
        const y = Y(v);
        if (!(y >= top - 0.5 && y <= top + h + 0.5)) return;
        out.push(`<line x1="${left}" y1="${y}" x2="${left + w}" y2="${y}" stroke="#e6e8eb"/>`);
        if (text) out.push(`<text x="${left - 6}" y="${y + 4}" text-anchor="end">${esc(text)}</text>`);
      }
    });
  });
  out.push(`<rect x="${left}" y="${top}" width="${w}" height="${h}" fill="none" stroke="#888"/>`);
  out.push(`<text x="${left + w / 2}" y="${top + h + 36}" text-anchor="middle">${esc(xLabel)}</text>`);
  out.push(`<text transform="translate(16 ${top + h / 2}) rotate(-90)" text-anchor="middle">${esc(yLabel)}</text>`);
  out.push('<g clip-path="url(#area)" fill="none" stroke-width="2" stroke-linejoin="round">');
  const legend = [];
  order.forEach((id, s) => {
    if (plot.hidden.has(id)) return;
    const [xs, ys] = plot.data[s + 1];
    const st = byId[id];
    let d = '', pen = false, dots = '';
    for (let i = 0; i < xs.length; i++) {
      const x = xs[i], y = ys[i];
      if (!(Number.isFinite(x) && Number.isFinite(y)) || (logx && x <= 0) || (logy && y <= 0)) { pen = false; continue; }
      const px = X(x).toFixed(2), py = Y(y).toFixed(2);
      d += `${pen ? 'L' : 'M'}${px} ${py}`;
      pen = true;
      if (st.dots) dots += `<circle cx="${px}" cy="${py}" r="3.5" fill="${st.colour}" stroke="none"/>`;
    }
    if (d) {
      out.push(`<path d="${d}" stroke="${st.colour}"/>${dots}`);
      legend.push(st);
    }
  });
  out.push('</g><g font-weight="600" fill="#444a52" text-anchor="middle" clip-path="url(#area)">');
  for (const l of plot.labels) {
    const x = X(l.x), y = Y(l.y);
    if (Number.isFinite(x) && Number.isFinite(y)) out.push(`<text x="${x}" y="${y + 5}" font-size="14">${esc(l.name)}</text>`);
  }
  out.push('</g>');
  let lx = left;
  for (const st of legend) {
    out.push(`<line x1="${lx}" y1="${H - 12}" x2="${lx + 22}" y2="${H - 12}" stroke="${st.colour}" stroke-width="3"/>`);
    out.push(`<text x="${lx + 28}" y="${H - 8}">${esc(st.legend)}</text>`);
    lx += 40 + 7 * st.legend.length;
  }
  out.push('</svg>');
  return out.join('\n') + '\n';
}

// The plot canvas on white with the title and the legend, as a PNG blob.
export function plotPng(plot, title) {
  const u = plot.u;
  const r = uPlot.pxRatio;
  const src = u.ctx.canvas;
  const c = document.createElement('canvas');
  c.width = src.width;
  c.height = src.height + 70 * r;
  const ctx = c.getContext('2d');
  ctx.fillStyle = '#fff';
  ctx.fillRect(0, 0, c.width, c.height);
  ctx.fillStyle = '#1c1e21';
  ctx.font = `${15 * r}px system-ui, sans-serif`;
  ctx.textAlign = 'center';
  ctx.fillText(title, c.width / 2, 20 * r);
  ctx.drawImage(src, 0, 30 * r);
  ctx.textAlign = 'left';
  ctx.font = `${12 * r}px system-ui, sans-serif`;
  let x = u.bbox.left;
  const y = c.height - 16 * r;
  plot.styles.order.forEach((id, s) => {
    if (plot.hidden.has(id) || !plot.data[s + 1][0].length) return;
    const st = plot.styles.byId[id];
    ctx.fillStyle = st.colour;
    ctx.fillRect(x, y - 2 * r, 22 * r, 3 * r);
    ctx.fillStyle = '#1c1e21';
    ctx.fillText(st.legend, x + 28 * r, y + 3 * r);
    x += (40 + 7 * st.legend.length) * r;
  });
  return new Promise((resolve) => c.toBlob(resolve, 'image/png'));
}
