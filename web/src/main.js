// The explorer page: section controls, the plot, the console text, warnings
// and exports, all computed, named and formatted by the quarvessin engine
// compiled to WebAssembly. This file ties the state (state.js), the view
// (view.js) and the events (events.js) together.
import { SectionPlot } from './plot.js';
import { allKindControls, kindOfWord, withSymbols } from './kinds.js';
import { boundaryStyles, groupBoundaries } from './styles.js';
import { createState, parseValue, readUrl, readView, releaseHeld, heldSection, writeUrl } from './state.js';
import { answerInclusion, overlaysOf, pickState, renderPicked } from './picking.js';
import { follow3d, setBoundaryVisible, setView } from './page3d.js';
import { $, describePoint, renderKindChoices, renderKindControls, renderLegend, renderMessage, renderSide,
  renderSliderPosition, showNothing, title } from './view.js';
import { bindEvents } from './events.js';
import { download } from './exporting.js';

// The field labels wait until the value has rested this long [ms]: placing
// them classifies a few thousand points, too slow for every step of a drag.
const LABEL_DELAY = 150;
// How much of a text that is not a number the message quotes [characters].
const TYPED_SHOWN = 40;

// A plain copy of a section of the module, which is freed at once.
function computeCopy(q, kind, value, options) {
  const s = q.computeSection(kind, value, options);
  try {
    return {
      accepted: s.accepted, refusal: s.refusal, console: s.console, kind: s.kind, value: s.value,
      boundaries: s.boundaries, fields: s.fields, warnings: s.warnings,
    };
  } finally {
    s.delete();
  }
}

// Places the field labels of the section on display once its value has
// rested for `delay` ms.
function scheduleLabels(page, delay) {
  const st = page.state;
  clearTimeout(st.labelTimer);
  const { kind, value } = st;
  st.labelTimer = setTimeout(() => {
    st.labelTimer = null;
    if (!st.section || st.kind !== kind || st.value !== value) return;
    const t0 = performance.now();
    try {
      st.section.fields = computeCopy(page.q, kind, value, { fine: true, fields: true }).fields;
      st.labelPerf.push(performance.now() - t0);
    } catch (e) {
      renderMessage(page, `The phase fields could not be labelled: ${e.message}`);
      return;
    }
    page.plot.setLabels(st.section.fields);
    st.labelled++;
  }, delay);
}

// Computes and shows the section of the current kind and text. Options:
// history ('push', 'replace' or 'none': how the address records it), start
// (the time of the event), labelDelay (how long the labels wait), slider
// (the slider set the value: its position stays where it is, though several
// positions may give one value).
export function update(page, { history = 'replace', start: startTime, labelDelay = LABEL_DELAY, slider = false } = {}) {
  const { q, state: st, plot } = page;
  const start = startTime ?? performance.now();
  const k = page.kinds[st.kind];
  const value = k.row.takesValue ? parseValue(st.text) : 0;
  clearTimeout(st.labelTimer);
  releaseHeld(st);
  st.section = null;
  st.value = value === null ? NaN : value;
  if (value === null) {
    st.pending = { kind: st.kind, value: NaN, start, compute: 0 };
    const typed = st.text.trim();
    const quoted = typed.length > TYPED_SHOWN ? `${typed.slice(0, TYPED_SHOWN)}…` : typed;
    showNothing(page, title(page, NaN), `“${quoted}” is not a number: type the ${k.row.fixed.name} in ${k.unit}.`);
    return;
  }
  let s;
  try {
    s = computeCopy(q, st.kind, value, { fine: true });
  } catch (e) {
    showNothing(page, `${title(page, value)}: not computed`, `The section could not be computed: ${e.message}`);
    return;
  }
  const computed = performance.now();
  st.section = s;
  st.pending = { kind: st.kind, value, start, compute: computed - start };
  $('plot').classList.toggle('refused', !s.accepted);
  $('plot-title').textContent = s.accepted ? title(page, value) : `${title(page, value)}: refused`;
  renderMessage(page, s.accepted ? '' : withSymbols(s.refusal));
  const groups = s.accepted ? groupBoundaries(s.boundaries, page.styles) : {};
  plot.overlays = s.accepted ? overlaysOf(page) : [];
  plot.show(k, groups, [], k.logxAllowed && $('logx').checked);
  renderLegend(page, legendGroups(page, groups));
  renderSide(page, s, (i, name) => download(name, heldSection(page).formatBoundary(i), 'text/plain'));
  if (!slider && k.slider) renderSliderPosition(page, value);
  writeUrl(st, history, k.row.takesValue);
  follow3d(page);
  if (st.view === '3d') st.perf3d.push(performance.now() - start);  // the plane and its picture drawn too
  if (s.accepted && k.row.hasFields) scheduleLabels(page, labelDelay);
}

// The boundaries the legend lists: the section's and, in the 3-D view, the surfaces'.
function legendGroups(page, groups) {
  if (page.state.view !== '3d' || !page.surfaceBoundaries) return groups;
  const all = { ...groups };
  for (const id of page.surfaceBoundaries) all[id] ||= [];
  return all;
}

// The value has come to rest (Enter, the end of a drag): recorded in the
// history, its labels placed now.
export function settle(page) {
  const st = page.state;
  writeUrl(st, 'push', page.kinds[st.kind].row.takesValue);
  if (st.labelTimer !== null && st.section) scheduleLabels(page, 0);
}

// Sets the state from the address (or the first kind's opening value).
export function setFromUrl(page) {
  const st = page.state;
  const fromUrl = readUrl(page.kinds, location.search, kindOfWord);
  st.kind = fromUrl ? fromUrl.kind : Object.keys(page.kinds)[0];
  st.text = fromUrl ? fromUrl.text : st.lastText[st.kind];
  if (!page.kinds[st.kind].row.takesValue) st.text = '';
  st.lastText[st.kind] = st.text;
  st.view = readView(location.search);
  renderKindControls(page);
  $('value').value = st.text;
}

export async function start(createModule) {
  const q = await createModule();
  window.quarvessin = q;
  const kinds = allKindControls(q);
  const styles = boundaryStyles(q);
  const state = createState(kinds);
  window.quarvessinExplorer = state;
  const page = { q, kinds, styles, state, plot: null, view3d: null };
  page.onToggle = (id, hide) => setBoundaryVisible(page, id, !hide);
  page.plot = new SectionPlot($('plot'), {
    styles,
    describe: (hit) => describePoint(page, hit),
    onPick: ({ x, y }) => {
      if (!state.section || !state.section.accepted) return;
      state.picked = pickState(page, x, y);
      renderPicked(page);
      page.plot.setOverlays(overlaysOf(page));
    },
    onDraw: () => {
      state.drawn++;
      const now = performance.now();
      if (state.firstPlot === null && state.section) {
        state.firstPlot = now;
        document.body.dataset.ready = '1';
      }
      if (state.pending) {
        state.perf.push({ ...state.pending, total: now - state.pending.start });
        state.pending = null;
      }
    },
  });
  page.plot.tooltip = $('tooltip');
  state.plot = page.plot;
  renderKindChoices(page);
  bindEvents(page, { update, settle, setFromUrl });
  bindPage(page);
  setFromUrl(page);
  renderPicked(page);
  update(page, { labelDelay: 0 });
  if (state.view === '3d') {
    setView(page, '3d');
    update(page, { history: 'none', labelDelay: 0 });
  }
}

// The isopleth of a salinity, shown from the inclusion form.
function showIsopleth(page, wt) {
  const st = page.state;
  if (st.kind !== 'isopleth') st.lastText[st.kind] = st.text;
  st.kind = 'isopleth';
  st.text = page.q.shortestNumber(wt);
  st.lastText.isopleth = st.text;
  $('value').value = st.text;
  page.plot.zoomed = false;
  renderKindControls(page);
  update(page, { history: 'push', labelDelay: 0 });
}

// The inclusion form and the 3-D view's button.
function bindPage(page) {
  $('inclusion').addEventListener('submit', (e) => {
    e.preventDefault();
    answerInclusion(page, (wt) => showIsopleth(page, wt));
  });
  $('view-3d').addEventListener('click', () => {
    setView(page, page.state.view === '3d' ? '2d' : '3d');
    update(page, { history: 'replace', labelDelay: 0 });
  });
}
