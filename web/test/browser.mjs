// Headless Chromium for the page's tests and benchmark: Debian's chromium
// driven by playwright-core, with a fresh profile every launch.
import { chromium } from 'playwright-core';
import { mkdtempSync, rmSync, existsSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';

export const CHROMIUM = process.env.QUARVESSIN_CHROMIUM || '/usr/bin/chromium';

const ARGS = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];

// Starts the browser; returns { context, close }.
export async function launch(options = {}) {
  if (!existsSync(CHROMIUM)) throw new Error(`no chromium at ${CHROMIUM}`);
  const profile = mkdtempSync(join(tmpdir(), 'quarvessin-chromium-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: CHROMIUM,
    headless: true,
    args: ARGS,
    acceptDownloads: true,
    viewport: options.viewport || { width: 1280, height: 800 },
    deviceScaleFactor: options.deviceScaleFactor || 1,
  });
  return {
    context,
    async close() {
      await context.close();
      rmSync(profile, { recursive: true, force: true });
    },
  };
}

// The page's address with a query string, e.g. pageUrl(file, '?isobar=300').
export function pageUrl(file, query = '') {
  return pathToFileURL(file).href + query;
}

// Opens the page and waits for its first plot.
export async function openPage(context, file, query = '') {
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  page.on('console', (m) => { if (m.type() === 'error') errors.push(m.text()); });
  await page.goto(pageUrl(file, query));
  await page.waitForFunction(() => window.quarvessinExplorer && window.quarvessinExplorer.drawn > 0, null, { timeout: 20000 });
  page.errors = errors;
  return page;
}
