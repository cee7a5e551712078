// What the page shows: the kind controls, the title, the plot, the legend,
// the console text, warnings and export list. Every function takes the page
// ({ q, kinds, styles, plot, state }) and writes the DOM from it.
import { unitSymbol, withSymbols } from './kinds.js';

export const $ = (id) => document.getElementById(id);

function item(text, className) {
  const li = document.createElement('li');
  if (className) li.className = className;
  li.textContent = text;
  return li;
}

// The radio buttons of the kinds, from the kind table.
export function renderKindChoices(page) {
  const fieldset = $('kind');
  fieldset.querySelectorAll('label').forEach((l) => l.remove());
  for (const k of Object.values(page.kinds)) {
    const label = document.createElement('label');
    const input = document.createElement('input');
    input.type = 'radio';
    input.name = 'kind';
    input.value = k.word;
    const small = document.createElement('small');
    small.textContent = k.detail;
    label.append(input, ` ${k.choice} `, small);
    fieldset.append(label);
  }
}

// The value's label, range, slider and radio button of the current kind.
export function renderKindControls(page) {
  const k = page.kinds[page.state.kind];
  $('value-label').textContent = k.valueLabel;
  $('range-hint').textContent = k.hint;
  $('value-row').hidden = !k.slider;
  $('logx').disabled = !k.logxAllowed;
  const slider = $('slider');
  if (k.slider) {
    slider.max = String(k.slider.positions);
    slider.setAttribute('aria-label', k.slider.label);
  }
  for (const r of document.querySelectorAll('input[name=kind]')) r.checked = r.value === k.word;
}

export function renderSliderPosition(page, value) {
  const pos = page.kinds[page.state.kind].slider.toSlider(value);
  if (Number($('slider').value) !== pos) $('slider').value = String(pos);
}

// "H2O–NaCl, isobaric section at 300 bar", the value in its shortest exact form.
export function title(page, value) {
  const k = page.kinds[page.state.kind];
  if (!k.row.takesValue) return `H2O–NaCl, ${k.row.y.name}–${k.row.x.name} ${k.row.word}: univariant and critical curves`;
  const head = `H2O–NaCl, ${k.choice} section`;
  return Number.isNaN(value) ? head : `${head} at ${page.q.shortestNumber(value)} ${k.unit}`;
}

// The hover text of a point of a boundary.
export function describePoint(page, hit) {
  const { row } = page.kinds[page.state.kind];
  const six = page.q.sixDigits;
  const quantity = (quantity, v) => `${quantity.name} ${six(v)} ${unitSymbol(quantity.unit)}`;
  return `${page.styles.byId[hit.id].legend}: ${quantity(row.x, hit.x)}, ${quantity(row.y, hit.y)}`;
}

// The console text, warnings and boundary files of a section (null: none).
export function renderSide(page, section, onFile) {
  const con = $('console');
  con.textContent = section ? section.console : '';
  con.classList.toggle('refused', !!section && !section.accepted);
  const warnings = section ? section.warnings : [];
  $('warnings').replaceChildren(...(warnings.length ? warnings.map((w) => item(withSymbols(w))) : [item('none', 'none')]));
  const boundaries = section && section.accepted ? section.boundaries : [];
  $('files').replaceChildren(...boundaries.map((b, i) => {
    const li = document.createElement('li');
    const btn = document.createElement('button');
    btn.type = 'button';
    btn.textContent = b.fileName;
    btn.title = `Save ${b.fileName} as the console program writes it`;
    btn.addEventListener('click', () => onFile(i, b.fileName));
    li.append(btn);
    return li;
  }));
  for (const id of ['export-zip', 'export-csv', 'export-json', 'export-png', 'export-svg']) $(id).disabled = !boundaries.length;
}

// The legend of the boundaries drawn, each a button that hides and shows it.
export function renderLegend(page, groups) {
  const { plot, styles } = page;
  $('legend').replaceChildren(...styles.order.filter((id) => groups[id]).map((id) => {
    const st = styles.byId[id];
    const li = document.createElement('li');
    const btn = document.createElement('button');
    btn.type = 'button';
    btn.setAttribute('aria-pressed', String(!plot.hidden.has(id)));
    btn.dataset.id = id;
    const mark = document.createElement('i');
    if (st.dots) mark.className = 'dots';
    mark.style.setProperty('--c', st.colour);
    btn.append(mark, st.legend);
    btn.addEventListener('click', () => {
      const hide = !plot.hidden.has(id);
      plot.setHidden(id, hide);
      if (page.onToggle) page.onToggle(id, hide);
      btn.setAttribute('aria-pressed', String(!hide));
    });
    li.append(btn);
    return li;
  }));
}

// The status line under the controls: why nothing is drawn, or empty.
export function renderMessage(page, message) {
  $('input-message').textContent = message;
  if (message) $('value').setAttribute('aria-invalid', 'true');
  else $('value').removeAttribute('aria-invalid');
}

// An empty plot with the reason: text that is not a number, a refused value
// or an error of the module.
export function showNothing(page, heading, message, section = null) {
  renderMessage(page, message);
  page.plot.show(page.kinds[page.state.kind], {}, [], $('logx').checked);
  page.plot.hoverAt(-1, -1);
  $('plot').classList.add('refused');
  $('plot-title').textContent = heading;
  renderLegend(page, {});
  renderSide(page, section, () => {});
}
