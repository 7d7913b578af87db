// What the browser tests share: the build served from 127.0.0.1, real headless Chromium, the game driven with
// real mouse, touch and key events and watched through its trace. Screenshots go to build/web-shots/.
import { after, before } from 'node:test';
import assert from 'node:assert/strict';
import { mkdirSync } from 'node:fs';
import { chromium } from 'playwright-core';
import { serve } from './serve.mjs';

export const kBuild = new URL('../build/web/', import.meta.url).pathname;
export const kShots = new URL('../build/web-shots/', import.meta.url).pathname;

// Filled in before the file's tests run.
export const session = { server: null, browser: null, origin: '' };

export function useBrowser() {
  before(async () => {
    mkdirSync(kShots, { recursive: true });
    session.server = await serve(kBuild, 0);
    session.origin = `http://127.0.0.1:${session.server.address().port}/`;
    session.browser = await chromium.launch({
      executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
      args: ['--no-sandbox'],
    });
  });
  after(async () => {
    await session.browser?.close();
    session.server?.close();
  });
  return session;
}

export const firstFrame = (page) =>
  page.waitForFunction(() => window.Module?.reedshotStats?.firstFrameMs > 0, null, { timeout: 20000 });

// The page opened in a browser context, its trace (one JSON object per console line) kept for the checks.
export async function visit(context, address = session.origin + '?trace') {
  const game = watch(await context.newPage());
  await game.page.goto(address);
  await firstFrame(game.page);
  return game;
}

// A page's trace and errors, kept from now on.
export function watch(page) {
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
  return game;
}

// The page in a browser context of its own; `body` plays it, and no error or message box may come meanwhile.
export async function play(options, body, address) {
  const context = await session.browser.newContext(options);
  const game = await visit(context, address);
  await body(game, context);
  assert.deepEqual(game.errors, []);
  await context.close();
}

export async function until(what, check, timeout = 15000) {
  const end = Date.now() + timeout;
  for (;;) {
    const result = await check();
    if (result) return result;
    if (Date.now() > end) throw new Error(`timed out waiting for ${what}`);
    await new Promise((done) => setTimeout(done, 50));
  }
}

export const events = (game, event, fields = {}) =>
  game.trace.filter((t) => t.event === event && Object.entries(fields).every(([k, v]) => t[k] === v));
export const reached = (game, view) => until(`view ${view}`, () => events(game, 'view', { to: view }).length > 0);
export const stats = (page) => page.evaluate(() => ({ ...window.Module.reedshotStats }));

// The canvas as the game drew it (RGBA), or a rectangle of it in view pixels.
export const pixels = (page, x = 0, y = 0, w = 320, h = 240) =>
  page.evaluate(([x, y, w, h]) => Array.from(document.getElementById('canvas').getContext('2d')
    .getImageData(x, y, w, h).data), [x, y, w, h]);
export function changed(a, b) {
  let n = 0;
  for (let i = 0; i < a.length; i += 4) if (a[i] !== b[i] || a[i + 1] !== b[i + 1] || a[i + 2] !== b[i + 2]) n++;
  return n;
}

// A point of the landscape view (320 x 240) clicked or touched in page coordinates.
async function at(page, x, y) {
  const box = await page.locator('#canvas').boundingBox();
  return { x: box.x + ((x + 0.5) * box.width) / 320, y: box.y + ((y + 0.5) * box.height) / 240 };
}
export const click = async (page, x, y) => at(page, x, y).then((p) => page.mouse.click(p.x, p.y));
export const touch = async (page, x, y) => at(page, x, y).then((p) => page.touchscreen.tap(p.x, p.y));

// Through the introduction and the title to the main menu, with a click.
export async function toMenu(game) {
  await reached(game, 14);
  await click(game.page, 160, 120);
  await reached(game, 0);
  await game.page.waitForTimeout(1500);  // the menu slides in
}

export const kMenuOptions = [258, 76];
export const kMenuHunt = [245, 30];
export const kOptionsOk = [158, 212];

// From the menu to the options, their slide finished.
export async function openOptions(game) {
  await click(game.page, ...kMenuOptions);
  await reached(game, 10);
  await game.page.waitForTimeout(800);
}
