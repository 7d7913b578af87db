// The browser build in real headless Chromium (see harness.mjs).
import { test } from 'node:test';
import assert from 'node:assert/strict';
import {
  changed, click, events, firstFrame, kMenuHunt, kOptionsOk, kShots, openOptions, pixels, play, reached, reload,
  session, stats, toMenu, touch, until, useBrowser, visit,
} from './harness.mjs';

useBrowser();

const kSpecialEffects = [154, 156];

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

test('a changed setting is kept across a reload; a first visit is a first start', async () => {
  const created = (g) =>
    g.trace.filter((t) => t.event === 'store_write' && t.ok !== false && (t.kind === 'key' || t.kind === 'database'));
  await play({ viewport: { width: 800, height: 600 } }, async (game) => {
    const { page } = game;
    assert.ok(created(game).length > 0, 'the first visit creates the store');
    await toMenu(game);
    await openOptions(game);
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
    await openOptions(game);
    await page.screenshot({ path: kShots + 'options-reloaded.png' });
    assert.equal(changed(cleared, await pixels(page, ...box)), 0, 'the box is still clear');
    assert.equal(await page.locator('#storage').isVisible(), false);
  });
  // Another profile knows nothing of it.
  const other = await session.browser.newContext();
  assert.ok(created(await visit(other)).length > 0);
  await other.close();
});

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
