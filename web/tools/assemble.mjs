// Bundles the page and writes the single self-contained HTML file:
//   node tools/assemble.mjs MODULE_JS OUTPUT_HTML VERSION
// MODULE_JS is Emscripten's single-file module (WebAssembly inlined), which
// defines the factory createQuarvessin; the page's code is bundled and
// minified with esbuild, the styles and both scripts are inlined. VERSION, the
// project's version, goes into the footer.
import { build } from 'esbuild';
import { readFileSync, writeFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const [moduleJs, output, version] = process.argv.slice(2);
if (!moduleJs || !output || !/^[0-9][0-9.]*$/.test(version ?? '')) {
  console.error('usage: node tools/assemble.mjs MODULE_JS OUTPUT_HTML VERSION');
  process.exit(2);
}
const web = join(dirname(fileURLToPath(import.meta.url)), '..');
const src = join(web, 'src');

const bundle = await build({
  entryPoints: [join(src, 'entry.js')],
  bundle: true,
  minify: true,
  format: 'iife',
  target: ['es2020'],
  write: false,
  legalComments: 'none',
});
const app = bundle.outputFiles[0].text;
const css = readFileSync(join(web, 'node_modules/uplot/dist/uPlot.min.css'), 'utf8') + '\n' +
  readFileSync(join(src, 'style.css'), 'utf8');
const engine = readFileSync(moduleJs, 'utf8');

// A script's text must not close its own element.
const inline = (js) => js.replace(/<\/(script)/gi, '<\\/$1').replace(/<!--/g, '<\\!--');

const page = readFileSync(join(src, 'index.html'), 'utf8')
  .replace('@VERSION@', () => version)
  .replace('/*@STYLE@*/', () => css)
  .replace('/*@MODULE@*/', () => inline(engine))
  .replace('/*@APP@*/', () => inline(app));
writeFileSync(output, page);
console.log(`${output}: ${(Buffer.byteLength(page) / 1024).toFixed(0)} KiB`);
