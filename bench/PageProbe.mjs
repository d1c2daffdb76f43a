// Measures the web page in headless Chromium: navigation to the first painted frame of the game
// (median of RUNS cold loads) and ticks per second while the button is held (speed 0, so that
// nothing is hit and no sound holds a tick up). Prints first_paint_ms=… ticks_per_s=…
// Usage: node PageProbe.mjs URL MODULES_FOLDER [RUNS]
import {createRequire} from 'node:module';
import {join, resolve} from 'node:path';

const [url, modules, runs = '7'] = process.argv.slice(2);
const puppeteer = createRequire(join(resolve(modules), 'package.json'))('puppeteer-core');
const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium',
  args: ['--headless=new', '--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage',
         '--no-first-run', '--disable-background-networking', '--disable-component-update'],
});
const paints = [];
for (let run = 0; run < Number(runs); run++) {
  const context = await browser.createBrowserContext();  // cold: no cache, no compiled code
  const page = await context.newPage();
  await page.evaluateOnNewDocument(() => {
    new MutationObserver((changes, observer) => {
      const form = document.getElementById('frmGame');
      if (form && form.style.visibility === 'visible') {
        observer.disconnect();
        requestAnimationFrame(() => { window.firstPaint = performance.now(); });
      }
    }).observe(document, {subtree: true, childList: true, attributes: true});
  });
  await page.goto(url);
  await page.waitForFunction(() => window.firstPaint !== undefined);
  paints.push(await page.evaluate(() => window.firstPaint));
  await context.close();
}
paints.sort((a, b) => a - b);

const page = await browser.newPage();
await page.goto(url);
await page.waitForSelector('[data-name="picUser"]');
await page.evaluate(() => {
  document.getElementById('HScroll1').value = '0';
  // Every event goes through wbRun; with the pointer held still, every one is a tick.
  window.ticks = 0;
  const run = Module.wbRun;
  Module.wbRun = (event) => { window.ticks++; run(event); };
});
const box = await (await page.$('[data-name="picUser"]')).boundingBox();
await page.mouse.move(box.x + 20, box.y + 20);
await page.mouse.down();
const start = await page.evaluate(() => [window.ticks, performance.now()]);
await new Promise((done) => setTimeout(done, 10000));
const end = await page.evaluate(() => [window.ticks, performance.now()]);
await page.mouse.up();
await browser.close();
const rate = (end[0] - start[0]) / ((end[1] - start[1]) / 1000);
console.log(`first_paint_ms=${paints[Math.floor(paints.length / 2)].toFixed(1)} ticks_per_s=${rate.toFixed(2)}`);
