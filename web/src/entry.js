// Entry point of the bundle: the module factory comes from the script before it.
import { start } from './main.js';

start(globalThis.createQuarvessin).catch((e) => {
  document.getElementById('plot-title').textContent = `The engine could not be started: ${e && e.message ? e.message : e}`;
  throw e;
});
