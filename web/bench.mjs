// Not a test: the browser build's figures. Sizes of the .js and .wasm (and
// gzipped), the time from navigation to the first drawn frame in headless
// Chromium, and the main thread's busy time per second during a hunt, on
// the idle title and while the page is hidden.
//   node web/bench.mjs        (after make web)
import { readFileSync } from 'node:fs';
import { gzipSync } from 'node:zlib';
import { chromium } from 'playwright-core';
import { serve } from './serve.mjs';

const build = new URL('../build/web/', import.meta.url).pathname;
for (const file of ['reedshot.wasm', 'reedshot.js', 'index.html']) {
  const bytes = readFileSync(build + file);
  console.log(`${file.padEnd(14)} ${(bytes.length / 1024).toFixed(0).padStart(6)} KiB, gzip ${(gzipSync(bytes, { level: 9 }).length / 1024).toFixed(0).padStart(5)} KiB`);
}

const server = await serve(build, 0);
const origin = `http://127.0.0.1:${server.address().port}/`;
const browser = await chromium.launch({ executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium', args: ['--no-sandbox'] });

const firsts = [];
for (let i = 0; i < 5; i++) {
  const context = await browser.newContext();
  const page = await context.newPage();
  await page.goto(origin);
  firsts.push(await page.waitForFunction(() => window.Module?.reedshotStats?.firstFrameMs, null, { timeout: 30000 })
    .then((handle) => handle.jsonValue()));
  await context.close();
}
firsts.sort((a, b) => a - b);
console.log(`first frame after navigation: median ${firsts[2].toFixed(0)} ms (of ${firsts.map((t) => t.toFixed(0)).join(', ')})`);

// The main thread's busy share of `seconds`, with `poke(i)` once a second.
const busyShare = async (context, page, seconds, poke = async () => {}) => {
  const cdp = await context.newCDPSession(page);
  await cdp.send('Performance.enable');
  const taskTime = async () => (await cdp.send('Performance.getMetrics')).metrics.find((m) => m.name === 'TaskDuration').value;
  const before = await taskTime();
  const start = Date.now();
  for (let i = 0; i < seconds; i++) {
    await page.waitForTimeout(1000);
    await poke(i);
  }
  const busy = (await taskTime()) - before;
  const wall = (Date.now() - start) / 1000;
  return `${((busy / wall) * 1000).toFixed(0)} ms per second (${((busy / wall) * 100).toFixed(1)} %)`;
};
const report = async (page, what, share) => {
  const stats = await page.evaluate(() => window.Module.reedshotStats);
  console.log(`main thread busy ${what}: ${share}, ${stats.frames} frames drawn in all, ${stats.underruns} sound underruns`);
};

// A hunt started from the address, left to run with a shot now and then.
{
  const context = await browser.newContext({ viewport: { width: 960, height: 720 } });
  const page = await context.newPage();
  await page.goto(origin + '?hunt');
  await page.waitForFunction(() => window.Module?.reedshotStats?.firstFrameMs);
  await page.mouse.click(480, 360);  // sound on
  await page.waitForTimeout(2000);
  await report(page, 'during a hunt', await busyShare(context, page, 10, (i) => page.mouse.click(200 + i * 50, 200)));
  await context.close();
}

// The title, reached after the introduction, left alone; then the same page
// told it is hidden, as the page test does (headless Chromium never hides a
// page, so the browser's own throttling of hidden pages is not in the figure).
{
  const context = await browser.newContext({ viewport: { width: 960, height: 720 } });
  const page = await context.newPage();
  await page.goto(origin);
  await page.waitForFunction(() => window.Module?.reedshotStats?.firstFrameMs);
  await page.waitForTimeout(8000);
  await report(page, 'on the idle title', await busyShare(context, page, 10));
  await page.evaluate(() => {
    Object.defineProperty(document, 'hidden', { configurable: true, get: () => true });
    Object.defineProperty(document, 'visibilityState', { configurable: true, get: () => 'hidden' });
    document.dispatchEvent(new Event('visibilitychange'));
  });
  await page.waitForTimeout(1000);
  await report(page, 'while hidden', await busyShare(context, page, 10));
  await context.close();
}
await browser.close();
server.close();
