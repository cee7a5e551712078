// Speed of the explorer page in headless Chromium, measured by the page
// itself (Performance API): time from a slider value change to the finished
// redraw over a sweep of each kind (the isopleth's composition slider
// included; the projection has none), time to the first plot after opening
// the file, in the 3-D view (?view=3d) the time to its first picture, the
// slider's redraw with the plane following it and the frame time of a
// turning view, and the size of the file.
//   node bench/explorer_bench.mjs [PAGE]     (default: web/build/quarvessin-explorer.html)
import { statSync } from 'node:fs';
import { launch, openPage } from '../test/browser.mjs';

const file = process.argv[2] || new URL('../build/quarvessin-explorer.html', import.meta.url).pathname;
const quantile = (xs, q) => { const s = [...xs].sort((a, b) => a - b); return s[Math.min(s.length - 1, Math.floor(q * s.length))]; };

const b = await launch();
try {
  const firsts = [];
  for (let i = 0; i < 5; i++) {
    const page = await openPage(b.context, file, '?isobar=300');
    firsts.push(await page.evaluate(() => window.quarvessinExplorer.firstPlot));
    await page.close();
  }
  const page = await openPage(b.context, file, '?isobar=300');
  const results = {};
  const kinds = await page.evaluate(() => window.quarvessin.sectionKinds().filter((k) => k.takesValue).map((k) => k.word));
  for (const kind of kinds) {
    await page.check(`input[name=kind][value=${kind}]`);
    const perf = await page.evaluate(async () => {
      const ui = window.quarvessinExplorer;
      const slider = document.getElementById('slider');
      const max = Number(slider.max);
      ui.perf.length = 0;
      // Every fifth position, as a drag across the slider would deliver them.
      for (let pos = 0; pos <= max; pos += 5) {
        slider.value = String(pos);
        slider.dispatchEvent(new Event('input', { bubbles: true }));
        await new Promise((r) => requestAnimationFrame(() => r()));
      }
      return ui.perf.map((p) => ({ total: p.total, compute: p.compute, value: p.value }));
    });
    // The field labels once the slider rests, at ten places along it.
    const labels = await page.evaluate(async () => {
      const ui = window.quarvessinExplorer;
      const slider = document.getElementById('slider');
      ui.labelPerf.length = 0;
      for (let i = 0; i < 10; i++) {
        const n = ui.labelled;
        slider.value = String(Math.round((Number(slider.max) * (i + 0.5)) / 10));
        slider.dispatchEvent(new Event('input', { bubbles: true }));
        slider.dispatchEvent(new Event('change', { bubbles: true }));
        while (ui.labelled === n) await new Promise((r) => setTimeout(r, 5));
      }
      return ui.labelPerf.slice();
    });
    const totals = perf.map((p) => p.total);
    const worst = perf.reduce((a, p) => (p.total > a.total ? p : a));
    results[kind] = {
      redraws: perf.length,
      median: quantile(totals, 0.5),
      p95: quantile(totals, 0.95),
      worst: worst.total,
      worstAt: worst.value,
      computeMedian: quantile(perf.map((p) => p.compute), 0.5),
      labelsMedian: quantile(labels, 0.5),
      labelsWorst: Math.max(...labels),
    };
  }
  // The 3-D view: its first picture after opening (5 loads), the isopleth
  // slider's redraw with the plane following, the frame time as it turns.
  const firsts3d = [];
  const surfaces = [];
  for (let i = 0; i < 5; i++) {
    const p3 = await openPage(b.context, file, '?isopleth=10&view=3d');
    await p3.waitForFunction(() => window.quarvessinExplorer.first3d !== null);
    const t = await p3.evaluate(() => [window.quarvessinExplorer.first3d, window.quarvessinExplorer.surfacesTime]);
    firsts3d.push(t[0]);
    surfaces.push(t[1]);
    if (i < 4) await p3.close();
    else {
      const perf3d = await p3.evaluate(async () => {
        const ui = window.quarvessinExplorer;
        const slider = document.getElementById('slider');
        ui.perf3d.length = 0;
        for (let pos = 0; pos <= Number(slider.max); pos += 10) {
          slider.value = String(pos);
          slider.dispatchEvent(new Event('input', { bubbles: true }));
          await new Promise((r) => requestAnimationFrame(() => r()));
        }
        return ui.perf3d.slice();
      });
      const frames = [];
      for (let k = 0; k < 3; k++) frames.push(await p3.evaluate(() => window.quarvessinExplorer.view3d.benchmark(60)));
      results['3-D'] = { first: firsts3d, surfaces, redraw: quantile(perf3d, 0.5), redrawP95: quantile(perf3d, 0.95), redraws: perf3d.length, frame: quantile(frames, 0.5) };
      await p3.close();
    }
  }
  const ms = (v) => `${v.toFixed(1)} ms`;
  console.log(`page size            ${(statSync(file).size / 1024).toFixed(0)} KiB (${statSync(file).size} bytes)`);
  console.log(`first plot           median ${ms(quantile(firsts, 0.5))}, worst ${ms(Math.max(...firsts))} after opening (5 loads)`);
  const r3 = results['3-D'];
  delete results['3-D'];
  console.log(`3-D first picture    median ${ms(quantile(r3.first, 0.5))}, worst ${ms(Math.max(...r3.first))} after opening (5 loads; surfaces ${ms(quantile(r3.surfaces, 0.5))})`);
  console.log(`3-D isopleth sweep   ${r3.redraws} redraws with the plane: median ${ms(r3.redraw)}, 95% ${ms(r3.redrawP95)}`);
  console.log(`3-D frame            median ${ms(r3.frame)} a frame while turning (60 frames, software WebGL)`);
  for (const [kind, r] of Object.entries(results)) {
    console.log(`${kind.padEnd(9)} sweep      ${r.redraws} redraws: median ${ms(r.median)} (engine ${ms(r.computeMedian)}), 95% ${ms(r.p95)}, worst ${ms(r.worst)} at ${r.worstAt}`);
    console.log(`${kind.padEnd(9)} labels     placed after the slider rests: median ${ms(r.labelsMedian)}, worst ${ms(r.labelsWorst)} (10 places)`);
  }
} finally {
  await b.close();
}
