// The browser build in real headless Chromium: the page served from 127.0.0.1
// as plain files, driven with real mouse, touch and key events. Screenshots go
// to build/web-shots/.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { mkdirSync } from 'node:fs';
import { chromium } from 'playwright-core';
import { serve } from './serve.mjs';

const kBuild = new URL('../build/web/', import.meta.url).pathname;
const kShots = new URL('../build/web-shots/', import.meta.url).pathname;

let server;
let browser;
let origin;

before(async () => {
  mkdirSync(kShots, { recursive: true });
  server = await serve(kBuild, 0);
  origin = `http://127.0.0.1:${server.address().port}/`;
  browser = await chromium.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    args: ['--no-sandbox'],
  });
});

after(async () => {
  await browser?.close();
  server?.close();
});

// A fresh browser profile (a first visit) with a touch screen, and the page
// opened with its trace in the console.
async function visit(context, { trace = [] } = {}) {
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  page.on('console', (message) => {
    if (message.text().startsWith('{"tick"')) trace.push(JSON.parse(message.text()));
  });
  page.on('dialog', (dialog) => {
    errors.push(`message box: ${dialog.message()}`);
    dialog.dismiss();
  });
  await page.goto(origin + '?trace');
  await page.waitForFunction(() => window.Module?.reedshotStats?.firstFrameMs > 0, null, { timeout: 20000 });
  return { page, errors, trace };
}

const stats = (page) => page.evaluate(() => ({ ...window.Module.reedshotStats }));

// The canvas as the game drew it, and how many pixels differ between two reads.
const pixels = (page) =>
  page.evaluate(() => {
    const c = document.getElementById('canvas');
    return Array.from(c.getContext('2d').getImageData(0, 0, c.width, c.height).data);
  });
function changed(a, b) {
  let n = 0;
  for (let i = 0; i < a.length; i += 4) if (a[i] !== b[i] || a[i + 1] !== b[i + 1] || a[i + 2] !== b[i + 2]) n++;
  return n;
}

// A point of the landscape view (320 x 240) in page coordinates.
async function at(page, x, y) {
  const box = await page.locator('#canvas').boundingBox();
  return { x: box.x + ((x + 0.5) * box.width) / 320, y: box.y + ((y + 0.5) * box.height) / 240 };
}

test('the panel is drawn crisp at a whole scale and follows the window', async () => {
  const context = await browser.newContext({ viewport: { width: 1000, height: 700 } });
  const { page, errors } = await visit(context);
  const layout = () =>
    page.evaluate(() => {
      const c = document.getElementById('canvas');
      const r = c.getBoundingClientRect();
      return { width: r.width, height: r.height, left: r.left, top: r.top, rendering: getComputedStyle(c).imageRendering };
    });
  assert.deepEqual(await layout(), { width: 640, height: 480, left: 180, top: 110, rendering: 'pixelated' });
  await page.setViewportSize({ width: 1300, height: 740 });
  assert.deepEqual(await layout(), { width: 960, height: 720, left: 170, top: 10, rendering: 'pixelated' });
  await page.setViewportSize({ width: 300, height: 200 });
  const small = await layout();
  assert.equal(small.width, 320, 'never below one pixel per pixel');

  const drawn = await pixels(page);
  const lit = drawn.filter((v, i) => i % 4 !== 3 && v > 0).length;
  assert.ok(lit > drawn.length / 4, 'the first frame shows a picture');
  assert.deepEqual(errors, []);
  await context.close();
});

test('mouse, touch and keys reach the game; sound starts with the first gesture', async () => {
  const context = await browser.newContext({ viewport: { width: 1000, height: 700 }, hasTouch: true });
  const { page, errors } = await visit(context);
  await page.waitForTimeout(1500);
  await page.screenshot({ path: kShots + 'start.png' });
  const before = await stats(page);
  assert.equal(before.buffers, 0, 'nothing is played before a gesture');

  // A click: the stylus goes down and up where it was pressed.
  let shown = await pixels(page);
  const click = await at(page, 80, 60);
  await page.mouse.click(click.x, click.y);
  await page.waitForTimeout(400);
  const afterClick = await pixels(page);
  assert.ok(changed(shown, afterClick) > 0, 'the click changed the picture');
  await page.screenshot({ path: kShots + 'after-click.png' });

  // Sound: the audio context runs and the mixer's buffers carry sound.
  await page.waitForTimeout(1000);
  const sounding = await stats(page);
  assert.equal(await page.evaluate(() => window.Module.reedshotAudio.state), 'running');
  assert.ok(sounding.buffers > 20, `buffers were scheduled (${sounding.buffers})`);
  assert.ok(sounding.loudBuffers > 0, 'some of them are not silence');
  assert.ok(sounding.ahead >= 3, `buffers wait ahead of the player (${sounding.ahead})`);

  // A touch somewhere else.
  shown = afterClick;
  const touch = await at(page, 250, 170);
  await page.touchscreen.tap(touch.x, touch.y);
  await page.waitForTimeout(400);
  assert.ok(changed(shown, await pixels(page)) > 0, 'the touch changed the picture');
  await page.screenshot({ path: kShots + 'after-touch.png' });

  // The game's keys are kept from the page; the browser's own are left alone.
  await page.evaluate(() => {
    window.reedshotKeys = [];
    window.addEventListener('keydown', (e) => window.reedshotKeys.push([e.code, e.defaultPrevented]));
  });
  for (const key of ['ArrowLeft', 'Space', 'x']) await page.keyboard.press(key);
  assert.deepEqual(await page.evaluate(() => window.reedshotKeys), [
    ['ArrowLeft', true],
    ['Space', true],
    ['KeyX', false],
  ]);
  assert.deepEqual(errors, []);
  await context.close();
});

test('the store is kept in the browser across reloads; a first visit is a first start', async () => {
  const context = await browser.newContext({ viewport: { width: 800, height: 600 } });
  const first = [];
  const { page, errors } = await visit(context, { trace: first });
  const created = (trace) =>
    trace.filter((t) => t.event === 'store_write' && t.ok !== false && (t.kind === 'key' || t.kind === 'database'));
  assert.ok(created(first).length > 0, 'the first visit creates the store');
  await page.waitForFunction(() => window.Module.reedshotStats.copies > 0, null, { timeout: 10000 });

  const second = [];
  page.removeAllListeners('console');
  page.on('console', (message) => {
    if (message.text().startsWith('{"tick"')) second.push(JSON.parse(message.text()));
  });
  await page.reload();
  await page.waitForFunction(() => window.Module?.reedshotStats?.firstFrameMs > 0, null, { timeout: 20000 });
  await page.waitForTimeout(500);
  assert.ok(second.some((t) => t.event === 'window'), 'the reloaded page started the game');
  assert.deepEqual(created(second), [], 'the reloaded page found the store of the first visit');
  assert.equal(await page.locator('#storage').isVisible(), false);
  assert.deepEqual(errors, []);
  await context.close();

  // Another profile knows nothing of it.
  const other = await browser.newContext();
  const fresh = [];
  await visit(other, { trace: fresh });
  assert.ok(created(fresh).length > 0);
  await other.close();
});

test('the page says so when WebAssembly or storage is missing', async () => {
  const context = await browser.newContext();
  const noWasm = await context.newPage();
  await noWasm.addInitScript(() => { delete window.WebAssembly; });
  await noWasm.goto(origin);
  await assert.doesNotReject(noWasm.locator('#message', { hasText: 'needs WebAssembly' }).waitFor());
  await noWasm.screenshot({ path: kShots + 'no-webassembly.png' });

  const noStorage = await context.newPage();
  await noStorage.addInitScript(() => { delete window.indexedDB; });
  await noStorage.goto(origin);
  await noStorage.locator('#storage', { hasText: 'will not be kept' }).waitFor();
  await noStorage.waitForFunction(() => window.Module?.reedshotStats?.firstFrameMs > 0, null, { timeout: 20000 });
  await noStorage.screenshot({ path: kShots + 'no-storage.png' });
  await context.close();
});
