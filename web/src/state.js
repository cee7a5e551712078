// The page's state: the section asked for (kind and typed text), the section
// on display, the held section its exports are written from, and the
// measurements the tests and the benchmark read (window.quarvessinExplorer).

export function createState(kinds) {
  const lastText = {};
  for (const k of Object.values(kinds)) lastText[k.word] = k.opening;
  const kind = Object.keys(kinds)[0];
  return {
    kind,
    text: lastText[kind],
    value: NaN,        // the number typed, NaN while the text is not one
    section: null,     // the section on display: a plain copy of the module's (fine points)
    exports: null,     // the module's Section at the console program's points, made on the first export
    lastText,          // the text last typed for each kind
    labelTimer: null,  // the pending placement of the field labels
    view: '2d',        // '2d' or '3d' (?view=3d)
    picked: null,      // the point clicked on the plot: { kind, value, x, y, state }
    inclusion: null,   // the inclusion answered by the form, marked on its isopleth
    overlays: [],      // what the plot marks besides the section (the projection's other sections)
    first3d: null, perf3d: [],
    perf: [], firstPlot: null, pending: null, drawn: 0, labelled: 0, labelPerf: [],
  };
}

// The section the exports are written from: the module's Section at the
// console program's points with its fields, made on the first export of a
// section and kept (its boundaries formatted, never recomputed) until the
// section changes.
export function heldSection(page) {
  const st = page.state;
  if (!st.exports) st.exports = page.q.computeSection(st.kind, st.value, { fields: true });
  return st.exports;
}

export function releaseHeld(state) {
  if (state.exports) state.exports.delete();
  state.exports = null;
}

// The number in a typed text as the console program reads it (decimal, no
// thousands separators), or null when the text is not one. A number too
// large for a double reads as an infinity, which the kind table refuses.
export function parseValue(text) {
  const t = text.trim();
  if (!/^[-+]?(\d+\.?\d*|\.\d+)([eE][-+]?\d+)?$/.test(t)) return null;
  return Number(t);
}

// The section an address asks for, { kind, text }, or null: the first
// parameter named by a word of a kind (?isobar=300, ?isothermal=400,
// ?projection); ?view=3d asks for the 3-D view besides.
export function readUrl(kinds, search, kindOfWord) {
  for (const [key, text] of new URLSearchParams(search)) {
    if (key === 'view') continue;
    const kind = kindOfWord(kinds, key);
    if (kind) return { kind, text };
  }
  return null;
}

// Records the state in the address: 'push' a new history entry, 'replace'
// the current one, 'none'.
export function writeUrl(state, mode, takesValue = true) {
  if (mode === 'none') return;
  const section = takesValue ? `${state.kind}=${encodeURIComponent(state.text.trim())}` : state.kind;
  const view = state.view === '3d' ? '&view=3d' : '';
  const url = `${location.pathname}?${section}${view}${location.hash}`;
  if (url === `${location.pathname}${location.search}${location.hash}`) return;
  try {
    if (mode === 'push') history.pushState(null, '', url);
    else history.replaceState(null, '', url);
  } catch (e) {
    // Some browsers refuse history changes on file:// pages (or very long
    // addresses); the page works without.
  }
}

// The view an address asks for: '3d' with ?view=3d, else '2d'.
export const readView = (search) => (new URLSearchParams(search).get('view') === '3d' ? '3d' : '2d');
