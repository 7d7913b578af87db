// The browser build in real headless Chromium (see harness.mjs).
import { test } from 'node:test';
import assert from 'node:assert/strict';
import {
  changed, click, events, firstFrame, kMenuHunt, kShots, pixels, play, reached, session, stats, toMenu, touch, until,
  useBrowser,
} from './harness.mjs';

useBrowser();

test('a click reaches the menu with its music, keys are the game\'s, and touches fire the shells of a hunt', () =>
  play({ viewport: { width: 1000, height: 700 }, hasTouch: true }, async (game) => {
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
    await page.evaluate(() => {
      window.reedshotHeard = window.Module.reedshotAudio.createAnalyser();
      window.Module.reedshotOut.connect(window.reedshotHeard);
    });
    await until('the music at the output', () => page.evaluate(() => {
      const samples = new Float32Array(window.reedshotHeard.fftSize);
      window.reedshotHeard.getFloatTimeDomainData(samples);
      return samples.some((v) => v !== 0);
    }));

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
  }));

test('the page says so when WebAssembly or storage is missing', async () => {
  const context = await session.browser.newContext();
  const noWasm = await context.newPage();
  await noWasm.addInitScript(() => { delete window.WebAssembly; });
  await noWasm.goto(session.origin);
  await assert.doesNotReject(noWasm.locator('#message', { hasText: 'needs WebAssembly' }).waitFor());
  await noWasm.screenshot({ path: kShots + 'no-webassembly.png' });

  const noStorage = await context.newPage();
  await noStorage.addInitScript(() => { delete window.indexedDB; });
  await noStorage.goto(session.origin);
  await noStorage.locator('#storage', { hasText: 'will not be kept' }).waitFor();
  await firstFrame(noStorage);
  await noStorage.screenshot({ path: kShots + 'no-storage.png' });
  await context.close();
});
