// The phase state at a point of the plot, the marks of the projection (the
// isobar, isotherm and isopleth last chosen) and the fluid-inclusion form:
// every number from the engine (statePoint, phaseState, inclusion) and
// written by its number texts.
import { unitSymbol, withSymbols } from './kinds.js';
import { $ } from './view.js';

// "liquid + vapour": an assemblage of the engine for a reader.
export const assemblageText = (name) => name.split('+').map((w) => (w === 'vapor' ? 'vapour' : w)).join(' + ');

// The composition a click on a plot without one (the projection) is read
// at: the isopleth last chosen, else its opening value.
function compositionOfProjection(page) {
  const text = page.state.lastText.isopleth ?? page.kinds.isopleth?.opening;
  const wt = Number(text);
  return page.q.valueAccepted('isopleth', wt) ? wt : 10;
}

// The (T, P, wt) of the plot's point (x, y) and the phase state there:
// { kind, value, x, y, at: { tC, pBar, wt }, state }.
export function pickState(page, x, y) {
  const { q, state: st } = page;
  const row = page.kinds[st.kind].row;
  const value = row.takesValue ? st.value : compositionOfProjection(page);
  const kind = row.takesValue ? st.kind : 'isopleth';
  const at = q.statePoint(kind, value, x, y);
  return { kind: st.kind, value: st.value, x, y, at, state: q.phaseState(at.tC, at.pBar, at.wt), fromIsopleth: !row.takesValue };
}

// The lines of text of a picked point.
export function pickedLines(page, picked) {
  const six = page.q.sixDigits;
  const { at, state: s } = picked;
  const where = `${six(at.tC)} ${unitSymbol('C')}, ${six(at.pBar)} bar, ${six(at.wt)} wt% NaCl` +
    (picked.fromIsopleth ? ' (the composition of the isopleth)' : '');
  if (s.assemblage === '') return [where, 'no phase state here: outside the range of the model'];
  const lines = [where, assemblageText(s.assemblage)];
  const percent = (f) => `${six(100 * f)} % of the mass`;
  if (s.fractionVapor > 0) lines.push(`vapour: ${six(s.wtVapor)} wt% NaCl, ${percent(s.fractionVapor)}`);
  if (s.fractionLiquid > 0) lines.push(`liquid: ${six(s.wtLiquid)} wt% NaCl, ${percent(s.fractionLiquid)}`);
  if (s.fractionHalite > 0) lines.push(`halite: 100 wt% NaCl, ${percent(s.fractionHalite)}`);
  return lines;
}

export function renderPicked(page) {
  const picked = page.state.picked;
  const lines = picked ? pickedLines(page, picked) : ['Click the plot to see the phase state there.'];
  $('phase-state').replaceChildren(...lines.map((l, i) => {
    const div = document.createElement('div');
    if (i === 1 && picked) div.className = 'assemblage';
    div.textContent = l;
    return div;
  }));
}

// The isopleth curves drawn on the projection, computed once per composition.
const isoplethCache = new Map();
function isoplethPaths(q, wt) {
  if (!isoplethCache.has(wt)) {
    const s = q.computeSection('isopleth', wt, { fine: true, fields: false });
    try {
      isoplethCache.clear();
      isoplethCache.set(wt, s.boundaries.map((b) => ({ id: b.id, pieces: b.pieces })));
    } finally {
      s.delete();
    }
  }
  return isoplethCache.get(wt);
}

// The last accepted value of a kind, or null.
function lastValue(page, kind) {
  if (!page.kinds[kind]) return null;
  const v = Number(page.state.lastText[kind]);
  return page.state.lastText[kind] !== '' && page.q.valueAccepted(kind, v) ? v : null;
}

// What the plot marks besides the section: on the projection the isobar, the
// isotherm and the isopleth last chosen; on an isopleth the inclusion of its
// salinity; everywhere the point last clicked.
export function overlaysOf(page) {
  const { q, state: st } = page;
  const row = page.kinds[st.kind].row;
  const six = q.sixDigits;
  const out = [];
  if (!row.takesValue) {
    const p = lastValue(page, 'isobar');
    if (p !== null) out.push({ type: 'hline', y: p, colour: '#b35900', dashed: true, label: `isobar ${six(p)} bar` });
    const t = lastValue(page, 'isotherm');
    if (t !== null) out.push({ type: 'vline', x: t, colour: '#007a7a', dashed: true, label: `isotherm ${six(t)} ${unitSymbol('C')}` });
    const w = lastValue(page, 'isopleth');
    if (w !== null) {
      isoplethPaths(q, w).forEach((b, i) => {
        const xs = [], ys = [];
        for (const piece of b.pieces) { xs.push(...piece.x, NaN); ys.push(...piece.y, NaN); }
        out.push({ type: 'path', x: xs, y: ys, colour: page.styles.byId[b.id]?.colour || '#555', dashed: true, width: 1.2,
          label: i === 0 ? `isopleth ${six(w)} wt%` : '' });
      });
    }
  }
  const inc = st.inclusion;
  if (inc && st.kind === 'isopleth' && st.value === inc.wt && Number.isFinite(inc.p)) {
    out.push({ type: 'point', x: inc.th, y: inc.p, colour: '#d4006a', width: 2, label: `inclusion: Th ${six(inc.th)} ${unitSymbol('C')}, ${six(inc.p)} bar` });
  }
  const picked = st.picked;
  if (picked && picked.kind === st.kind && (picked.value === st.value || !row.takesValue)) {
    out.push({ type: 'point', x: picked.x, y: picked.y, colour: '#222', width: 1.5, label: '' });
  }
  return out;
}

// The inclusion form's measurements: numbers, or undefined when left empty.
function formInput() {
  const number = (id) => {
    const t = $(id).value.trim();
    return t === '' ? undefined : Number(t);
  };
  return { tmIce: number('inc-tm-ice'), tmHalite: number('inc-tm-halite'), wt: number('inc-wt'), th: number('inc-th'),
    to: $('inc-th').value.trim() === '' ? undefined : $('inc-to').value };
}

// Answers the form with the engine's inclusion and, when it has a salinity,
// shows the isopleth of that salinity with the inclusion marked (Th and the
// homogenisation pressure). showIsopleth(wt) switches the page to it.
export function answerInclusion(page, showIsopleth) {
  const out = $('inc-result');
  let r;
  try {
    const input = formInput();
    for (const [k, v] of Object.entries(input)) {
      if (typeof v === 'number' && Number.isNaN(v)) throw new Error(`${k} is not a number`);
    }
    r = page.q.inclusion(input);
  } catch (e) {
    out.textContent = e.message;
    out.className = 'refused';
    page.state.inclusionResult = { error: e.message };
    return null;
  }
  page.state.inclusionResult = r;
  if (!r.accepted) {
    out.textContent = withSymbols(r.refusal);
    out.className = 'refused';
    return r;
  }
  out.className = '';
  out.textContent = withSymbols(r.text) + r.warnings.map((w) => `warning: ${withSymbols(w)}\n`).join('');
  page.state.inclusion = { wt: r.wt_percent, th: r.th, p: r.homogenization_pressure_bar ?? NaN };
  if (page.q.valueAccepted('isopleth', r.wt_percent)) showIsopleth(r.wt_percent);
  return r;
}
