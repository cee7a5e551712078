// The 3-D view module in headless Chromium: bundled with esbuild into one
// page opened from file://, it draws the surfaces (not blank), the plane of a
// section changes the picture, hovering reports a vertex of the surface under
// the pointer, and the frame time of a turning view.
//   QUARVESSIN_SURFACES_JSON  surfaces.json of `quarvessin surfaces --format
//                             json` (otherwise a small mesh made here)
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { build } from 'esbuild';
import { launch, pageUrl } from './browser.mjs';

const surfacesFile = process.env.QUARVESSIN_SURFACES_JSON;

// A small stand-in: two sheets over 0-1000 C, 1e-4-5000 bar, as the engine
// writes them (vertices [T, P, wt], triangles), and a curve.
function smallSurfaces() {
  const sheet = (name, boundary, wtOf) => {
    const vertices = [], triangles = [];
    const n = 11;
    for (let i = 0; i < n; ++i) {
      for (let j = 0; j < n; ++j) {
        const t = (1000 * i) / (n - 1), logP = -4 + (7.7 * j) / (n - 1);
        vertices.push([t, 10 ** logP, wtOf(i / (n - 1), j / (n - 1))]);
      }
    }
    for (let i = 0; i + 1 < n; ++i) {
      for (let j = 0; j + 1 < n; ++j) {
        const a = i * n + j, b = a + 1, c = a + n + 1, d = a + n;
        triangles.push([a, d, c], [a, c, b]);
      }
    }
    return { name, boundary, vertices, triangles, lines: [] };
  };
  return {
    surfaces: [
      sheet('vapor+liquid-liquid', 'vapor+liquid', (u, v) => 20 + 60 * u * (1 - v)),
      sheet('liquidus', 'liquidus', (u) => 30 + 60 * u),
      { name: 'critical-curve', boundary: 'critical', vertices: [[400, 250, 1], [800, 1500, 25]], triangles: [], lines: [[0, 1]] },
    ],
  };
}

let dir, browser, page;

before(async () => {
  dir = mkdtempSync(join(tmpdir(), 'quarvessin-view3d-'));
  const bundle = await build({
    entryPoints: [new URL('../src/view3d.js', import.meta.url).pathname],
    bundle: true, minify: true, format: 'iife', globalName: 'view3d', write: false,
  });
  const code = bundle.outputFiles[0].text;
  const json = surfacesFile ? readFileSync(surfacesFile, 'utf8') : JSON.stringify(smallSurfaces());
  const html = `<!doctype html><meta charset="utf-8"><div id="v" style="width:800px;height:600px"></div>
<script>${code.replace(/<\/script/g, '<\\/script')}</script>
<script>window.surfacesJson = ${JSON.stringify(json)};</script>`;
  writeFileSync(join(dir, 'view3d.html'), html);
  console.log(`# view3d bundle: ${code.length} bytes`);
  browser = await launch({ viewport: { width: 900, height: 700 } });
  page = await browser.context.newPage();
  page.errors = [];
  page.on('pageerror', (e) => page.errors.push(e.message));
  await page.goto(pageUrl(join(dir, 'view3d.html')));
  await page.evaluate(() => {
    window.view = view3d.createView3d(document.getElementById('v'), window.surfacesJson, {
      colours: { 'vapor+liquid': '#1f5fbf', liquidus: '#c0392b', critical: '#000000' },
      preserveDrawingBuffer: true,
    });
    window.view.render();
  });
});

after(async () => {
  if (browser) await browser.close();
  if (dir) rmSync(dir, { recursive: true, force: true });
});

// Pixels of the canvas that are not the white background, and a digest of the picture.
const picture = () => page.evaluate(() => {
  window.view.render();
  const canvas = document.querySelector('#v canvas');
  const copy = document.createElement('canvas');
  copy.width = canvas.width;
  copy.height = canvas.height;
  const ctx = copy.getContext('2d');
  ctx.drawImage(canvas, 0, 0);
  const pixels = ctx.getImageData(0, 0, copy.width, copy.height).data;
  let coloured = 0, digest = 0;
  for (let i = 0; i < pixels.length; i += 4) {
    if (pixels[i] < 240 || pixels[i + 1] < 240 || pixels[i + 2] < 240) ++coloured;
    digest = (digest * 31 + pixels[i] + 7 * pixels[i + 1] + 13 * pixels[i + 2]) % 1000000007;
  }
  return { fraction: coloured / (pixels.length / 4), digest };
});

test('the view draws the surfaces and the plane of a section cuts them', async () => {
  assert.deepEqual(page.errors, []);
  const names = await page.evaluate(() => window.view.names);
  assert.ok(names.includes('liquidus') && names.includes('critical-curve'), names.join(' '));
  const first = await picture();
  assert.ok(first.fraction > 0.05, `only ${first.fraction} of the canvas drawn`);

  await page.evaluate(() => window.view.setPlane('isobar', 300, [{ points: [[10, 400], [50, 700]], colour: '#000' }]));
  const withPlane = await picture();
  assert.notEqual(withPlane.digest, first.digest, 'the plane changed nothing');
  await page.evaluate(() => window.view.setClip(true));
  const clipped = await picture();
  assert.notEqual(clipped.digest, withPlane.digest, 'clipping changed nothing');
  await page.evaluate(() => { window.view.setClip(false); window.view.setPlane(null); });
  assert.equal((await picture()).digest, first.digest, 'the plane did not go');

  await page.evaluate(() => window.view.setVisible('liquidus', false));
  const hidden = await picture();
  assert.notEqual(hidden.digest, first.digest, 'hiding the liquidus changed nothing');
  await page.evaluate(() => window.view.setVisible('liquidus', true));
});

test('hovering a surface names it and gives one of its vertices', async () => {
  const box = await page.locator('#v canvas').boundingBox();
  let found = null;
  for (let k = 0; k < 25 && !found; ++k) {
    const x = box.x + box.width * (0.3 + 0.1 * (k % 5)), y = box.y + box.height * (0.3 + 0.1 * Math.floor(k / 5));
    found = await page.evaluate(([cx, cy]) => window.view.pick(cx, cy), [x, y]);
  }
  assert.ok(found, 'nothing under the pointer in the middle of the view');
  const isVertex = await page.evaluate((info) => {
    const data = JSON.parse(window.surfacesJson);
    const s = data.surfaces.find((q) => q.name === info.name);
    return !!s && s.vertices.some(([t, p, wt]) => t === info.T && p === info.P && wt === info.wt);
  }, found);
  assert.ok(isVertex, JSON.stringify(found));
});

test('flat typed arrays draw the same picture as the json', async () => {
  const first = await picture();
  await page.evaluate(() => {
    window.view.dispose();
    const data = JSON.parse(window.surfacesJson);
    const flat = {
      surfaces: data.surfaces.map((s) => ({
        name: s.name,
        boundary: s.boundary,
        vertices: Float64Array.from(s.vertices.flat()),
        triangles: Uint32Array.from(s.triangles.flat()),
        lines: Uint32Array.from(s.lines.flat()),
      })),
    };
    window.view = view3d.createView3d(document.getElementById('v'), flat, {
      colours: { 'vapor+liquid': '#1f5fbf', liquidus: '#c0392b', critical: '#000000' },
      preserveDrawingBuffer: true,
    });
  });
  assert.equal((await picture()).digest, first.digest);
});

test('frame time of the turning view', async () => {
  const ms = await page.evaluate(() => window.view.benchmark(60));
  console.log(`# view3d median frame time: ${ms.toFixed(2)} ms`);
  assert.ok(Number.isFinite(ms) && ms > 0);
});
