// What the player earns is kept when the tab is closed without quitting, one
// tab at a time owns the store, and a browser that refuses to store it leaves
// a playable game that says so.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import {
  changed, click, events, firstFrame, kOptionsOk, kShots, openOptions, pixels, reached, session, stats, toMenu, until,
  useBrowser, visit, watch,
} from './harness.mjs';

useBrowser();

const kMenuName = [79, 215];
const kMenuScores = [269, 123];
const kShellStrip = [250, 225];

// The store file as the browser's storage holds it, as text (empty when none).
const storedText = (page) =>
  page.evaluate(() => new Promise((done) => {
    const open = indexedDB.open('/data', 21);
    open.onsuccess = () => {
      const db = open.result;
      const get = db.transaction('FILE_DATA').objectStore('FILE_DATA').get('/data/store.sqlite');
      get.onsuccess = () => {
        db.close();
        done(get.result ? new TextDecoder('latin1').decode(get.result.contents) : '');
      };
    };
  }));

async function typeName(game, name) {
  await click(game.page, ...kMenuName);
  await reached(game, 4);
  await game.page.waitForTimeout(600);
  await game.page.keyboard.type(name);
  await game.page.keyboard.press('Enter');
  await until('the name stored', () => events(game, 'store_write', { name: 'UserName', value: name.toUpperCase() }).length);
}

// The sounds of a hit: a duck or a sign, a red bird, the decoy.
const [kDuckOrSign, kRedBird, kDecoy] = [544, 558, 562];

test('a typed name and a high score survive closing the tab (on the high-score screen), another profile starts afresh', async () => {
  const created = (g) => events(g, 'store_write').filter((t) => t.ok !== false && (t.kind === 'key' || t.kind === 'database'));
  const context = await session.browser.newContext({ viewport: { width: 800, height: 600 } });
  // The game's clock runs four times as fast, so the hunt's three minutes take 45 s.
  context.on('page', (page) => page.on('worker', (worker) => worker.evaluate(() => {
    const now = performance.now.bind(performance);
    performance.now = () => now() * 4;
  })));
  // The store is opened once the introduction stands still, after its first frame.
  const named = await visit(context);
  await until('the first visit creating the store', () => created(named).length > 0);
  await toMenu(named);
  await typeName(named, 'alice');
  await named.page.close();  // at once: no quit, no waiting for the copy

  const game = await visit(context, session.origin + '?hunt&trace');
  assert.deepEqual(created(game), [], 'the next visit found the store of the first');
  await reached(game, 1);
  // A spray of shots, reloading by the shell strip, until the score is surely above 0 (a duck or a sign
  // gives 10 points or more, a red bird or the decoy takes 50), then the clock runs out.
  const heard = (...ids) => ids.reduce((n, id) => n + events(game, 'sound', { id }).length, 0);
  for (let shot = 0; !events(game, 'hunt_end').length; shot++) {
    if (heard(kDuckOrSign) * 10 <= heard(kRedBird, kDecoy) * 50) {
      await click(game.page, 40 + (shot % 5) * 60, 40 + (Math.floor(shot / 5) % 4) * 40);
      if (shot % 7 === 6) await click(game.page, ...kShellStrip);
    }
    await game.page.waitForTimeout(120);
    assert.ok(shot < 2000, 'the hunt ends');
  }
  assert.notEqual(events(game, 'hunt_end')[0].score, 0, `the spray of shots scored (${heard(550)} shots, ${heard(kDuckOrSign)} hits)`);
  await until('the high-score screen', () => events(game, 'view', { from: 1, to: 7 }).length, 30000);
  await game.page.waitForTimeout(500);
  const table = await pixels(game.page);
  await game.page.screenshot({ path: kShots + 'store-hunt-results.png' });
  await game.page.close();

  const again = await visit(context);
  assert.match(await storedText(again.page), /ALICE/);
  assert.equal(await again.page.locator('#storage').isVisible(), false);
  await toMenu(again);
  await click(again.page, ...kMenuScores);
  await reached(again, 7);
  await again.page.waitForTimeout(500);
  assert.equal(changed(table, await pixels(again.page)), 0, 'the table is the one the tab was closed on');
  assert.deepEqual([...named.errors, ...game.errors, ...again.errors], []);
  await context.close();
  const other = await session.browser.newContext();
  const fresh = await visit(other);
  await until('another profile making a store of its own', () => created(fresh).length > 0);
  await other.close();
});

test('a second tab offers to take over; the first saves and stops, and nothing is overwritten', async () => {
  const context = await session.browser.newContext({ viewport: { width: 800, height: 600 } });
  const first = await visit(context);
  await toMenu(first);

  const second = watch(await context.newPage());
  await second.page.goto(session.origin + '?trace');
  const offer = second.page.locator('#elsewhere');
  await offer.getByText('open in another tab').waitFor();
  await second.page.screenshot({ path: kShots + 'store-second-tab.png' });

  await typeName(first, 'alice');
  assert.equal((await stats(second.page)).firstFrameMs, 0, 'the second tab does not play');
  await offer.getByRole('button', { name: 'Play here' }).click();
  await first.page.locator('#elsewhere').getByText('playing in another tab').waitFor();
  await first.page.screenshot({ path: kShots + 'store-taken-over.png' });
  assert.equal(events(first, 'exit').length, 1, 'the first tab stopped');
  await firstFrame(second.page);
  const copiesLeft = (await stats(first.page)).copies;

  // The second tab plays on the first one's store: its Options OK keeps the name.
  await toMenu(second);
  await openOptions(second);
  const copies = (await stats(second.page)).copies;
  await click(second.page, ...kOptionsOk);
  await until('the options copied', async () => (await stats(second.page)).copies > copies);
  await second.page.waitForTimeout(500);
  assert.equal((await stats(second.page)).copies, copies + 1, 'eleven settings written, one copy');
  assert.match(await storedText(second.page), /ALICE/);
  assert.equal((await stats(first.page)).copies, copiesLeft, 'the first tab wrote nothing more');

  // "Play here" in the first tab takes the game back: it reloads straight into
  // the game, the second saves and stops, and the first tab's saves are kept.
  first.trace.length = 0;
  await first.page.locator('#elsewhere').getByRole('button', { name: 'Play here' }).click();
  await firstFrame(first.page);
  await second.page.locator('#elsewhere').getByText('playing in another tab').waitFor();
  assert.equal(events(second, 'exit').length, 1, 'the second tab stopped');
  const secondCopies = (await stats(second.page)).copies;
  await toMenu(first);
  await typeName(first, 'bob');
  await until('the name copied', async () => /BOB/.test(await storedText(first.page)));
  assert.equal((await stats(second.page)).copies, secondCopies, 'the second tab wrote nothing more');
  assert.deepEqual([...first.errors, ...second.errors], []);
  await context.close();
});

test('a quota too small for the store gives one message, a playable game and retries that stop', async () => {
  const context = await session.browser.newContext({ viewport: { width: 800, height: 600 } });
  const page = await context.newPage();
  const cdp = await context.newCDPSession(page);
  await cdp.send('Storage.overrideQuotaForOrigin', { origin: session.origin.replace(/\/$/, ''), quotaSize: 16384 });
  const game = watch(page);
  await page.goto(session.origin + '?trace');
  await firstFrame(page);
  await page.locator('#storage', { hasText: 'not being saved' }).waitFor();
  await toMenu(game);
  await openOptions(game);
  await page.screenshot({ path: kShots + 'store-quota.png' });
  await until('the retries to stop', async () => (await stats(page)).copyFailures >= 5, 20000);
  await page.waitForTimeout(2000);
  const after = await stats(page);
  assert.deepEqual([after.copies, after.copyFailures], [0, 5]);
  assert.deepEqual(game.errors, []);
  await context.close();
});
