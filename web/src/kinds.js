// The page's controls for each kind of section, derived from the engine's
// kind table (q.sectionKinds()): a new kind whose value is a number with a
// range is one more row there and needs nothing here.

// How the page prints a unit of the kind table ("C" is written "°C").
const SYMBOLS = { C: '°C' };
export const unitSymbol = (unit) => SYMBOLS[unit] || unit;

// "pressure [bar]", "temperature [°C]", "NaCl [wt%]".
export const quantityLabel = (quantity) => `${quantity.name} [${unitSymbol(quantity.unit)}]`;

// An engine text for a reader of the page, a unit after a number written as
// the page prints it: "valid: above -273.15 and below 800.7 C" -> "... 800.7 °C".
export function withSymbols(text) {
  let out = text;
  for (const [unit, symbol] of Object.entries(SYMBOLS)) {
    out = out.replace(new RegExp(`(\\d) ${unit}(?![\\w+%])`, 'g'), `$1 ${symbol}`);
  }
  return out;
}

// The page's own choices, by fixed quantity: where the slider of a
// temperature starts (near the eutectic of ice + hydrohalite + liquid,
// -21.2 °C; colder sections can still be typed), and the section first shown.
const SLIDER_FLOOR = { temperature: -20 };
const OPENING = { pressure: 300, temperature: 400, NaCl: 10 };

// Positions of a logarithmic slider, and the significant digits of its values.
const LOG_POSITIONS = 1000;
const LOG_DIGITS = 3;

// Digits after the decimal point of the shortest form of a number.
const decimals = (text) => (/\.(\d+)$/.exec(text) || ['', ''])[1].length;

// The smallest and largest values the page offers in the kind's range: an
// end itself when it is included, else the value one digit finer than the
// end is written with, just inside it (800.7 excluded: 800.69; -273.15
// excluded: -273.149).
function offeredEnd(q, row, top) {
  const [end, included] = top ? [row.max, row.maxIncluded] : [row.min, row.minIncluded];
  if (included) return end;
  const d = decimals(q.shortestNumber(end)) + 1;
  const value = Number((top ? end - 10 ** -d : end + 10 ** -d).toFixed(d));
  if (!q.valueAccepted(row.word, value)) throw new Error(`no value inside the ${top ? 'top' : 'bottom'} of ${row.word}`);
  return value;
}

// The slider of a kind: { positions, fromSlider(pos) -> value, toSlider(value) -> pos, label }.
function slider(q, row) {
  const top = offeredEnd(q, row, true);
  const bottom = offeredEnd(q, row, false);
  if (bottom > 0 && top / bottom >= 100) {
    // Logarithmic over the whole range, values rounded to a few digits.
    const low = bottom;
    const ratio = Math.log(top / low);
    return {
      positions: LOG_POSITIONS,
      label: `${row.fixed.name}, logarithmic slider`,
      fromSlider: (pos) => {
        if (pos <= 0) return low;
        if (pos >= LOG_POSITIONS) return top;
        const v = Number((low * Math.exp((ratio * pos) / LOG_POSITIONS)).toPrecision(LOG_DIGITS));
        return Math.min(Math.max(v, low), top);
      },
      toSlider: (v) => Math.round((LOG_POSITIONS * Math.log(Math.min(Math.max(v, low), top) / low)) / ratio),
    };
  }
  // Linear in whole units from the floor, the last position at the offered top.
  const floor = SLIDER_FLOOR[row.fixed.name];
  const start = Math.ceil(Math.max(floor ?? bottom, bottom));
  const whole = Math.floor(top) - start;  // positions 0..whole hold whole units
  const positions = top > Math.floor(top) ? whole + 1 : whole;
  return {
    positions,
    label: `${row.fixed.name} slider`,
    fromSlider: (pos) => (pos >= positions ? top : start + Math.max(0, Math.round(pos))),
    toSlider: (v) => (v >= top ? positions : Math.min(Math.max(Math.round(v - start), 0), whole)),
  };
}

// The vertical range of an empty plot: the range of the correlations in
// that quantity.
function correlationSpan(q, quantity) {
  if (quantity.name === 'temperature') return [q.correlationMinTemperature, q.correlationMaxTemperature];
  if (quantity.name === 'pressure') return [q.correlationMinPressure, q.correlationMaxPressure];
  return undefined;
}

// Everything the page shows for a kind row. A kind without a value (the
// projection) has no value control: slider null, opening ''.
export function kindControls(q, row) {
  const composition = row.plane !== 'temperature-pressure';
  const common = {
    row,
    word: row.word,
    xLabel: quantityLabel(row.x),
    yLabel: quantityLabel(row.y),
    logY: row.logY,
    xRange: [row.xMin, row.xMax],
    // The wt% axis may be logarithmic; temperature across is not.
    logxAllowed: composition,
    // The pressure plane's plot starts at 1e-4 bar, below the triple point of
    // NaCl (0.0005 bar), though the vapour + halite curves reach 1e-36 bar:
    // zoom out to see them.
    yFloor: composition ? undefined : 1e-4,
    emptyY: correlationSpan(q, row.y),
  };
  if (!row.takesValue) {
    return { ...common, choice: row.word, detail: `(${row.y.name}–${row.x.name}, no value)`, valueLabel: '', unit: '',
      hint: '', opening: '', slider: null };
  }
  const s = slider(q, row);
  const opening = OPENING[row.fixed.name] ?? s.fromSlider(Math.round(s.positions / 2));
  return {
    ...common,
    choice: `${row.adjective}`,
    detail: `(fixed ${row.fixed.name})`,
    valueLabel: quantityLabel(row.fixed),
    unit: unitSymbol(row.fixed.unit),
    hint: withSymbols(q.validRange(row.word)),
    opening: q.shortestNumber(opening),
    slider: s,
  };
}

// The controls of every kind, by word, in the table's order.
export function allKindControls(q) {
  const kinds = {};
  for (const row of q.sectionKinds()) kinds[row.word] = kindControls(q, row);
  return kinds;
}

// The kind a word of the address names (any of its three words), or null.
export function kindOfWord(kinds, word) {
  for (const k of Object.values(kinds)) {
    if (word === k.row.word || word === k.row.plural || (k.row.adjective !== '' && word === k.row.adjective)) return k.word;
  }
  return null;
}
