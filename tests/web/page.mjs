// What only Chromium's DevTools protocol shows of the web page (the driver, tests/e2e/game.sh,
// plays it like the desktop programs): computed layout and styles, the enemies' lower turn,
// moves made while sounds play, a second tab, installability, offline play and touch screens.
// Usage: node page.mjs PAGE_FOLDER   (installs puppeteer-core beside the folder on first use and
// serves the folder on 127.0.0.1 itself)
import {execSync} from 'node:child_process';
import {existsSync, readFileSync} from 'node:fs';
import {createServer} from 'node:http';
import {createRequire} from 'node:module';
import {extname, join, resolve} from 'node:path';

const [folderArgument] = process.argv.slice(2);
const folder = resolve(folderArgument);
const modules = resolve(folder, '..', 'test-modules');
try {
  existsSync(join(modules, 'node_modules', 'puppeteer-core')) ||
      execSync(`npm install --prefix "${modules}" --no-audit --no-fund --loglevel=error --fetch-retries=1 ` +
               'puppeteer-core@25', {stdio: 'inherit', timeout: 120000});
} catch (error) {
  console.log(`FAIL: the test's packages could not be installed from the npm registry: ${error.message}`);
  process.exit(1);
}
const require = createRequire(join(modules, 'package.json'));
const puppeteer = require('puppeteer-core');
const types = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
               '.webmanifest': 'application/manifest+json', '.png': 'image/png'};
const server = createServer((request, response) => {
  const file = join(folder, request.url.split('?')[0].replace(/\/$/, '/index.html'));
  const found = file.startsWith(folder) && existsSync(file);
  response.writeHead(found ? 200 : 404, {'Content-Type': types[extname(file)] || 'application/octet-stream'});
  response.end(found ? readFileSync(file) : undefined);
});
await new Promise((listening) => server.listen(0, '127.0.0.1', listening));
const url = `http://127.0.0.1:${server.address().port}/`;

let passes = 0;
let failures = 0;
let engine = 'chromium';
function check(what, expected, actual) {
  const [e, a] = [JSON.stringify(expected), JSON.stringify(actual)];
  e === a ? passes++ : (failures++, console.log(`FAIL [${engine}]: ${what}: expected ${e}, got ${a}`));
}
const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

// A page and the few verbs the checks use. Coordinates are CSS pixels of the viewport.
function session(page) {
  const {mouse} = page;
  return {page, evaluate: (...args) => page.evaluate(...args), move: (x, y) => mouse.move(x, y),
          down: () => mouse.down(), up: () => mouse.up()};
}

// Waits until `f` holds in the page (a sound holds the screen back by design: poll, never guess).
async function until(s, f, ms = 5000) {
  for (const end = Date.now() + ms; Date.now() < end; await sleep(25)) {
    if (await s.evaluate(f)) return true;
  }
  return false;
}
const settled = (s) => until(s, () => Module.wbPending === 0 && Module.wbQueue.length === 0);
// A box's design position, colour and place in the viewport.
const at = (s, name) => s.evaluate((n) => {
  const b = wb(n);
  const r = b.getBoundingClientRect();
  return {left: parseFloat(b.style.left), top: parseFloat(b.style.top), colour: b.style.background, x: r.left, y: r.top};
}, name);
async function drag(s, [x, y], ...points) {
  await s.move(x, y);
  await s.down();
  for (const [px, py] of points) await s.move(px, py);
}
// Whether the whole form is in the viewport, at the largest scale that fits (never above 1).
const fits = (s) => s.evaluate(() => {
  const r = document.getElementById('frmGame').getBoundingClientRect();
  return r.left >= 0 && r.top >= 0 && r.right <= innerWidth && r.bottom <= innerHeight &&
         Math.abs(r.width - 425 * Math.min(1, innerWidth / 425, innerHeight / 432)) < 0.5;
});
async function load(s) {
  await s.page.goto(url);
  await until(s, () => !!document.querySelector('[data-name="picUser"]') && Module.wbScale !== undefined);
  await s.evaluate(() => {
    window.wb = (n) => document.querySelector(`[data-name="${n}"]`) || document.getElementById(n);
  });
}

async function play(s) {
  await load(s);
  const layout = [['frmGame', '425px 432px rgb(0, 0, 0)'],
    ['pbCanvas', '32px 32px 361px 361px rgb(255, 255, 255)'], ['picEnemy(0)', '46px 38px 61px 61px rgb(0, 0, 128)'],
    ['picEnemy(1)', '257px 34px 57px 49px rgb(0, 0, 128)'], ['picEnemy(2)', '42px 298px 30px 61px rgb(0, 0, 128)'],
    ['picEnemy(3)', '281px 311px 101px 21px rgb(0, 0, 128)'], ['picUser', '187px 181px 41px 41px rgb(128, 0, 0)'],
    ['HScroll1', '0 10 1'], ['title', 'Wirbelbox']];
  check('title, layout and speed bar (range 0 to 10, value 1)', layout, await s.evaluate((names) => names.map(([n]) => {
    const [c, bar] = [getComputedStyle(wb(n) || document.body), wb('HScroll1')];
    const place = n === 'frmGame' ? [] : [c.left, c.top];
    return [n, n === 'title' ? document.title : n === 'HScroll1' ? `${bar.min} ${bar.max} ${bar.value}`
                                              : [...place, c.width, c.height, c.backgroundColor].join(' ')];
  }), layout));
  check('a finger on the page neither scrolls, zooms, selects nor opens a menu', ['none', 'none', 'none', true],
        await s.evaluate(() => {
          const c = getComputedStyle(document.body);
          return [c.touchAction, c.overscrollBehaviorY, c.userSelect || c.webkitUserSelect,
                  !document.body.dispatchEvent(new MouseEvent('contextmenu', {bubbles: true, cancelable: true}))];
        }));
  const [fx, fy] = await s.evaluate(() => ['left', 'top'].map((k) => wb('frmGame').getBoundingClientRect()[k]));
  // As a user sets it: the bar reports an input event.
  const speed = (value) => s.evaluate((v) => { wb('HScroll1').value = v; wb('HScroll1').dispatchEvent(new Event('input')); }, value);

  // Enemy 0 (61 high) turns once its top passes 461 - 61 - 20 = 380: the window's outer height
  // on Windows, not the page's 432. At speed 10 from 38 its deepest top is 388.
  await s.evaluate(() => {
    window.deepest = 0;
    new MutationObserver(() => { window.deepest = Math.max(window.deepest, parseFloat(wb('picEnemy(0)').style.top)); })
        .observe(wb('picEnemy(0)'), {attributes: true});
  });
  await speed('10');
  await drag(s, [fx + 200, fy + 200]);
  await until(s, () => parseFloat(wb('picEnemy(0)').style.top) < window.deepest, 15000);
  await s.up();
  check('the enemies turn where they turn on Windows', 388, await s.evaluate(() => window.deepest));
  await settled(s);
  await load(s);

  // Over the field's left edge: yellow and an alarm every tick. Moves made meanwhile, in small
  // steps, wait behind the sounds; when they have run the block is under the pointer again.
  await drag(s, [fx + 200, fy + 200], [fx + 30, fy + 200]);
  check('at the edge the block turns yellow', true, await until(s, () => wb('picUser').style.background === 'rgb(255, 255, 0)'));
  for (let x = 40; x <= 200; x += 20) {
    await s.move(fx + x, fy + 200);
    await sleep(30);
  }
  await settled(s);
  const back = await at(s, 'picUser');
  check('moved through alarms, the block is under the pointer and dark red', [187, 181, 'rgb(128, 0, 0)'],
        [back.left, back.top, back.colour]);
  await s.up();
  await settled(s);
}

// What only Chromium's DevTools protocol shows: phones, installability, offline play.
async function chromiumOnly(s, browser) {
  const cdp = await s.page.createCDPSession();
  check('no installability errors; the favicon is the icon', [[], true],
        [(await cdp.send('Page.getInstallabilityErrors')).installabilityErrors,
         await s.evaluate(() => document.querySelector('link[rel=icon]').href.startsWith('data:image/png'))]);
  const second = await browser.newPage();
  await second.goto(url);
  check('a second tab says the game runs in another tab', [true, 0], [await until(session(second),
        () => document.body.textContent.includes('another tab')), await second.$$eval('#frmGame', (f) => f.length)]);
  await second.close();
  await s.page.close();

  const o = session(await browser.newPage());
  await o.page.setCacheEnabled(false);
  await o.page.setOfflineMode(true);
  await load(o);
  const kept = await at(o, 'picUser');
  await drag(o, [kept.x + 5, kept.y + 5], [kept.x + 15, kept.y + 5]);
  check('offline, with the HTTP cache off, the page plays', 197, (await sleep(300), (await at(o, 'picUser')).left));
  await o.page.close();

  for (const [width, height] of [[360, 640], [640, 360]]) {
    engine = `chromium ${width}x${height} touch`;
    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    await page.setViewport({width, height, isMobile: true, hasTouch: true, deviceScaleFactor: 2});
    const [t, finger] = [session(page), page.touchscreen];
    await load(t);
    const start = await at(t, 'picUser');
    await finger.touchStart(start.x + 15, start.y + 15);
    await finger.touchMove(start.x + 45, start.y + 25);
    const held = (await sleep(400), await at(t, 'picUser'));
    check('the whole form on the screen; a finger drags the block 1:1, the enemies run', [true, true, true, true],
          [await fits(t), Math.abs(held.x - start.x - 30) <= 1, Math.abs(held.y - start.y - 10) <= 1,
           (await at(t, 'picEnemy(0)')).left > 46]);
    await finger.touchEnd();
    const still = (await settled(t), await at(t, 'picEnemy(0)')).left;
    check('lifted: frozen, and the sound may start', [still, 'running'],
          [(await sleep(300), (await at(t, 'picEnemy(0)')).left), await page.evaluate(() => Module.wbAudio.state)]);
    await finger.touchStart(5, height - 5);
    await finger.touchMove(5, 5);
    await finger.touchEnd();
    const bar = await page.$eval('#HScroll1', (b) => { const r = b.getBoundingClientRect(); return [r.right - 2, r.top + r.height / 2]; });
    await finger.tap(...bar);
    check('the page neither scrolls nor zooms; the speed bar answers a finger', [0, 0, 1, '10'],
          await page.evaluate(() => [scrollX, scrollY, visualViewport.scale, wb('HScroll1').value]));
    await context.close();
  }
}

const browser = await puppeteer.launch({executablePath: '/usr/bin/chromium', args: [
  '--headless=new', '--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
  '--autoplay-policy=user-gesture-required']});
try {
  const s = session(await browser.newPage());
  await play(s);
  await chromiumOnly(s, browser);
} catch (error) {
  check('the run ends without an error', null, String(error.stack || error));
} finally {
  await browser.close().catch(() => {});
}
server.close();
console.log(`${passes} passed, ${failures} failed`);
process.exit(failures === 0 ? 0 : 1);
