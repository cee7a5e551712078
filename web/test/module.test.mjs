// The engine compiled to WebAssembly, in Node.js: its files and console text
// equal the native engine's for fifty sections and the console program's
// frozen runs; the shape of its JavaScript interface.
//   QUARVESSIN_MODULE          web build output quarvessin.js
//   QUARVESSIN_FORMAT_SECTIONS native helper tests/web/format_sections
//   QUARVESSIN_GOLDEN          tests/golden
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { createRequire } from 'node:module';
import { existsSync, readdirSync, readFileSync, statSync } from 'node:fs';
import { join } from 'node:path';
import { ISOBARS, ISOTHERMS, KNOWN_DIFFERENCES, REFUSED, firstDifference, nativeSections, pointLines } from './sections.mjs';

const require = createRequire(import.meta.url);
const modulePath = process.env.QUARVESSIN_MODULE || new URL('../build/quarvessin.js', import.meta.url).pathname;
const helper = process.env.QUARVESSIN_FORMAT_SECTIONS;
const golden = process.env.QUARVESSIN_GOLDEN || new URL('../../tests/golden', import.meta.url).pathname;

const q = await require(modulePath)();

function expectSameSection(kind, value, native) {
  const where = `${kind} ${value}`;
  const s = q.computeSection(kind, Number(value));
  assert.equal(s.accepted, native.accepted, where);
  assert.equal(s.console, native.console, `${where}: console text`);
  assert.deepEqual(s.boundaries.map((b) => b.fileName), native.files.map((f) => f.name), `${where}: files`);
  native.files.forEach((f, i) => {
    const text = q.formatBoundary(kind, Number(value), i);
    assert.equal(firstDifference(text, f.text), null, `${where}: ${f.name}`);
    const points = s.boundaries[i].pieces.reduce((n, p) => n + p.x.length, 0);
    assert.equal(points, pointLines(f.text), `${where}: points of ${f.name}`);
  });
}

test('fifty sections of both kinds equal the native engine byte for byte', { skip: !helper && 'QUARVESSIN_FORMAT_SECTIONS not set' }, () => {
  const known = new Set(KNOWN_DIFFERENCES.map((p) => p.join(' ')));
  const pairs = [...ISOBARS.map((v) => ['isobar', v]), ...ISOTHERMS.map((v) => ['isotherm', v]), ...REFUSED]
    .filter((p) => !known.has(p.join(' ')));
  assert.ok(pairs.length - REFUSED.length >= 50);
  const native = nativeSections(helper, pairs);
  assert.equal(native.length, pairs.length);
  let files = 0;
  for (const [i, [kind, value]] of pairs.entries()) {
    expectSameSection(kind, value, native[i]);
    files += native[i].files.length;
  }
  assert.ok(files > 120, `only ${files} files compared`);
  for (const [kind, value] of REFUSED) {
    const s = q.computeSection(kind, Number(value));
    assert.equal(s.accepted, false, `${kind} ${value}`);
    assert.equal(s.boundaries.length, 0);
    assert.equal(q.sectionAccepted(kind, Number(value)), false);
  }
});

test('the known WebAssembly differences stay as documented', { skip: !helper && 'QUARVESSIN_FORMAT_SECTIONS not set' }, () => {
  // -8 C: the same files but for the sign written for not-a-number; 250 C:
  // the same console text and files but for the vapour-liquid loop, where one
  // step of the pressure loop falls on the other side of its bound.
  const native = nativeSections(helper, KNOWN_DIFFERENCES);
  const unsigned = (text) => text.replaceAll('-nan', 'nan');
  KNOWN_DIFFERENCES.forEach(([kind, value], i) => {
    const where = `${kind} ${value}`;
    const s = q.computeSection(kind, Number(value));
    assert.equal(s.console, native[i].console, where);
    let differing = 0;
    native[i].files.forEach((f, j) => {
      const text = q.formatBoundary(kind, Number(value), j);
      if (text === f.text) return;
      differing += 1;
      if (value === '-8') assert.equal(unsigned(text), unsigned(f.text), `${where}: ${f.name}`);
      else assert.equal(f.name, 'liquid+vapor_250.000000c.dat', where);
    });
    assert.equal(differing > 0, true, `${where} now equals the native files: remove it from the known differences`);
  });
});

test('the frozen console runs: files and console text', () => {
  const runs = readdirSync(golden).filter((run) => statSync(join(golden, run)).isDirectory());
  assert.ok(runs.length >= 10);
  for (const run of runs) {
    const dir = join(golden, run);
    const [choice, value] = readFileSync(join(dir, 'input.txt'), 'utf8').split('\n');
    const kind = choice.trim() === '1' ? 'isobar' : 'isotherm';
    const stdout = readFileSync(join(dir, 'stdout.txt'), 'latin1');
    const s = q.computeSection(kind, Number(value));
    // The console program prints its prompt, then the section's text.
    assert.ok(stdout.endsWith(s.console) && s.console.length > 0, `${run}: console text`);
    const names = readdirSync(dir).filter((f) => f.endsWith('.dat')).sort();
    assert.deepEqual(s.boundaries.map((b) => b.fileName).sort(), names, run);
    s.boundaries.forEach((b, i) => {
      const expected = readFileSync(join(dir, b.fileName), 'latin1');
      assert.equal(firstDifference(q.formatBoundary(kind, Number(value), i), expected), null, `${run}: ${b.fileName}`);
    });
  }
});

test('interface: objects, typed arrays, display resolution and errors', () => {
  const s = q.computeSection('isobar', 300);
  assert.equal(s.kind, 'isobar');
  assert.equal(s.value, 300);
  assert.ok(Array.isArray(s.boundaries) && Array.isArray(s.warnings));
  for (const b of s.boundaries) {
    assert.equal(typeof b.phases, 'string');
    assert.ok(b.fileName.startsWith(`${b.phases}_`) && b.fileName.endsWith('300.000000bar.dat'));
    assert.equal(b.scientific, false);
    for (const p of b.pieces) {
      assert.ok(p.x instanceof Float64Array && p.y instanceof Float64Array);
      assert.equal(p.x.length, p.y.length);
    }
  }
  // The long names of the kinds are accepted too.
  assert.deepEqual(q.computeSection('isobaric', 300).boundaries.map((b) => b.fileName), s.boundaries.map((b) => b.fileName));

  // An isotherm's vapour + halite curve: scientific in the file, denser and
  // evenly spaced in log p at display resolution; the other boundaries alike.
  const plain = q.computeSection('isotherm', 400);
  const fine = q.computeSection('isotherm', 400, { fine: true });
  assert.deepEqual(fine.boundaries.map((b) => b.fileName), plain.boundaries.map((b) => b.fileName));
  plain.boundaries.forEach((b, i) => {
    const f = fine.boundaries[i];
    if (b.phases === 'vapor+halite') {
      assert.equal(b.scientific, true);
      const ys = f.pieces.flatMap((p) => Array.from(p.y)).filter((y) => y > 0);
      const logs = ys.map(Math.log10);
      const steps = logs.slice(1).map((v, k) => Math.abs(v - logs[k]));
      const span = Math.abs(logs[logs.length - 1] - logs[0]);
      assert.ok(span > 3, `vapour + halite spans ${span} decades`);
      assert.ok(Math.max(...steps) < span / 20, 'display resolution: no step over a twentieth of the span');
    } else {
      assert.deepEqual(f.pieces.map((p) => Array.from(p.x)), b.pieces.map((p) => Array.from(p.x)), b.phases);
      assert.deepEqual(f.pieces.map((p) => Array.from(p.y)), b.pieces.map((p) => Array.from(p.y)), b.phases);
    }
  });
  // The files keep the console's points whatever the display asked before.
  assert.equal(q.formatBoundary('isotherm', 400, plain.boundaries.findIndex((b) => b.phases === 'vapor+halite')).split('\n')[0].includes('e'), true);

  assert.throws(() => q.computeSection('isochore', 300), /isobar.*isotherm/);
  assert.throws(() => q.formatBoundary('isobar', 300, s.boundaries.length), /no boundary/);
  assert.throws(() => q.formatBoundary('isobar', 300, -1), /no boundary/);
  // A value that is not a number computes no section.
  assert.equal(q.computeSection('isobar', NaN).accepted, false);
  assert.equal(q.minSectionPressure, 1);
  assert.equal(q.maxSectionPressure, 5000);
  assert.equal(q.maxSectionTemperature, 800.7);
});
