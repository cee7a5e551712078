// Sections and comparisons shared by the module and page tests.
import { execFileSync } from 'node:child_process';

// Fifty sections of the two kinds over composition: every isobaric case and the pressures where
// the case changes, isotherms from below the freezing point of water to the
// NaCl triple point, and values the console program refuses.
export const ISOBARS = ['1', '2.5', '10', '50', '100', '150', '200', '220', '220.54915', '221', '250', '300',
  '350', '380', '390', '390.1474443379598', '391', '500', '1000', '1500', '2000', '2160', '2500', '3000', '5000'];
export const ISOTHERMS = ['-20', '-15', '-10', '-8', '0', '0.01', '1', '25', '50', '100', '150', '200', '250', '275', '300',
  '350', '373.976', '374', '400', '450', '500', '550', '600', '650', '700', '750', '800.69'];
// Sections where the WebAssembly build's mathematical functions (Emscripten's
// C library) round differently from the native ones at a point where the
// tracing decides: at 250 C one point of the vapour branch comes out as pure
// water instead of 1.22177e-18 wt% and the file has two lines fewer. At -8 C
// the native functions return a not-a-number with the sign bit set ("-nan"
// in the file) where Emscripten's leave it clear.
// Isopleths from nearly pure water to nearly pure NaCl, and the projection
// (a kind without a value: the helper is given '-').
export const ISOPLETHS = ['0.001', '1', '5', '10', '20', '26.3', '30', '40', '50', '70', '90', '99.9'];
export const PROJECTION = ['projection', '-'];
export const KNOWN_DIFFERENCES = [['isotherm', '250'], ['isotherm', '-8']];
export const REFUSED = [['isobar', '0.5'], ['isobar', '5000.0001'], ['isobar', '6000'], ['isotherm', '800.7'], ['isotherm', '1000']];
// Values the kind table refuses whatever the console program does with them:
// the shortest exact form of a value just outside a range, absolute zero and
// below, numbers that are not finite.
export const REFUSED_BY_RANGE = [['isobar', '0.9999999999999999'], ['isobar', '5000.000000000001'],
  ['isotherm', '-273.15'], ['isotherm', '-1e300'], ['isotherm', '800.7000000000001'],
  ['isobar', 'inf'], ['isotherm', '-inf'], ['isobar', 'nan']];
// A value as the helper's strtod reads it.
export const numberOf = (text) => ({ inf: Infinity, '-inf': -Infinity, nan: NaN })[text] ?? Number(text);

// Runs the native helper on [kind, value] pairs; returns one record per
// pair: { kind, value, accepted, console, files: [{ name, text }], csv, json,
// refusal } for a word of a kind (accepted: the console program's rule; csv
// and json when the kind's range accepts the value, refusal otherwise), or
// { kind, unknown } with the refusal of a word that names no kind.
export function nativeSections(helper, pairs) {
  const out = execFileSync(helper, pairs.flat(), { maxBuffer: 1 << 28 });
  const sections = [];
  let pos = 0;
  const line = () => {
    const end = out.indexOf(10, pos);
    const text = out.subarray(pos, end).toString('latin1');
    pos = end + 1;
    return text;
  };
  // The csv and json are UTF-8 ("°C"), as the module's strings decode them.
  const bytes = (n, encoding = 'latin1') => {
    const text = out.subarray(pos, pos + n).toString(encoding);
    pos += n;
    return text;
  };
  // A block's head "TAG [NAME] BYTES" and its bytes.
  const block = (tag, encoding) => {
    const head = line();
    if (!head.startsWith(`${tag} `)) throw new Error(`expected ${tag} from the helper, not: ${head}`);
    const words = head.split(' ');
    return { name: words.slice(1, -1).join(' '), text: bytes(Number(words[words.length - 1]), encoding) };
  };
  for (const [kind] of pairs) {
    if (out.subarray(pos, pos + 5).toString('latin1') === 'kind ') {
      sections.push({ kind, unknown: block('kind').text });
      continue;
    }
    const [tag, , value, state, count] = line().split(' ');
    if (tag !== 'section') throw new Error(`unexpected helper output: ${tag}`);
    const section = { kind, value, accepted: state === 'accepted', console: block('console').text, files: [] };
    for (let i = 0; i < Number(count); i++) {
      const { name, text } = block('file');
      section.files.push({ name, text });
    }
    if (out.subarray(pos, pos + 4).toString('latin1') === 'csv ') {
      section.csv = block('csv', 'utf8').text;
      section.json = block('json', 'utf8').text;
    } else {
      section.refusal = block('refusal').text;
    }
    sections.push(section);
  }
  if (pos !== out.length) throw new Error('the helper printed more than was asked');
  return sections;
}

// The first line where two file texts differ, or null when they are equal
// byte for byte (the comparison of the native end-to-end tests).
export function firstDifference(actual, expected) {
  if (actual === expected) return null;
  const a = actual.split('\n'), e = expected.split('\n');
  for (let i = 0; i < Math.max(a.length, e.length); i++) {
    if (a[i] !== e[i]) return `line ${i + 1}: ${JSON.stringify(a[i])} instead of ${JSON.stringify(e[i])}`;
  }
  return 'texts differ';
}

// Number of points of a boundary file: its lines that are not empty.
export const pointLines = (text) => text.split('\n').filter((l) => l !== '').length;

// The WebAssembly build's mathematical functions (Emscripten's C library)
// round a few results differently in the last bits from the native ones:
// the six-digit dat files rarely see it, the csv and json, which write every
// digit, do. Measured on the fifty sections: up to 2.6 % of the rows, by at
// most 2.1e-12 relative. Two texts of a section agree when they are the same
// bytes but for such numbers: every other byte equal, every number within
// `relative` of the other. Returns the first disagreement, or null, and
// counts the numbers that differ in `stats.numbers`.
const NUMBER = /-?(?:\d+\.?\d*|\.\d+)(?:e[-+]?\d+)?/g;
export function differenceBeyondRounding(actual, expected, relative, stats = {}) {
  stats.numbers = 0;
  if (actual === expected) return null;
  const a = actual.split('\n'), e = expected.split('\n');
  if (a.length !== e.length) return `${a.length} lines instead of ${e.length}`;
  for (let i = 0; i < a.length; i++) {
    if (a[i] === e[i]) continue;
    if (a[i].replace(NUMBER, '#') !== e[i].replace(NUMBER, '#')) {
      return `line ${i + 1}: ${JSON.stringify(a[i].slice(0, 200))} instead of ${JSON.stringify(e[i].slice(0, 200))}`;
    }
    const x = a[i].match(NUMBER) || [], y = e[i].match(NUMBER) || [];
    for (let k = 0; k < y.length; k++) {
      if (x[k] === y[k]) continue;
      stats.numbers++;
      const u = Number(x[k]), v = Number(y[k]);
      if (!(Math.abs(u - v) <= relative * Math.max(Math.abs(u), Math.abs(v)))) {
        return `line ${i + 1}: ${x[k]} instead of ${y[k]}`;
      }
    }
  }
  return null;
}
