// The page's 3-D view (?view=3d): the engine's surfaces (computeSurfaces,
// flat typed arrays) drawn by view3d.js, coloured and toggled as the 2-D
// plot's boundaries, cut by the plane of the section on display with its
// curves drawn on it.
import { createView3d } from './view3d.js';
import { $ } from './view.js';

// Isotherms and points along each: the first view well under 2 s, turning
// at display rate.
export const SURFACE_OPTIONS = { resolution: 60, samples: 24 };

const SHEET = { 'vapor+liquid-liquid': 'liquid sheet', 'vapor+liquid-vapor': 'vapour sheet' };

// Creates the view on first use; returns it.
export function ensureView3d(page) {
  const st = page.state;
  if (page.view3d) return page.view3d;
  const t0 = performance.now();
  const surfaces = page.q.computeSurfaces(SURFACE_OPTIONS);
  st.surfacesTime = performance.now() - t0;
  const colours = {}, labels = {};
  for (const s of surfaces.surfaces) {
    const style = page.styles.byId[s.boundary];
    if (style) colours[s.name] = style.colour;
    labels[s.name] = style ? `${style.legend}${SHEET[s.name] ? ` (${SHEET[s.name]})` : ''}` : s.name;
  }
  // Without multisampling: where WebGL runs in software (no GPU) it costs
  // several times the frame.
  const view = createView3d($('plot3d'), surfaces, { colours, labels, preserveDrawingBuffer: true, antialias: false });
  view.setCamera([1.75, 1.0, 2.25]);  // the whole box in view, labels included
  page.view3d = view;
  page.surfaceBoundaries = [...new Set(surfaces.surfaces.filter((s) => view.names.includes(s.name)).map((s) => s.boundary))];
  page.surfaceNames = Object.fromEntries(surfaces.surfaces.map((s) => [s.name, s.boundary]));
  for (const id of page.plot.hidden) setBoundaryVisible(page, id, false);
  st.view3d = view;
  return view;
}

// Shows or hides the surfaces of a boundary id.
export function setBoundaryVisible(page, id, visible) {
  if (!page.view3d) return;
  for (const [name, boundary] of Object.entries(page.surfaceNames)) {
    if (boundary === id) page.view3d.setVisible(name, visible);
  }
}

// The plane of the section on display with its curves; none for the projection.
export function follow3d(page) {
  const st = page.state;
  if (st.view !== '3d' || !page.view3d) return;
  const s = st.section;
  const row = page.kinds[st.kind].row;
  if (!s || !s.accepted || !row.takesValue) {
    page.view3d.setPlane(null);
  } else {
    const curves = [];
    for (const b of s.boundaries) {
      const colour = page.styles.byId[b.id]?.colour || '#000000';
      for (const p of b.pieces) curves.push({ points: Array.from(p.x, (x, i) => [x, p.y[i]]), colour });
    }
    page.view3d.setPlane(st.kind, s.value, curves);
  }
  st.plane3d = { kind: st.kind, value: s ? s.value : NaN, set: (st.plane3d?.set || 0) + 1 };
  // Drawn now, not at the next frame, so that the first view's time is its own.
  page.view3d.render();
  if (st.first3d === null) {
    st.first3d = performance.now();
    document.body.dataset.ready3d = '1';
  }
}

// Switches the view ('2d' or '3d').
export function setView(page, view) {
  const st = page.state;
  st.view = view;
  document.body.classList.toggle('three-d', view === '3d');
  $('view-3d').setAttribute('aria-pressed', String(view === '3d'));
  if (view === '3d') {
    ensureView3d(page);
    page.view3d.resize();
    follow3d(page);
  }
}
