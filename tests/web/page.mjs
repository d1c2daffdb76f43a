// What only Chromium's DevTools protocol shows of the web page (the driver, tests/e2e/,
// plays it like the desktop programs): computed styles, a second tab, installability, offline play
// and touch screens.
// Usage: node page.mjs PAGE_FOLDER
import {resolve} from 'node:path';
import {chromium, serve} from '../../scripts/serve.mjs';

const folder = resolve(process.argv[2]);
const {server, url} = await serve(folder);

let passes = 0, failures = 0;
function check(what, expected, actual) {
  const [e, a] = [JSON.stringify(expected), JSON.stringify(actual)];
  e === a ? passes++ : (failures++, console.log(`FAIL: ${what}: expected ${e}, got ${a}`));
}
const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

// Waits until `f` holds in the page (a sound holds the screen back by design: poll, never guess).
async function until(page, f, ms = 5000) {
  for (const end = Date.now() + ms; Date.now() < end; await sleep(25)) {
    if (await page.evaluate(f)) return true;
  }
  return false;
}
// A box's design position and place in the viewport.
const at = (page, name) => page.evaluate((n) => {
  const r = wb(n).getBoundingClientRect();
  return {left: parseFloat(wb(n).style.left), x: r.left, y: r.top};
}, name);
async function load(page) {
  // Every breach of the page's Content-Security-Policy, as the page itself is told of it.
  await page.evaluateOnNewDocument(() => {
    window.violations = [];
    document.addEventListener('securitypolicyviolation', (e) => violations.push(`${e.violatedDirective} ${e.blockedURI}`));
  });
  await page.goto(url);
  await until(page, () => !!document.querySelector('[data-name="picUser"]') && Module.wbScale !== undefined);
  await page.evaluate(() => {
    window.wb = (n) => document.querySelector(`[data-name="${n}"]`) || document.getElementById(n);
  });
}

const browser = await chromium(folder);
try {
  // Installability, a second tab, offline play, phones.
  const page = await browser.newPage();
  await load(page);
  check('a finger on the page neither scrolls, zooms, selects nor opens a menu', ['none', 'none', 'none', true],
        await page.evaluate(() => {
          const c = getComputedStyle(document.body);
          return [c.touchAction, c.overscrollBehaviorY, c.userSelect || c.webkitUserSelect,
                  !document.body.dispatchEvent(new MouseEvent('contextmenu', {bubbles: true, cancelable: true}))];
        }));
  const cdp = await page.createCDPSession();
  const {nodes} = await cdp.send('Accessibility.getFullAXTree');
  const main = nodes.find((n) => n.role?.value === 'main');
  check('the policy is sent and nothing breaches it; a first contentful paint; a name and description for assistive technology',
        [true, [], true, 'Wirbelbox', true],
        [(await page.evaluate(() => fetch(location.href).then((r) => r.headers.get('Content-Security-Policy')))).includes(
             "script-src 'self' 'wasm-unsafe-eval';"),
         await page.evaluate(() => violations),
         await page.evaluate(() => performance.getEntriesByName('first-contentful-paint').length === 1),
         main?.name?.value, /^A dexterity game: .*drag/.test(main?.description?.value)]);
  check('no installability errors; the favicon is the icon', [[], true],
        [(await cdp.send('Page.getInstallabilityErrors')).installabilityErrors,
         await page.evaluate(() => document.querySelector('link[rel=icon]').href.startsWith('data:image/png'))]);
  const second = await browser.newPage();
  await second.goto(url);
  check('a second tab says the game runs in another tab', [true, 0], [await until(second,
        () => document.body.textContent.includes('another tab')), await second.$$eval('#frmGame', (f) => f.length)]);
  await second.close();
  await page.close();

  const offline = await browser.newPage();
  await offline.setCacheEnabled(false);
  await offline.setOfflineMode(true);
  await load(offline);
  const kept = await at(offline, 'picUser');
  await offline.mouse.move(kept.x + 5, kept.y + 5);
  await offline.mouse.down();
  await offline.mouse.move(kept.x + 15, kept.y + 5);
  check('offline, with the HTTP cache off, the page plays', 197, (await sleep(300), (await at(offline, 'picUser')).left));
  await offline.close();

  for (const [width, height] of [[360, 640], [640, 360]]) {
    const context = await browser.createBrowserContext();
    const t = await context.newPage();
    await t.setViewport({width, height, isMobile: true, hasTouch: true, deviceScaleFactor: 2});
    await load(t);
    const start = await at(t, 'picUser');
    await t.touchscreen.touchStart(start.x + 15, start.y + 15);
    await t.touchscreen.touchMove(start.x + 45, start.y + 25);
    const held = (await sleep(400), await at(t, 'picUser'));
    // The whole form in the viewport, at the largest scale that fits (never above 1).
    const fits = await t.evaluate(() => {
      const r = document.getElementById('frmGame').getBoundingClientRect();
      return r.left >= 0 && r.top >= 0 && r.right <= innerWidth && r.bottom <= innerHeight &&
             Math.abs(r.width - 425 * Math.min(1, innerWidth / 425, innerHeight / 432)) < 0.5;
    });
    check(`${width}x${height}: the whole form on the screen; a finger drags the block 1:1, the enemies run`,
          [true, true, true, true], [fits, Math.abs(held.x - start.x - 30) <= 1, Math.abs(held.y - start.y - 10) <= 1,
                                     (await at(t, 'picEnemy(0)')).left > 46]);
    await t.touchscreen.touchEnd();
    const still = (await until(t, () => Module.wbPending === 0 && Module.wbQueue.length === 0), await at(t, 'picEnemy(0)')).left;
    check(`${width}x${height}: lifted: frozen, and the sound may start`, [still, 'running'],
          [(await sleep(300), (await at(t, 'picEnemy(0)')).left), await t.evaluate(() => Module.wbAudio.state)]);
    await t.touchscreen.touchStart(5, height - 5);
    await t.touchscreen.touchMove(5, 5);
    await t.touchscreen.touchEnd();
    const bar = await t.$eval('#HScroll1', (b) => { const r = b.getBoundingClientRect(); return [r.right - 2, r.top + r.height / 2]; });
    await t.touchscreen.tap(...bar);
    check(`${width}x${height}: the page neither scrolls nor zooms; the speed bar answers a finger`, [0, 0, 1, '10'],
          await t.evaluate(() => [scrollX, scrollY, visualViewport.scale, wb('HScroll1').value]));
    await context.close();
  }
} catch (error) {
  check('the run ends without an error', null, String(error.stack || error));
} finally {
  await browser.close().catch(() => {});
}
server.close();
console.log(`${passes} passed, ${failures} failed`);
process.exit(failures === 0 ? 0 : 1);
