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

// The page opened in a browser context, with the platform's trace (one JSON
// object per console line) kept for the checks.
async function visit(context) {
  const page = await context.newPage();
  const game = { page, trace: [], errors: [] };
  page.on('pageerror', (error) => game.errors.push(error.message));
  page.on('console', (message) => {
    const text = message.text();
    if (text.startsWith('{"tick"') && !text.includes('"event":"present"')) game.trace.push(JSON.parse(text));
  });
  page.on('dialog', (dialog) => {
    game.errors.push(`message box: ${dialog.message()}`);
    dialog.dismiss();
  });
  await page.goto(origin + '?trace');
  await firstFrame(page);
  return game;
}

const firstFrame = (page) =>
  page.waitForFunction(() => window.Module?.reedshotStats?.firstFrameMs > 0, null, { timeout: 20000 });

async function reload(game) {
  game.trace.length = 0;
  await game.page.reload();
  await firstFrame(game.page);
}

async function until(what, check, timeout = 15000) {
  const end = Date.now() + timeout;
  for (;;) {
    const result = await check();
    if (result) return result;
    if (Date.now() > end) throw new Error(`timed out waiting for ${what}`);
    await new Promise((done) => setTimeout(done, 50));
  }
}

const events = (game, event, fields = {}) =>
  game.trace.filter((t) => t.event === event && Object.entries(fields).every(([k, v]) => t[k] === v));
const reached = (game, view) => until(`view ${view}`, () => events(game, 'view', { to: view }).length > 0);
const stats = (page) => page.evaluate(() => ({ ...window.Module.reedshotStats }));

// The canvas as the game drew it (RGBA), or a rectangle of it in view pixels.
const pixels = (page, x = 0, y = 0, w = 320, h = 240) =>
  page.evaluate(([x, y, w, h]) => Array.from(document.getElementById('canvas').getContext('2d')
    .getImageData(x, y, w, h).data), [x, y, w, h]);
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
async function click(page, x, y) {
  const p = await at(page, x, y);
  await page.mouse.click(p.x, p.y);
}
async function touch(page, x, y) {
  const p = await at(page, x, y);
  await page.touchscreen.tap(p.x, p.y);
}

// Through the introduction and the title to the main menu, with a click.
async function toMenu(game) {
  await reached(game, 14);
  await click(game.page, 160, 120);
  await reached(game, 0);
  await game.page.waitForTimeout(1500);  // the menu slides in
}

const kMenuOptions = [258, 76];
const kMenuHunt = [245, 30];
const kSpecialEffects = [154, 156];
const kOptionsOk = [158, 212];

test('the panel is drawn crisp at a whole scale and follows the window', async () => {
  const context = await browser.newContext({ viewport: { width: 1000, height: 700 } });
  const { page, errors } = await visit(context);
  const layout = () =>
    page.evaluate(() => {
      const c = document.getElementById('canvas');
      const r = c.getBoundingClientRect();
      return { width: r.width, height: r.height, left: r.left, top: r.top, rendering: getComputedStyle(c).imageRendering };
    });
  const resized = (width) => page.waitForFunction((w) => document.getElementById('canvas').getBoundingClientRect().width === w, width);
  assert.deepEqual(await layout(), { width: 640, height: 480, left: 180, top: 110, rendering: 'pixelated' });
  await page.setViewportSize({ width: 1300, height: 740 });
  await resized(960);
  assert.deepEqual(await layout(), { width: 960, height: 720, left: 170, top: 10, rendering: 'pixelated' });
  await page.setViewportSize({ width: 300, height: 200 });
  await resized(320);  // never below one pixel per pixel

  const drawn = await pixels(page);
  const lit = drawn.filter((v, i) => i % 4 !== 3 && v > 0).length;
  assert.ok(lit > 1000, 'the first frame shows a picture');
  await page.screenshot({ path: kShots + 'first-frame.png' });
  assert.deepEqual(errors, []);
  await context.close();
});

test('a click reaches the menu with its music, keys are the game\'s, and touches fire the shells of a hunt', async () => {
  const context = await browser.newContext({ viewport: { width: 1000, height: 700 }, hasTouch: true });
  const game = await visit(context);
  const { page } = game;
  await reached(game, 14);
  await page.screenshot({ path: kShots + 'title.png' });
  assert.equal((await stats(page)).buffers, 0, 'nothing is played before a gesture');

  await toMenu(game);
  await page.screenshot({ path: kShots + 'menu.png' });
  assert.ok(events(game, 'sound', { id: 535, music: true }).length > 0, 'the menu music was started');
  const sounding = await stats(page);
  assert.equal(await page.evaluate(() => window.Module.reedshotAudio.state), 'running');
  assert.ok(sounding.buffers > 20, `buffers were scheduled (${sounding.buffers})`);
  assert.ok(sounding.loudBuffers > 10, `the music is in them (${sounding.loudBuffers})`);
  assert.ok(sounding.ahead >= 3, `buffers wait ahead of the player (${sounding.ahead})`);

  // The game's keys are kept from the page; the browser's own are left alone.
  await page.evaluate(() => {
    window.reedshotKeys = [];
    window.addEventListener('keydown', (e) => window.reedshotKeys.push([e.code, e.defaultPrevented]));
  });
  for (const key of ['ArrowDown', 'x', 'F4', 'Control+s']) await page.keyboard.press(key);
  assert.deepEqual(await page.evaluate(() => window.reedshotKeys), [
    ['ArrowDown', true],
    ['KeyX', true],  // typed: the name entry takes letters
    ['F4', false],
    ['ControlLeft', false],
    ['KeyS', false],
  ]);

  await click(page, ...kMenuHunt);
  await reached(game, 1);
  await page.waitForTimeout(1000);
  await page.screenshot({ path: kShots + 'hunt.png' });
  const full = await pixels(page);
  // Seven shells, fired with a finger; the last one says so.
  for (let shot = 1; shot <= 7; shot++) {
    await touch(page, 60 + shot * 25, 60);
    await until(`shot ${shot}`, () => events(game, 'sound', { id: 550 }).length >= shot, 5000);
  }
  await until('the last shell', () => events(game, 'sound', { id: 551 }).length === 1, 5000);
  await page.waitForTimeout(300);
  await page.screenshot({ path: kShots + 'hunt-empty.png' });
  assert.ok(changed(full, await pixels(page)) > 0);
  assert.deepEqual(game.errors, []);
  await context.close();
});

test('a changed setting is kept across a reload; a first visit is a first start', async () => {
  const context = await browser.newContext({ viewport: { width: 800, height: 600 } });
  const game = await visit(context);
  const { page } = game;
  const created = (g) =>
    g.trace.filter((t) => t.event === 'store_write' && t.ok !== false && (t.kind === 'key' || t.kind === 'database'));
  assert.ok(created(game).length > 0, 'the first visit creates the store');

  await toMenu(game);
  await click(page, ...kMenuOptions);
  await reached(game, 10);
  await page.waitForTimeout(800);
  const box = [kSpecialEffects[0] - 12, kSpecialEffects[1] - 12, 24, 24];
  const ticked = await pixels(page, ...box);
  await click(page, ...kSpecialEffects);
  await page.waitForTimeout(500);
  const cleared = await pixels(page, ...box);
  assert.ok(changed(ticked, cleared) > 20, 'the box was cleared');
  await page.screenshot({ path: kShots + 'options-changed.png' });
  const copies = (await stats(page)).copies;
  await click(page, ...kOptionsOk);
  await until('the setting saved', () => events(game, 'store_write', { name: 'SpecialEffects', value: 0 }).length > 0);
  await until('the store copied', async () => (await stats(page)).copies > copies);

  await reload(game);
  assert.deepEqual(created(game), [], 'the reloaded page found the store of the first visit');
  await toMenu(game);
  await click(page, ...kMenuOptions);
  await reached(game, 10);
  await page.waitForTimeout(800);
  await page.screenshot({ path: kShots + 'options-reloaded.png' });
  assert.equal(changed(cleared, await pixels(page, ...box)), 0, 'the box is still clear');
  assert.equal(await page.locator('#storage').isVisible(), false);
  assert.deepEqual(game.errors, []);
  await context.close();

  // Another profile knows nothing of it.
  const other = await browser.newContext();
  assert.ok(created(await visit(other)).length > 0);
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
