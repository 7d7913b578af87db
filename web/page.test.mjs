// The page around the game: how the panel fills the screen, full screen, the mute switch, playing again after
// Quit, a hidden page, and visits without a network (see harness.mjs).
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { execFileSync } from 'node:child_process';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { serve } from './serve.mjs';
import {
  click, events, firstFrame, kBuild, kMenuHunt, kShots, pixels, play, reached, session, stats, toMenu, until,
  useBrowser, visit,
} from './harness.mjs';

useBrowser();

const kMenuQuit = [278, 214];

const layout = (page) => page.evaluate(() => {
  const canvas = document.getElementById('canvas');
  const box = canvas.getBoundingClientRect();
  const sharp = document.getElementById('sharp');
  return {
    width: Math.round(box.width), height: Math.round(box.height), left: Math.round(box.left),
    sharp: getComputedStyle(sharp).display === 'none' ? 0 : sharp.width / 320,
    rendering: getComputedStyle(canvas).imageRendering,
  };
});

// Samples of the enlarged picture against the game's own pixels, in one display frame (the same game frame).
const sharpMismatches = (page) => page.evaluate(() => new Promise((done) => {
  requestAnimationFrame(() => requestAnimationFrame(() => {
    const canvas = document.getElementById('canvas'), sharp = document.getElementById('sharp');
    const k = sharp.width / 320;
    const game = canvas.getContext('2d').getImageData(0, 0, 320, 240).data;
    const big = sharp.getContext('2d').getImageData(0, 0, sharp.width, sharp.height).data;
    let wrong = 0;
    for (let y = 0; y < 240; y += 7) {
      for (let x = 0; x < 320; x += 7) {
        const a = (y * 320 + x) * 4, b = ((y * k + (k >> 1)) * sharp.width + x * k + (k >> 1)) * 4;
        if (game[a] !== big[b] || game[a + 1] !== big[b + 1] || game[a + 2] !== big[b + 2]) wrong++;
      }
    }
    done(wrong);
  }));
}));

// Headless Chromium never hides a page: the page is told it is hidden as a browser tells it.
const setHidden = (page, hidden) => page.evaluate((hidden) => {
  Object.defineProperty(document, 'hidden', { configurable: true, get: () => hidden });
  Object.defineProperty(document, 'visibilityState', { configurable: true, get: () => (hidden ? 'hidden' : 'visible') });
  document.dispatchEvent(new Event('visibilitychange'));
}, hidden);

test('the panel fills the room (a whole scale where that fills 85 %, else a sharp fit) and follows the window; full screen from the button and from Alt+Enter, which the game never sees', async () => {
  const phone = (deviceScaleFactor) => ({ deviceScaleFactor, hasTouch: true, isMobile: true });
  // [name, options, CSS height of the panel, the sharp picture's scale (0: none, a whole scale)]
  const cases = [
    ['desktop-1280x800', { viewport: { width: 1280, height: 800 } }, 720, 0],
    ['desktop-1000x700', { viewport: { width: 1000, height: 700 } }, 700, 3],
    ['desktop-844x390', { viewport: { width: 844, height: 390 } }, 390, 2],
    ['phone2x-844x390', { viewport: { width: 844, height: 390 }, ...phone(2) }, 360, 0],
    ['phone3x-844x390', { viewport: { width: 844, height: 390 }, ...phone(3) }, 390, 5],
  ];
  for (const [name, options, height, sharp] of cases) {
    await play(options, async (game) => {
      const { page } = game;
      assert.ok((await pixels(page)).filter((v, i) => i % 4 !== 3 && v > 0).length > 1000, 'the first frame shows a picture');
      await reached(game, 14);
      await page.waitForTimeout(500);
      const { width } = options.viewport;
      assert.deepEqual(await layout(page), { width: Math.round((height * 4) / 3), height,
        left: Math.round((width - (height * 4) / 3) / 2), sharp, rendering: 'pixelated' }, name);
      if (options.viewport.height === 390) assert.ok(height >= 0.9 * 390, name);
      if (sharp) assert.equal(await sharpMismatches(page), 0, `${name}: the enlarged picture is the game's`);
      await page.screenshot({ path: `${kShots}fit-${name}.png` });
      if (name === 'desktop-1000x700') {
        // A smaller window, then one too small for a whole pixel per pixel.
        for (const [viewport, w] of [[{ width: 700, height: 520 }, 640], [{ width: 300, height: 200 }, 320]]) {
          await page.setViewportSize(viewport);
          await page.waitForFunction((w) => document.getElementById('canvas').getBoundingClientRect().width === w, w);
        }
      }
      if (name !== 'desktop-1280x800' && name !== 'phone3x-844x390') return;
      const full = () => page.evaluate(() => [!!document.fullscreenElement,
        document.getElementById('fullscreen').getAttribute('aria-pressed')]);
      // Key presses handed to the game's worker, counted.
      await page.evaluate(() => {
        const post = Worker.prototype.postMessage;
        window.gameKeyDowns = 0;
        Worker.prototype.postMessage = function (message, ...rest) {
          window.gameKeyDowns += message.what === 'key' && message.down;
          return post.call(this, message, ...rest);
        };
      });
      if (options.hasTouch) await page.tap('#fullscreen');
      else await page.click('#fullscreen');
      // The button's state follows on the fullscreenchange event, a moment after.
      await until('full screen', async () => (await full()).join() === 'true,true');
      await page.waitForTimeout(500);
      await page.screenshot({ path: `${kShots}fullscreen-${name}.png` });
      await page.keyboard.press('Alt+Enter');
      await until('full screen left', async () => (await full()).join() === 'false,false');
      await page.keyboard.press('Alt+Enter');
      await until('full screen again', async () => (await full())[0]);
      assert.equal(await page.evaluate(() => window.gameKeyDowns), 0, 'no key reached the game');
      await page.keyboard.press('Enter');
      assert.equal(await page.evaluate(() => window.gameKeyDowns), 1, 'Enter alone is the game\'s');
    });
  }
});

test('the mute switch and Ctrl+M silence the page and store nothing, M alone is the name\'s; after Quit the page plays again; a hidden page plays and draws nothing, the pause menu\'s music waiting for its return', () =>
  play({ viewport: { width: 1280, height: 800 } }, async (game) => {
    const { page } = game;
    await toMenu(game);
    const loud = async () => (await stats(page)).loudBuffers;
    const sounding = async () => {
      const before = await loud();
      await page.waitForTimeout(1000);
      return (await loud()) > before;
    };
    const switchState = () => page.evaluate(() =>
      [document.getElementById('mute').getAttribute('aria-pressed'), window.Module.reedshotOut.gain.value]);
    assert.ok(await sounding(), 'the menu music plays');
    const writes = events(game, 'store_write').length;
    await page.keyboard.press('m');
    assert.deepEqual(await switchState(), ['false', 1]);
    await page.keyboard.press('Control+m');
    assert.deepEqual(await switchState(), ['true', 0]);
    await until('the game counted what it played before', async () => (await stats(page)).muted);
    assert.equal(await sounding(), false, 'muted, nothing more is played');
    await page.screenshot({ path: kShots + 'muted.png' });
    await page.click('#mute');
    assert.deepEqual(await switchState(), ['false', 1]);
    assert.ok(await sounding(), 'the music is back');
    assert.equal(events(game, 'store_write').length, writes, 'nothing was stored');
    // The switch holds across a reload.
    await page.click('#mute');
    await page.reload();
    await firstFrame(page);
    await page.mouse.click(640, 400);
    assert.deepEqual(await switchState(), ['true', 0]);
    await page.click('#mute');

    // After Quit the page offers to play again, and the game starts afresh without a reload.
    game.trace.length = 0;
    await toMenu(game);
    await click(page, ...kMenuQuit);
    await until('the end', () => events(game, 'exit').length === 1);
    const again = page.locator('#again');
    await again.waitFor();
    await page.screenshot({ path: kShots + 'ended.png' });
    game.trace.length = 0;
    await again.click();
    assert.equal(await page.locator('#message').isVisible(), false);
    await toMenu(game);
    await click(page, ...kMenuHunt);
    await reached(game, 1);
    await click(page, 160, 120);
    await until('a shot', () => events(game, 'sound', { id: 550 }).length > 0);
    await page.screenshot({ path: kShots + 'played-again.png' });

    await until('sound on', () => page.evaluate(() => window.Module.reedshotAudio?.state === 'running'));
    game.trace.length = 0;
    await setHidden(page, true);
    await reached(game, 5);
    await until('the music started', () => events(game, 'sound', { music: true }).length > 0);
    const hidden = await stats(page);
    await page.waitForTimeout(2000);
    const after = await stats(page);
    assert.equal(await page.evaluate(() => window.Module.reedshotAudio.state), 'suspended');
    assert.equal(after.loudBuffers, hidden.loudBuffers, 'nothing was played');
    assert.equal(after.frames, hidden.frames, 'nothing was drawn');
    await setHidden(page, false);
    await until('sound again', () => page.evaluate(() => window.Module.reedshotAudio.state === 'running'));
    await until('the music', async () => (await stats(page)).loudBuffers > after.loudBuffers);
    await until('a frame', async () => (await stats(page)).frames > after.frames);
    await page.screenshot({ path: kShots + 'hidden-returned.png' });
  }));

test('after one visit the game starts with the network off, and a new build is taken on the next visit', async () => {
  // A copy of the build on a server of its own, to change and to stop.
  const dir = mkdtempSync(join(tmpdir(), 'reedshot-web-'));
  cpSync(kBuild, dir, { recursive: true });
  const server = await serve(dir, 0);
  const origin = `http://127.0.0.1:${server.address().port}/`;
  const context = await session.browser.newContext();
  const encodings = {};
  context.on('response', async (response) => {
    encodings[new URL(response.url()).pathname] = (await response.allHeaders())['content-encoding'];
  });
  const game = await visit(context, origin);
  const { page } = game;
  assert.equal(encodings['/reedshot.wasm'], 'br', 'the packed form was sent');
  await until('the service worker', () => page.evaluate(() => !!navigator.serviceWorker.controller));
  const caches = () => page.evaluate(() => caches.keys());
  const first = await caches();

  const index = join(dir, 'index.html');
  writeFileSync(index, readFileSync(index, 'utf8').replace('<title>Reedshot</title>', '<title>Reedshot 2</title>'));
  execFileSync(process.execPath, [new URL('publish.mjs', import.meta.url).pathname, dir]);
  await page.reload();
  await firstFrame(page);
  await until('the new build cached', async () => {
    const now = await caches();
    return now.length === 1 && now[0] !== first[0];
  });

  server.closeAllConnections();
  server.close();
  await context.setOffline(true);
  await page.reload();
  await firstFrame(page);
  assert.equal(await page.title(), 'Reedshot 2');
  assert.deepEqual(game.errors, []);
  await context.close();
  rmSync(dir, { recursive: true, force: true });
});
