// The explorer page in headless Chromium, opened from file:// as a user
// would: the sections it shows and exports against the console program's own
// runs and the engine's formats, the phase-field labels against the point
// query, refusals and hostile addresses, the controls, the URL, exports and
// the picture.
//   QUARVESSIN_PAGE      the built quarvessin-explorer.html
//   QUARVESSIN_PLOTDATA  the native console program
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readdirSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { unzipSync, strFromU8 } from 'fflate';
import { launch, openPage } from './browser.mjs';
import { firstDifference, pointLines } from './sections.mjs';

const pageFile = process.env.QUARVESSIN_PAGE || new URL('../build/quarvessin-explorer.html', import.meta.url).pathname;
const plotdata = process.env.QUARVESSIN_PLOTDATA;

// The console program run on one section in a fresh directory: its standard
// output after the prompt and its files { name: text }.
function consoleRun(kind, value) {
  const dir = mkdtempSync(join(tmpdir(), 'quarvessin-run-'));
  try {
    const out = execFileSync(plotdata, { cwd: dir, input: `${kind === 'isobar' ? 1 : 2}\n${value}\n` }).toString('latin1');
    const files = {};
    for (const name of readdirSync(dir)) files[name] = readFileSync(join(dir, name), 'latin1');
    // What it prints after the question for the value.
    const prompt = kind === 'isobar' ? 'Please enter pressure in bar (valid range: 1.0 to 5000) : ' : 'Please enter temperature : ';
    const at = out.lastIndexOf(prompt);
    if (at < 0) throw new Error(`no question for the value in: ${out}`);
    return { stdout: out, text: out.slice(at + prompt.length), files };
  } finally {
    rmSync(dir, { recursive: true, force: true });
  }
}

// What the page shows: title, console, warnings, files, legend, plotted points per boundary id.
const shown = (page) => page.evaluate(() => {
  const ui = window.quarvessinExplorer;
  const points = {};
  if (ui.plot.data) {
    ui.plot.styles.order.forEach((id, s) => {
      const xs = ui.plot.data[s + 1][0];
      points[id] = Array.from(xs).filter((x) => !Number.isNaN(x)).length;
    });
  }
  return {
    title: document.getElementById('plot-title').textContent,
    console: document.getElementById('console').textContent,
    message: document.getElementById('input-message').textContent,
    warnings: [...document.querySelectorAll('#warnings li:not(.none)')].map((li) => li.textContent),
    files: [...document.querySelectorAll('#files button')].map((b) => b.textContent),
    legend: [...document.querySelectorAll('#legend button')].map((b) => b.textContent),
    value: document.getElementById('value').value,
    kind: document.querySelector('input[name=kind]:checked').value,
    search: location.search,
    points,
    zipDisabled: document.getElementById('export-zip').disabled,
  };
});

// Clicks a button and returns the downloaded file { name, bytes }.
async function downloadOf(page, selector) {
  const [dl] = await Promise.all([page.waitForEvent('download', { timeout: 10000 }), page.click(selector)]);
  const path = await dl.path();
  return { name: dl.suggestedFilename(), bytes: readFileSync(path) };
}

// Waits until the page has drawn a section after `action`.
async function afterDraw(page, action) {
  const before = await page.evaluate(() => window.quarvessinExplorer.drawn);
  await action();
  await page.waitForFunction((n) => window.quarvessinExplorer.drawn > n, before);
}

// The boundary id of a console program's file prefix.
const IDS = { 'liquid+vapor': 'vapor+liquid', 'vapor+liquid': 'vapor+liquid', 'liquid+halite': 'liquidus',
  'vapor+liquid+halite': 'three-phase', 'vapor+halite': 'vapor+halite' };

// Waits until the page has placed the field labels of its section.
const labelsPlaced = (page) => page.waitForFunction(() => window.quarvessinExplorer.labelled > 0, null, { timeout: 20000 });

// The engine's refusal as the page words it (°C for C).
const pageWords = (text) => text.replace(/(\d) C(?![\w+%])/g, '$1 °C');

let browser;
before(async () => { browser = await launch(); });
after(async () => { if (browser) await browser.close(); });

test('sections as the console program writes them, exported byte for byte', { skip: !plotdata && 'QUARVESSIN_PLOTDATA not set' }, async () => {
  const sections = [['isobar', '1'], ['isobar', '300'], ['isobar', '2000'], ['isobar', '3000'], ['isotherm', '25'], ['isotherm', '400']];
  for (const [kind, value] of sections) {
    const where = `${kind} ${value}`;
    const run = consoleRun(kind, value);
    // A page of its own for each section (Chromium holds back a page's
    // downloads after the first few).
    const page = await openPage(browser.context, pageFile, `?${kind}=${value}`);
    const s = await shown(page);
    assert.equal(s.kind, kind, where);
    assert.equal(s.console, run.text, `${where}: console text`);
    assert.deepEqual([...s.files].sort(), Object.keys(run.files).sort(), `${where}: files`);
    // Every boundary drawn, with the file's points (the vapour + halite curve
    // of an isotherm at display resolution, denser than its file).
    const expected = {};
    for (const [name, text] of Object.entries(run.files)) {
      const id = IDS[name.slice(0, name.lastIndexOf('_'))];
      expected[id] = (expected[id] || 0) + pointLines(text);
    }
    for (const [id, n] of Object.entries(expected)) {
      if (kind === 'isotherm' && id === 'vapor+halite') assert.ok(s.points[id] >= n, `${where}: ${id} ${s.points[id]} < ${n}`);
      else assert.equal(s.points[id], n, `${where}: points of ${id}`);
    }
    assert.equal(s.legend.length, new Set(Object.keys(expected)).size, `${where}: legend`);

    const zip = await downloadOf(page, '#export-zip');
    assert.equal(zip.name, `${kind}_${value}${kind === 'isobar' ? 'bar' : 'C'}.zip`);
    const files = unzipSync(new Uint8Array(zip.bytes));
    assert.deepEqual(Object.keys(files).sort(), Object.keys(run.files).sort(), `${where}: zip`);
    for (const [name, data] of Object.entries(files)) {
      assert.equal(firstDifference(strFromU8(data, true), run.files[name]), null, `${where}: zipped ${name}`);
    }
    const one = await downloadOf(page, '#files li:last-child button');
    assert.equal(firstDifference(one.bytes.toString('latin1'), run.files[one.name]), null, `${where}: ${one.name}`);
    assert.deepEqual(page.errors, []);
    await page.close();
  }
});

test('the csv and json downloads are the engine\'s bytes of the section', async () => {
  for (const [kind, value] of [['isobar', '300'], ['isotherm', '-20'], ['isotherm', '800.69']]) {
    const where = `${kind} ${value}`;
    const page = await openPage(browser.context, pageFile, `?${kind}=${value}`);
    for (const format of ['csv', 'json']) {
      const file = await downloadOf(page, `#export-${format}`);
      const expected = await page.evaluate(([k, v, f]) => ({
        name: window.quarvessin.sectionFileName(k, Number(v), f),
        bytes: window.quarvessin.formatSection(k, Number(v), f),
      }), [kind, value, format]);
      assert.equal(file.name, expected.name, where);
      assert.equal(file.bytes.toString('utf8'), expected.bytes, `${where}: ${format}`);
    }
    assert.deepEqual(page.errors, []);
    await page.close();
  }
});

// The labels the plot draws, as drawn: text and place (read back from the
// canvas position), and the section's fields.
const drawnLabels = (page) => page.evaluate(async () => {
  const { plot, section } = window.quarvessinExplorer;
  const u = plot.u;
  const drawn = [];
  const draw = plot.drawLabels;
  plot.drawLabels = function (v) {
    const fillText = v.ctx.fillText;
    v.ctx.fillText = function (text, x, y) {
      drawn.push({ name: text, x: v.posToVal(x, 'x', true), y: v.posToVal(y, 'y', true),
        inside: x >= v.bbox.left && x <= v.bbox.left + v.bbox.width && y >= v.bbox.top && y <= v.bbox.top + v.bbox.height });
      return fillText.apply(this, arguments);
    };
    try { draw.call(this, v); } finally { v.ctx.fillText = fillText; }
  };
  try {
    u.redraw(false, false);
    await new Promise((resolve) => setTimeout(resolve, 50));  // uPlot draws in a microtask
  } finally {
    plot.drawLabels = draw;
  }
  return { drawn, fields: section.fields, kind: section.kind, value: section.value };
});

test('every label drawn names the assemblage the point query gives where it is drawn', async () => {
  for (const query of ['?isotherm=800', '?isotherm=790', '?isotherm=800.69', '?isobar=300', '?isobar=1000']) {
    const page = await openPage(browser.context, pageFile, query);
    await labelsPlaced(page);
    const { drawn, fields, kind, value } = await drawnLabels(page);
    // The engine's fields, all of them drawn inside the plot.
    const engine = await page.evaluate(([k, v]) => {
      const s = window.quarvessin.computeSection(k, v, { fine: true, fields: true });
      try { return s.fields; } finally { s.delete(); }
    }, [kind, value]);
    assert.deepEqual(fields, engine, query);
    assert.deepEqual(drawn.map((d) => d.name), fields.map((f) => f.name), `${query}: labels drawn`);
    assert.ok(fields.length >= 3, `${query}: ${fields.length} labels`);
    for (const [i, d] of drawn.entries()) {
      assert.ok(d.inside, `${query}: ${d.name} outside the plot`);
      const answer = await page.evaluate(([k, v, x, y]) => {
        const [t, p] = k === 'isobar' ? [y, v] : [v, y];
        return window.quarvessin.queryPoint(t, p, x);
      }, [kind, value, d.x, d.y]);
      assert.equal(answer.accepted, true, `${query}: ${answer.refusal}`);
      assert.equal(answer.assemblage, fields[i].assemblage, `${query}: "${d.name}" drawn at ${d.x} wt%, ${d.y}`);
    }
    assert.deepEqual(page.errors, []);
    await page.close();
  }
});

test('display text: "vapour", and °C after every temperature', async () => {
  for (const query of ['?isotherm=-20', '?isotherm=800', '?isobar=300', '?isotherm=900']) {
    const page = await openPage(browser.context, pageFile, query);
    await page.evaluate(() => new Promise((resolve) => setTimeout(resolve, 300)));
    // Everything a reader sees but the console program's own text and file names.
    const text = await page.evaluate(() => {
      const body = document.body.cloneNode(true);
      for (const id of ['console', 'files']) body.querySelector(`#${id}`).remove();
      // The text of a detached copy includes its scripts' and styles'.
      for (const e of body.querySelectorAll('script, style')) e.remove();
      const { layout } = window.quarvessinExplorer.plot;
      return [body.innerText, layout.xLabel, layout.yLabel].join('\n');
    });
    // Prose says "vapour"; boundary names ("vapor+halite", as in the file
    // names) are identities the engine's warnings quote.
    assert.doesNotMatch(text.replace(/[a-z]+(\+[a-z]+)+/g, ''), /vapor\b/, query);
    assert.doesNotMatch(text, /\d C\b/, `${query}: a temperature without °`);
    if (query.startsWith('?isotherm')) assert.match(text, /temperature \[°C\]/, query);
    if (query === '?isotherm=-20') assert.match(text, /below 0 °C/, 'the warning');
    assert.deepEqual(page.errors, []);
    await page.close();
  }
});

test('every accepted section draws; refused values and hostile addresses are named, nothing escapes', async () => {
  // Far below the correlations: pressures down to 5e-324 bar on the log axis.
  const page = await openPage(browser.context, pageFile, '?isotherm=-237.5');
  const s = await shown(page);
  assert.equal(s.message, '');
  assert.ok(Object.values(s.points).reduce((a, b) => a + b, 0) > 100, JSON.stringify(s.points));
  const axis = await page.evaluate(() => {
    const u = window.quarvessinExplorer.plot.u;
    return { min: u.scales.y.min, max: u.scales.y.max, labels: u.axes[1]._values };
  });
  assert.ok(axis.min > 0 && axis.max > axis.min && Number.isFinite(axis.max), JSON.stringify(axis));
  assert.ok(axis.labels.length >= 3 && axis.labels.every((t) => t !== ''), JSON.stringify(axis.labels));
  const share = await colourShares(page, await page.screenshot(), ['#1e8f3a']);
  assert.ok(share.colours[0] > 0.0003, `three-phase line not drawn: ${share.colours[0]}`);
  assert.deepEqual(page.errors, []);
  await page.close();

  const hostile = [
    ['?isobar=0.9999999999999999', 'isobar', 0.9999999999999999], ['?isotherm=-273.15', 'isotherm', -273.15],
    ['?isotherm=-1e300', 'isotherm', -1e300], ['?isobar=1e999', 'isobar', Infinity], ['?isothermal=800.7', 'isotherm', 800.7],
    ['?isobar=%ZZ', 'isobar'], ['?isobar=', 'isobar'], ['?isotherm=NaN', 'isotherm'], ['?isobar=0x10', 'isobar'],
    [`?isobar=${'9'.repeat(4000)}`, 'isobar', Infinity], ['?isobar=%E2%80%AE300', 'isobar'],
    [`?isotherm=${'x'.repeat(100000)}`, 'isotherm'], ['?isotherms=-20&isobar=300', 'isotherm', -20, true], ['?isobars=1e-0', 'isobar', 1, true],
    ['?isotherm=1e-400', 'isotherm', 0, true], ['?nothing=1', 'isobar', 300, true],
  ];
  for (const [query, kind, value, accepted] of hostile) {
    const p = await openPage(browser.context, pageFile, query);
    const h = await shown(p);
    const drawnPoints = Object.values(h.points).reduce((a, b) => a + b, 0);
    assert.equal(h.kind, kind, query);
    if (accepted) {
      assert.ok(drawnPoints > 0 && h.message === '', `${query}: ${h.message}`);
      assert.equal(h.files.length > 0, true, query);
      assert.ok(h.title.endsWith(` at ${value} ${kind === 'isobar' ? 'bar' : '°C'}`), `${query}: ${h.title}`);
    } else if (value !== undefined) {
      // Refused: the engine's refusal, the value in its shortest exact form.
      const refusal = await p.evaluate(([k, v]) => window.quarvessin.valueRefusal(k, v), [kind, value]);
      assert.equal(h.message, pageWords(refusal), query);
      assert.equal(drawnPoints, 0, query);
      assert.match(h.title, /: refused$/);
    } else {
      assert.match(h.message, /is not a number/, query);
      assert.ok(h.message.length < 200, `${query.slice(0, 20)}: a message of ${h.message.length} characters`);
      assert.equal(drawnPoints, 0, query);
    }
    assert.deepEqual(p.errors, [], query);
    await p.close();
  }
});

test('a refused value shows the console\'s words and plots nothing stale', { skip: !plotdata && 'QUARVESSIN_PLOTDATA not set' }, async () => {
  const page = await openPage(browser.context, pageFile, '?isobar=300');
  for (const [kind, value] of [['isobar', '6000'], ['isobar', '0.5'], ['isotherm', '900']]) {
    const run = consoleRun(kind, value);
    if ((await shown(page)).kind !== kind) await afterDraw(page, () => page.check(`input[name=kind][value=${kind}]`));
    await afterDraw(page, () => page.fill('#value', value));
    const s = await shown(page);
    assert.equal(s.console, run.text, `${kind} ${value}`);
    assert.deepEqual(Object.keys(run.files), []);
    assert.deepEqual(s.files, []);
    assert.deepEqual(s.legend, []);
    assert.ok(Object.values(s.points).every((n) => n === 0), `${kind} ${value}: stale points ${JSON.stringify(s.points)}`);
    assert.equal(s.zipDisabled, true);
    assert.match(s.title, /refused/);
    assert.equal(s.message, await page.evaluate(([k, v]) => window.quarvessin.valueRefusal(k, Number(v)), [kind, value])
      .then(pageWords), `${kind} ${value}`);
    // Back to a valid value: the section is drawn again.
    await afterDraw(page, () => page.fill('#value', kind === 'isobar' ? '300' : '400'));
    assert.ok(Object.values((await shown(page)).points).some((n) => n > 0));
  }
  // Text that is not a number: said so, nothing drawn.
  await afterDraw(page, () => page.fill('#value', '3OO'));
  const s = await shown(page);
  assert.match(s.message, /not a number/);
  assert.ok(Object.values(s.points).every((n) => n === 0));
  assert.equal(await page.getAttribute('#value', 'aria-invalid'), 'true');
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('typing, the slider and the keyboard change the section; the URL round-trips', async () => {
  const page = await openPage(browser.context, pageFile, '?isobar=300');
  let s = await shown(page);
  assert.equal(s.value, '300');
  assert.ok(s.files.every((f) => f.endsWith('_300.000000bar.dat')));

  // Typing: the section follows; Enter records it in the history.
  await afterDraw(page, () => page.fill('#value', '2000'));
  await page.press('#value', 'Enter');
  s = await shown(page);
  assert.deepEqual(s.files.sort(), ['liquid+halite_2000.000000bar.dat', 'vapor+liquid_2000.000000bar.dat']);
  assert.equal(s.search, '?isobar=2000');

  // The slider from the keyboard: Tab from the value field, then keys.
  await page.focus('#value');
  await page.keyboard.press('Tab');
  assert.equal(await page.evaluate(() => document.activeElement.id), 'slider');
  await afterDraw(page, () => page.keyboard.press('End'));
  s = await shown(page);
  assert.equal(s.value, '5000');
  assert.deepEqual(s.files, ['liquid+halite_5000.000000bar.dat']);
  await afterDraw(page, () => page.keyboard.press('Home'));
  assert.equal((await shown(page)).value, '1');
  await afterDraw(page, () => page.keyboard.press('ArrowRight'));
  s = await shown(page);
  assert.ok(Number(s.value) > 1 && Number(s.value) < 1.05, s.value);
  // On through positions whose rounded values repeat (1.03 bar at two):
  // the slider does not jump back.
  for (let i = 0; i < 9; i++) await afterDraw(page, () => page.keyboard.press('ArrowRight'));
  s = await shown(page);
  assert.equal(await page.inputValue('#slider'), '10');
  assert.ok(Number(s.value) >= 1.08, s.value);
  assert.ok(s.files[0].includes(`_${Number(s.value).toFixed(6)}bar`), s.files[0]);

  // Dragging the slider with the mouse moves through the section.
  const box = await page.locator('#slider').boundingBox();
  await page.mouse.move(box.x + 4, box.y + box.height / 2);
  await page.mouse.down();
  const seen = new Set();
  for (const f of [0.2, 0.5, 0.8]) {
    await afterDraw(page, () => page.mouse.move(box.x + box.width * f, box.y + box.height / 2));
    seen.add((await shown(page)).value);
  }
  const labelledBefore = await page.evaluate(() => window.quarvessinExplorer.labelled);
  await page.mouse.up();
  assert.equal(seen.size, 3, `values while dragging: ${[...seen]}`);
  // Once the slider rests, the labels of the section it rests on.
  await page.waitForFunction((n) => window.quarvessinExplorer.labelled > n, labelledBefore);
  const rest = await page.evaluate(() => {
    const { section } = window.quarvessinExplorer;
    const s = window.quarvessin.computeSection(section.kind, section.value, { fine: true, fields: true });
    try { return { drawn: window.quarvessinExplorer.plot.labels, fields: s.fields }; } finally { s.delete(); }
  });
  assert.ok(rest.fields.length > 0);
  assert.deepEqual(rest.drawn, rest.fields);

  // The kind from the keyboard: the radio group with arrow keys.
  await page.focus('input[name=kind]:checked');
  await afterDraw(page, () => page.keyboard.press('ArrowRight'));
  s = await shown(page);
  assert.equal(s.kind, 'isotherm');
  assert.equal(s.value, '400');
  assert.equal(s.search, '?isotherm=400');
  assert.ok(s.files.every((f) => f.endsWith('_400.000000c.dat')));
  await afterDraw(page, () => page.press('#slider', 'ArrowLeft'));
  assert.equal((await shown(page)).value, '399');
  // The slider's ends: the floor of its temperatures and the highest
  // temperature the kind accepts at the page's resolution, just below 800.7 C.
  await afterDraw(page, () => page.press('#slider', 'End'));
  s = await shown(page);
  assert.equal(s.value, '800.69');
  assert.ok(s.files.every((f) => f.endsWith('_800.690000c.dat')));
  await afterDraw(page, () => page.press('#slider', 'Home'));
  assert.equal((await shown(page)).value, '-20');
  await afterDraw(page, () => page.fill('#value', '400'));

  // The URL opens the same section; back returns to the earlier ones.
  const reopened = await openPage(browser.context, pageFile, '?isotherm=373.976');
  s = await shown(reopened);
  assert.equal(s.kind, 'isotherm');
  assert.equal(s.value, '373.976');
  assert.ok(s.files.every((f) => f.endsWith('_373.976000c.dat')));
  await reopened.close();
  await afterDraw(page, () => page.goBack());
  s = await shown(page);
  assert.equal(s.kind, 'isobar');
  assert.equal(s.search.startsWith('?isobar='), true);
  assert.ok(s.files.every((f) => f.includes(`_${Number(s.value).toFixed(6)}bar`)));
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('hover, zoom, exports of the picture and the data', async () => {
  const page = await openPage(browser.context, pageFile, '?isobar=300');
  // Hover over a point of the halite liquidus.
  const target = await page.evaluate(() => {
    const { plot } = window.quarvessinExplorer;
    const [xs, ys] = plot.data[2];
    const i = Math.floor(xs.length / 3);
    const r = plot.u.over.getBoundingClientRect();
    return { x: r.left + plot.u.valToPos(xs[i], 'x'), y: r.top + plot.u.valToPos(ys[i], 'y') };
  });
  await page.mouse.move(target.x, target.y);
  await page.waitForSelector('#tooltip:not([hidden])');
  assert.match(await page.textContent('#tooltip'), /^halite liquidus: NaCl [\d.]+ wt%, temperature [\d.]+ °C$/);

  // Zoom in from the keyboard, reset with the button.
  const range = () => page.evaluate(() => {
    const { u } = window.quarvessinExplorer.plot;
    return [u.scales.x.min, u.scales.x.max, u.scales.y.min, u.scales.y.max];
  });
  const full = await range();
  await page.focus('#zoom-in');
  await page.keyboard.press('+');
  const zoomed = await range();
  assert.ok(zoomed[1] - zoomed[0] < 0.6 * (full[1] - full[0]));
  await page.click('#zoom-reset');
  assert.deepEqual(await range(), full);


  const svg = (await downloadOf(page, '#export-svg')).bytes.toString('utf8');
  assert.match(svg, /^<svg xmlns="http:\/\/www.w3.org\/2000\/svg"/);
  for (const colour of ['#1f5fbf', '#c0392b', '#1e8f3a', '#8e44ad']) assert.ok(svg.includes(`stroke="${colour}"`), colour);
  assert.ok(await page.evaluate((text) => !new DOMParser().parseFromString(text, 'image/svg+xml').querySelector('parsererror'), svg));

  const png = await downloadOf(page, '#export-png');
  assert.equal(png.name, 'isobar_300bar.png');
  assert.deepEqual([...png.bytes.subarray(0, 8)], [137, 80, 78, 71, 13, 10, 26, 10]);
  assert.deepEqual(page.errors, []);
  await page.close();
});

// Share of the screenshot's pixels near a colour, counted in the page.
async function colourShares(page, png, colours) {
  return page.evaluate(async ([data, cols]) => {
    const img = new Image();
    img.src = `data:image/png;base64,${data}`;
    await img.decode();
    const c = document.createElement('canvas');
    c.width = img.width;
    c.height = img.height;
    const ctx = c.getContext('2d');
    ctx.drawImage(img, 0, 0);
    const px = ctx.getImageData(0, 0, c.width, c.height).data;
    const rgb = cols.map((h) => [1, 3, 5].map((k) => parseInt(h.slice(k, k + 2), 16)));
    const hits = rgb.map(() => 0);
    let nonWhite = 0;
    for (let i = 0; i < px.length; i += 4) {
      if (px[i] < 240 || px[i + 1] < 240 || px[i + 2] < 240) nonWhite++;
      rgb.forEach((c, k) => {
        if (Math.abs(px[i] - c[0]) + Math.abs(px[i + 1] - c[1]) + Math.abs(px[i + 2] - c[2]) < 40) hits[k]++;
      });
    }
    const n = px.length / 4;
    return { nonWhite: nonWhite / n, colours: hits.map((h) => h / n) };
  }, [png.toString('base64'), colours]);
}

test('the screenshot shows the section at desktop and phone size', async () => {
  for (const viewport of [{ width: 1280, height: 800 }, { width: 390, height: 844 }]) {
    const b = await launch({ viewport });
    try {
      const page = await openPage(b.context, pageFile, '?isobar=300');
      // Readable without sideways scrolling, the plot on the first screen.
      const layout = await page.evaluate(() => ({
        scroll: document.scrollingElement.scrollWidth,
        plot: document.getElementById('plot').getBoundingClientRect().toJSON(),
      }));
      assert.ok(layout.scroll <= viewport.width, `page ${layout.scroll} px wide at ${viewport.width}`);
      assert.ok(layout.plot.width >= viewport.width * 0.6 && layout.plot.top < viewport.height * 0.6, JSON.stringify(layout.plot));
      const shot = await page.screenshot();
      const share = await colourShares(page, shot, ['#1f5fbf', '#c0392b', '#1e8f3a']);
      assert.ok(share.nonWhite > 0.02, `blank screenshot: ${share.nonWhite}`);
      share.colours.forEach((c, k) => assert.ok(c > 0.0003, `boundary colour ${k} missing at ${viewport.width} px: ${c}`));
      assert.deepEqual(page.errors, []);
    } finally {
      await b.close();
    }
  }
});

// The plot's canvas position of the point (x, y) of its axes, in page px.
const plotPosition = (page, x, y) => page.evaluate(([px, py]) => {
  const u = window.quarvessinExplorer.plot.u;
  const r = u.over.getBoundingClientRect();
  return [r.left + u.valToPos(px, 'x'), r.top + u.valToPos(py, 'y')];
}, [x, y]);

test('the isopleth and projection views draw; the projection marks the chosen isobar, isotherm and isopleth', async () => {
  const page = await openPage(browser.context, pageFile, '?isopleth=10');
  let s = await shown(page);
  assert.equal(s.kind, 'isopleth');
  assert.match(s.title, /isoplethal section at 10 wt%/);
  assert.ok(s.points['vapor+liquid'] > 20 && s.points['three-phase'] > 20, JSON.stringify(s.points));
  assert.deepEqual(s.files, ['liquid+vapor_10.000000wt.dat', 'vapor+liquid+halite_10.000000wt.dat', 'vapor+halite_10.000000wt.dat']);
  // Temperature across, pressure up on a logarithmic axis; the wt% axis choice is off.
  const layout = await page.evaluate(() => ({ ...window.quarvessinExplorer.plot.layout, logxDisabled: document.getElementById('logx').disabled,
    x: [window.quarvessinExplorer.plot.u.scales.x.min, window.quarvessinExplorer.plot.u.scales.x.max] }));
  assert.deepEqual([layout.xLabel, layout.yLabel, layout.logY, layout.logx, layout.logxDisabled, layout.x],
    ['temperature [°C]', 'pressure [bar]', true, false, true, [0, 1000]]);
  // The composition slider: logarithmic, so its middle is near 3 wt%, not 50.
  await afterDraw(page, () => page.evaluate(() => {
    const slider = document.getElementById('slider');
    slider.value = String(Number(slider.max) / 2);
    slider.dispatchEvent(new Event('input', { bubbles: true }));
  }));
  s = await shown(page);
  assert.ok(Number(s.value) > 2 && Number(s.value) < 5, s.value);
  assert.equal(s.search, `?isopleth=${s.value}`);
  // The isobar and isotherm chosen before are marked on the projection, with the isopleth's curves.
  await afterDraw(page, () => page.check('input[name=kind][value=isobar]'));
  await page.fill('#value', '250');
  await page.press('#value', 'Enter');
  await afterDraw(page, () => page.check('input[name=kind][value=projection]'));
  s = await shown(page);
  assert.equal(s.search, '?projection');
  assert.match(s.title, /projection/);
  assert.ok(s.points.critical > 10 && s.points['water-liquid+vapor'] > 10 && s.points['three-phase'] > 10, JSON.stringify(s.points));
  const marks = await page.evaluate(() => ({ hidden: document.getElementById('value-row').hidden,
    overlays: window.quarvessinExplorer.plot.overlays.map((o) => ({ type: o.type, x: o.x?.length ?? o.x, y: o.y?.length ?? o.y, label: o.label })) }));
  assert.equal(marks.hidden, true);
  const isobar = marks.overlays.find((o) => o.type === 'hline');
  const isotherm = marks.overlays.find((o) => o.type === 'vline');
  assert.deepEqual([isobar.y, isobar.label, isotherm.x, isotherm.label], [250, 'isobar 250 bar', 400, 'isotherm 400 °C']);
  const isopleth = marks.overlays.filter((o) => o.type === 'path');
  assert.ok(isopleth.length >= 2 && isopleth[0].label.startsWith('isopleth ') && isopleth[0].x > 50, JSON.stringify(isopleth));
  // The address ?projection opens it again; a value given to it is ignored.
  const again = await openPage(browser.context, pageFile, '?projection=7');
  s = await shown(again);
  assert.deepEqual([s.kind, s.message], ['projection', '']);
  assert.ok(s.points.critical > 10);
  assert.deepEqual([...page.errors, ...again.errors], []);
  await again.close();
  await page.close();
});

test('a click on the plot shows the engine\'s phase state there', async () => {
  const page = await openPage(browser.context, pageFile, '?isopleth=10');
  for (const [t, p] of [[600, 300], [300, 2000], [500, 1]]) {
    const [px, py] = await plotPosition(page, t, p);
    await page.mouse.click(px, py);
    const r = await page.evaluate(() => {
      const { picked } = window.quarvessinExplorer;
      const q = window.quarvessin;
      const at = q.statePoint('isopleth', 10, picked.x, picked.y);
      return { picked, expected: q.phaseState(at.tC, at.pBar, at.wt), lines: [...document.querySelectorAll('#phase-state div')].map((d) => d.textContent) };
    });
    // The click's point, to a pixel, and the state the module gives there.
    assert.ok(Math.abs(r.picked.at.tC - t) < 3 && Math.abs(Math.log10(r.picked.at.pBar / p)) < 0.03, JSON.stringify(r.picked.at));
    assert.equal(r.picked.at.wt, 10);
    assert.deepEqual(r.picked.state, r.expected);
    const names = r.expected.assemblage.split('+').map((w) => (w === 'vapor' ? 'vapour' : w)).join(' + ');
    assert.equal(r.lines[1], names, JSON.stringify(r.lines));
    // A line per phase present, with its composition.
    assert.equal(r.lines.length - 2, r.expected.assemblage.split('+').length, JSON.stringify(r.lines));
  }
  // Liquid at 300 C and 2000 bar: one phase of the mixture's composition.
  const lines = await page.evaluate(() => [...document.querySelectorAll('#phase-state div')].map((d) => d.textContent));
  assert.ok(lines.some((l) => l.startsWith('vapour: ')), 'the last point, at 1 bar and 500 C, is vapour + halite');
  // A drag zooms and picks nothing.
  const before = await page.evaluate(() => window.quarvessinExplorer.picked.x);
  const [ax, ay] = await plotPosition(page, 200, 10);
  await page.mouse.move(ax, ay);
  await page.mouse.down();
  await page.mouse.move(ax + 80, ay + 60, { steps: 5 });
  await page.mouse.up();
  assert.equal(await page.evaluate(() => window.quarvessinExplorer.picked.x), before);
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('the inclusion form answers with the engine and marks the inclusion on its isopleth', async () => {
  const page = await openPage(browser.context, pageFile, '?isobar=300');
  await page.fill('#inc-tm-halite', '300');
  await afterDraw(page, () => page.click('#inc-answer'));
  let r = await page.evaluate(() => ({ result: window.quarvessinExplorer.inclusionResult, text: document.getElementById('inc-result').textContent }));
  assert.equal(r.result.wt_percent.toFixed(2), '37.72');
  assert.match(r.text, /^salinity 37\.7199 wt% NaCl/);
  let s = await shown(page);
  assert.deepEqual([s.kind, Number(s.value)], ['isopleth', r.result.wt_percent]);
  // Ice melting at -5 C and homogenisation to liquid at 200 C: its point on the bubble curve.
  await page.fill('#inc-tm-halite', '');
  await page.fill('#inc-tm-ice', '-5');
  await page.fill('#inc-th', '200');
  await page.selectOption('#inc-to', 'liquid');
  await afterDraw(page, () => page.click('#inc-answer'));
  r = await page.evaluate(() => ({ result: window.quarvessinExplorer.inclusionResult,
    mark: window.quarvessinExplorer.plot.overlays.find((o) => o.label.startsWith('inclusion')), value: window.quarvessinExplorer.value }));
  assert.equal(r.result.wt_percent.toFixed(2), '7.86');
  assert.equal(r.value, r.result.wt_percent);
  assert.deepEqual([r.mark.x, r.mark.y], [200, r.result.homogenization_pressure_bar]);
  // The mark lies on the isopleth's vapour + liquid curve, drawn through the section's points.
  const near = await page.evaluate(([t, p]) => {
    const { section } = window.quarvessinExplorer;
    const vl = section.boundaries.find((b) => b.id === 'vapor+liquid');
    // log P of the curve at t, between the two points about it.
    let best = Infinity;
    for (const piece of vl.pieces) {
      for (let i = 1; i < piece.x.length; i++) {
        const [t0, t1] = [piece.x[i - 1], piece.x[i]];
        if ((t0 - t) * (t1 - t) > 0 || t0 === t1) continue;
        const f = (t - t0) / (t1 - t0);
        const logP = (1 - f) * Math.log(piece.y[i - 1]) + f * Math.log(piece.y[i]);
        best = Math.min(best, Math.abs(logP - Math.log(p)));
      }
    }
    return best;
  }, [200, r.result.homogenization_pressure_bar]);
  assert.ok(near < 0.01, `the inclusion lies ${near} (log) from the bubble curve`);
  // A refusal is shown and nothing is switched.
  await page.fill('#inc-tm-ice', '-30');
  await page.click('#inc-answer');
  const refused = await page.evaluate(() => ({ cls: document.getElementById('inc-result').className, text: document.getElementById('inc-result').textContent }));
  assert.equal(refused.cls, 'refused');
  assert.match(refused.text, /-30/);
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('the 3-D view draws the surfaces and its plane follows the 2-D slider', async () => {
  const page = await openPage(browser.context, pageFile, '?isobar=300&view=3d');
  await page.waitForFunction(() => window.quarvessinExplorer.first3d !== null, null, { timeout: 20000 });
  const first = await page.evaluate(() => ({ first: window.quarvessinExplorer.first3d, plane: window.quarvessinExplorer.plane3d, search: location.search }));
  assert.ok(first.first < 2000 * 3, `first 3-D view after ${first.first} ms`);  // under 2 s on its own; the tests share the machine
  assert.deepEqual([first.plane.kind, first.plane.value, first.search], ['isobar', 300, '?isobar=300&view=3d']);
  // The shares of blue (vapour + liquid), red (liquidus) and green
  // (three-phase) pixels, by hue: the surfaces are lit and translucent.
  const picture = async () => {
    await page.evaluate(() => window.quarvessinExplorer.view3d.render());
    const png = await page.locator('#plot3d canvas').screenshot();
    return page.evaluate(async (data) => {
      const img = new Image();
      img.src = `data:image/png;base64,${data}`;
      await img.decode();
      const c = document.createElement('canvas');
      [c.width, c.height] = [img.width, img.height];
      const ctx = c.getContext('2d');
      ctx.drawImage(img, 0, 0);
      const px = ctx.getImageData(0, 0, c.width, c.height).data;
      const hits = [0, 0, 0];
      let nonWhite = 0;
      for (let i = 0; i < px.length; i += 4) {
        const [r, g, b] = [px[i], px[i + 1], px[i + 2]];
        if (r < 240 || g < 240 || b < 240) nonWhite++;
        if (b > r + 40 && b > g + 20) hits[0]++;
        if (r > g + 50 && r > b + 50) hits[1]++;
        if (g > r + 30 && g > b + 10) hits[2]++;
      }
      const n = px.length / 4;
      return { nonWhite: nonWhite / n, colours: hits.map((h) => h / n) };
    }, png.toString('base64'));
  };
  const at300 = await picture();
  assert.ok(at300.nonWhite > 0.1, `blank 3-D view: ${at300.nonWhite}`);
  at300.colours.forEach((c, k) => assert.ok(c > 0.002, `surface colour ${k} missing: ${JSON.stringify(at300)}`));
  // The slider moves the plane: the state says where, the picture changes.
  await afterDraw(page, () => page.evaluate(() => {
    const slider = document.getElementById('slider');
    slider.value = String(Number(slider.max));
    slider.dispatchEvent(new Event('input', { bubbles: true }));
  }));
  const moved = await page.evaluate(() => window.quarvessinExplorer.plane3d);
  assert.deepEqual([moved.kind, moved.value, moved.set > first.plane.set], ['isobar', 5000, true]);
  const at5000 = await picture();
  assert.ok(Math.abs(at5000.nonWhite - at300.nonWhite) > 1e-4 || at5000.colours.some((c, k) => c !== at300.colours[k]), 'the picture did not change');
  // An isopleth's plane, and none for the projection.
  await afterDraw(page, () => page.check('input[name=kind][value=isopleth]'));
  assert.deepEqual(await page.evaluate(() => [window.quarvessinExplorer.plane3d.kind, window.quarvessinExplorer.plane3d.value]), ['isopleth', 10]);
  // Hiding a boundary in the legend hides its surfaces.
  await page.click('#legend button[data-id="vapor+liquid"]');
  const hidden = await picture();
  assert.ok(hidden.colours[0] < at300.colours[0] / 3, `the vapour + liquid surfaces still drawn: ${hidden.colours[0]}`);
  assert.deepEqual(page.errors, []);
  await page.close();
});
