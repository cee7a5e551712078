// The explorer page: section controls, the plot, the console text, warnings
// and exports, all computed by the quarvessin engine compiled to WebAssembly.
import { SectionPlot } from './plot.js';
import { ORDER, STYLES, fieldLabels, fmtG, groupBoundaries } from './boundaries.js';
import { boundaryZip, download, plotPng, plotSvg, sectionCsv, stem } from './exporting.js';

const $ = (id) => document.getElementById(id);

const KINDS = {
  isobar: {
    label: 'pressure [bar]', unit: 'bar', hint: '1 to 5000 bar', slider: 'pressure, logarithmic slider',
    what: 'isobaric', fallback: 300,
    // Logarithmic slider, 1000 steps from 1 to 5000 bar; values rounded to three digits.
    max: 1000,
    fromSlider: (pos) => Number(Math.pow(5000, pos / 1000).toPrecision(3)),
    toSlider: (v) => Math.round(1000 * Math.log(Math.min(Math.max(v, 1), 5000)) / Math.log(5000)),
  },
  isotherm: {
    label: 'temperature [°C]', unit: '°C', hint: '−20 to 800.69 °C', slider: 'temperature slider',
    what: 'isothermal', fallback: 400,
    // One step per degree from −20 C; the last step is the highest temperature computed, 800.69 C.
    max: 821,
    fromSlider: (pos) => (pos >= 821 ? 800.69 : pos - 20),
    toSlider: (v) => Math.min(Math.max(Math.round(v + 20), 0), v >= 800.69 ? 821 : 820),
  },
};

// A decimal number as the console program reads it (no thousands separators,
// no comma); finite only.
function parseValue(text) {
  const t = text.trim();
  if (!/^[-+]?(\d+\.?\d*|\.\d+)([eE][-+]?\d+)?$/.test(t)) return null;
  const v = Number(t);
  return Number.isFinite(v) ? v : null;
}

function readUrl() {
  const params = new URLSearchParams(location.search);
  for (const kind of Object.keys(KINDS)) {
    if (params.has(kind)) return { kind, text: params.get(kind) };
  }
  return null;
}

export async function start(createModule) {
  const q = await createModule();
  window.quarvessin = q;
  const ui = {
    kind: 'isobar', text: '300', value: 300, section: null,
    lastText: { isobar: '300', isotherm: '400' },
    perf: [], firstPlot: null, pending: null, drawn: 0,
  };
  window.quarvessinExplorer = ui;

  const plot = new SectionPlot($('plot'), {
    onDraw: () => {
      ui.drawn++;
      const now = performance.now();
      if (ui.firstPlot === null && ui.section) {
        ui.firstPlot = now;
        document.body.dataset.ready = '1';
      }
      if (ui.pending) {
        ui.perf.push({ ...ui.pending, total: now - ui.pending.start });
        ui.pending = null;
      }
    },
  });
  plot.tooltip = $('tooltip');
  ui.plot = plot;

  function setKindControls(kind) {
    const k = KINDS[kind];
    $('value-label').textContent = k.label;
    $('range-hint').textContent = k.hint;
    $('slider').max = String(k.max);
    $('slider').setAttribute('aria-label', k.slider);
    for (const r of document.querySelectorAll('input[name=kind]')) r.checked = r.value === kind;
  }

  function updateUrl(mode) {
    if (mode === 'none') return;
    const url = `${location.pathname}?${ui.kind}=${encodeURIComponent(ui.text.trim())}${location.hash}`;
    if (url === `${location.pathname}${location.search}${location.hash}`) return;
    try {
      if (mode === 'push') history.pushState(null, '', url);
      else history.replaceState(null, '', url);
    } catch (e) {
      // Some browsers refuse history changes on file:// pages; the page works without.
    }
  }

  function renderSide(s) {
    const con = $('console');
    con.textContent = s ? s.console : '';
    con.classList.toggle('refused', !!s && !s.accepted);
    const warn = $('warnings');
    warn.replaceChildren();
    const warnings = s ? s.warnings : [];
    if (!warnings.length) {
      const li = document.createElement('li');
      li.className = 'none';
      li.textContent = 'none';
      warn.append(li);
    }
    for (const w of warnings) {
      const li = document.createElement('li');
      li.textContent = w;
      warn.append(li);
    }
    const files = $('files');
    files.replaceChildren();
    const boundaries = s && s.accepted ? s.boundaries : [];
    boundaries.forEach((b, i) => {
      const li = document.createElement('li');
      const btn = document.createElement('button');
      btn.type = 'button';
      btn.textContent = b.fileName;
      btn.title = `Save ${b.fileName} as the console program writes it`;
      btn.addEventListener('click', () => download(b.fileName, q.formatBoundary(ui.kind, ui.value, i), 'text/plain'));
      li.append(btn);
      files.append(li);
    });
    for (const id of ['export-zip', 'export-csv', 'export-png', 'export-svg']) $(id).disabled = !boundaries.length;
  }

  function renderLegend(groups) {
    const legend = $('legend');
    legend.replaceChildren();
    for (const key of ORDER) {
      if (!groups[key]) continue;
      const st = STYLES[key];
      const li = document.createElement('li');
      const btn = document.createElement('button');
      btn.type = 'button';
      btn.setAttribute('aria-pressed', String(!plot.hidden.has(key)));
      btn.dataset.key = key;
      btn.innerHTML = `<i class="${st.dots ? 'dots' : ''}" style="--c:${st.colour}"></i>`;
      btn.append(st.legend);
      btn.addEventListener('click', () => {
        const hide = !plot.hidden.has(key);
        plot.setHidden(key, hide);
        btn.setAttribute('aria-pressed', String(!hide));
      });
      li.append(btn);
      legend.append(li);
    }
  }

  function title() {
    const k = KINDS[ui.kind];
    return `H2O–NaCl, ${k.what} section at ${fmtG(ui.value)} ${ui.kind === 'isobar' ? 'bar' : '°C'}`;
  }

  // Computes and shows the section of the current kind and text.
  function update(historyMode, startTime) {
    const start = startTime ?? performance.now();
    const value = parseValue(ui.text);
    const input = $('value');
    if (value === null) {
      input.setAttribute('aria-invalid', 'true');
      $('input-message').textContent = `“${ui.text.trim()}” is not a number: type the ${KINDS[ui.kind].label.replace(/ \[.*\]/, '')} in ${KINDS[ui.kind].unit}.`;
      ui.section = null;
      ui.pending = { kind: ui.kind, value: NaN, start, compute: 0 };
      plot.clear();
      $('plot').classList.add('refused');
      $('plot-title').textContent = title().replace(/ at .*/, '');
      renderLegend({});
      renderSide(null);
      return;
    }
    input.removeAttribute('aria-invalid');
    $('input-message').textContent = '';
    ui.value = value;
    const s = q.computeSection(ui.kind, value, { fine: true });
    const computed = performance.now();
    ui.section = s;
    ui.pending = { kind: ui.kind, value, start, compute: computed - start };
    $('plot').classList.toggle('refused', !s.accepted);
    $('plot-title').textContent = s.accepted ? title() : `${title()}: refused`;
    if (s.accepted) {
      const groups = groupBoundaries(s);
      plot.show(ui.kind, groups, fieldLabels(s, groups), $('logx').checked);
      renderLegend(groups);
    } else {
      plot.show(ui.kind, {}, [], $('logx').checked);
      renderLegend({});
    }
    renderSide(s);
    const pos = KINDS[ui.kind].toSlider(value);
    if (Number($('slider').value) !== pos) $('slider').value = String(pos);
    updateUrl(historyMode);
  }

  function setFromUrl() {
    const fromUrl = readUrl();
    ui.kind = fromUrl ? fromUrl.kind : 'isobar';
    ui.text = fromUrl ? fromUrl.text : ui.lastText[ui.kind];
    setKindControls(ui.kind);
    $('value').value = ui.text;
  }

  // --- events ---
  for (const r of document.querySelectorAll('input[name=kind]')) {
    r.addEventListener('change', (e) => {
      if (!r.checked) return;
      ui.lastText[ui.kind] = ui.text;
      ui.kind = r.value;
      ui.text = ui.lastText[ui.kind];
      $('value').value = ui.text;
      setKindControls(ui.kind);
      plot.zoomed = false;
      update('push', e.timeStamp);
    });
  }
  $('value').addEventListener('input', (e) => { ui.text = e.target.value; update('replace', e.timeStamp); });
  $('value').addEventListener('change', () => updateUrl('push'));
  $('value').addEventListener('keydown', (e) => { if (e.key === 'Enter') updateUrl('push'); });
  $('slider').addEventListener('input', (e) => {
    const v = KINDS[ui.kind].fromSlider(Number(e.target.value));
    ui.text = String(v);
    $('value').value = ui.text;
    update('replace', e.timeStamp);
  });
  $('slider').addEventListener('change', () => updateUrl('push'));
  $('logx').addEventListener('change', () => { plot.zoomed = false; update('none'); });
  $('zoom-in').addEventListener('click', () => plot.zoom(0.5));
  $('zoom-out').addEventListener('click', () => plot.zoom(2));
  $('zoom-reset').addEventListener('click', () => plot.resetZoom());
  document.addEventListener('keydown', (e) => {
    if (e.target instanceof HTMLInputElement && e.target.type === 'text') return;
    if (e.ctrlKey || e.metaKey || e.altKey) return;
    if (e.key === '+' || e.key === '=') plot.zoom(0.5);
    else if (e.key === '-' || e.key === '_') plot.zoom(2);
    else if (e.key === '0') plot.resetZoom();
  });
  window.addEventListener('popstate', () => { setFromUrl(); update('none'); });

  $('export-zip').addEventListener('click', () => {
    const names = ui.section.boundaries.map((b) => b.fileName);
    download(`${stem(ui.kind, ui.value)}.zip`, boundaryZip(q, ui.kind, ui.value, names), 'application/zip');
  });
  $('export-csv').addEventListener('click', () => {
    download(`${stem(ui.kind, ui.value)}.csv`, sectionCsv(q.computeSection(ui.kind, ui.value)), 'text/csv');
  });
  $('export-svg').addEventListener('click', () => download(`${stem(ui.kind, ui.value)}.svg`, plotSvg(plot, title()), 'image/svg+xml'));
  $('export-png').addEventListener('click', async () => download(`${stem(ui.kind, ui.value)}.png`, await plotPng(plot, title()), 'image/png'));

  setFromUrl();
  update('replace');
}
