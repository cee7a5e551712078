// The page's controls: the kind, the value (typed or by slider), the axes
// and zoom, the keyboard, the history and the exports.
import { $, renderKindControls, title } from './view.js';
import { boundaryZip, download, plotPng, plotSvg } from './exporting.js';
import { heldSection } from './state.js';

function bindSection(page, { update, settle }) {
  const st = page.state;
  for (const r of document.querySelectorAll('input[name=kind]')) {
    r.addEventListener('change', (e) => {
      if (!r.checked) return;
      st.lastText[st.kind] = st.text;
      st.kind = r.value;
      st.text = st.lastText[st.kind] ?? '';
      $('value').value = st.text;
      page.plot.zoomed = false;
      renderKindControls(page);
      update(page, { history: 'push', start: e.timeStamp, labelDelay: 0 });
    });
  }
  $('value').addEventListener('input', (e) => { st.text = e.target.value; update(page, { start: e.timeStamp }); });
  $('value').addEventListener('change', () => settle(page));
  $('value').addEventListener('keydown', (e) => { if (e.key === 'Enter') settle(page); });
  $('slider').addEventListener('input', (e) => {
    if (!page.kinds[st.kind].slider) return;
    st.text = page.q.shortestNumber(page.kinds[st.kind].slider.fromSlider(Number(e.target.value)));
    $('value').value = st.text;
    update(page, { start: e.timeStamp, slider: true });
  });
  $('slider').addEventListener('change', () => settle(page));
}

function bindView(page, { update, setFromUrl }) {
  const { plot } = page;
  $('logx').addEventListener('change', () => { plot.zoomed = false; update(page, { history: 'none', labelDelay: 0 }); });
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
  window.addEventListener('popstate', () => { setFromUrl(page); update(page, { history: 'none', labelDelay: 0 }); });
}

function bindExports(page) {
  const name = (extension) => page.q.sectionFileName(page.state.kind, page.state.value, extension);
  $('export-zip').addEventListener('click', () => download(heldSection(page).fileName('zip'), boundaryZip(heldSection(page)), 'application/zip'));
  $('export-csv').addEventListener('click', () => download(heldSection(page).fileName('csv'), heldSection(page).format('csv'), 'text/csv'));
  $('export-json').addEventListener('click', () => download(heldSection(page).fileName('json'), heldSection(page).format('json'), 'application/json'));
  $('export-svg').addEventListener('click', () => download(name('svg'), plotSvg(page.plot, title(page, page.state.value)), 'image/svg+xml'));
  $('export-png').addEventListener('click', async () => download(name('png'), await plotPng(page.plot, title(page, page.state.value)), 'image/png'));
}

export function bindEvents(page, actions) {
  bindSection(page, actions);
  bindView(page, actions);
  bindExports(page);
}
