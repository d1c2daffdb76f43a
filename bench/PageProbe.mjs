// Measures a page in headless Chromium: navigation to the first painted frame of its form (median
// of RUNS cold loads), and the page's CPU time (the renderer's task time) over 10 s: for the game
// with the button held at its starting speed, for the reference its moving version (?move).
// The game's ticks per second are counted at speed 0, where nothing is hit and no sound holds a
// tick up.
// Prints first_paint_ms=… cpu_ms=… [ticks_per_s=…]
// Usage: node PageProbe.mjs PAGE_FOLDER game|reference [RUNS]
import {resolve} from 'node:path';
import {chromium, serve} from '../scripts/serve.mjs';

const [folder, kind, runs = '7'] = process.argv.slice(2);
const {server, url} = await serve(resolve(folder));
const browser = await chromium(resolve(folder));
const paints = [];
for (let run = 0; run < Number(runs); run++) {
  const context = await browser.createBrowserContext();  // cold: no cache, no compiled code
  const page = await context.newPage();
  await page.evaluateOnNewDocument(() => {
    new MutationObserver((changes, observer) => {
      const form = document.getElementById('frmGame');
      if (form && getComputedStyle(form).visibility === 'visible') {
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
const taskSeconds = async () => (await page.metrics()).TaskDuration;
let line = `first_paint_ms=${paints[Math.floor(paints.length / 2)].toFixed(1)}`;
// Holds the block for 10 s at a speed; gives the task time and the ticks per second.
async function hold(speed) {
  await page.goto(url);
  await page.waitForSelector('[data-name="picUser"]');
  await page.evaluate((value) => {
    const bar = document.getElementById('HScroll1');
    bar.value = value;
    bar.dispatchEvent(new Event('input'));
    // Every event goes through wbRun; with the pointer held still, every one is a tick.
    window.ticks = 0;
    const run = Module.wbRun;
    Module.wbRun = (event) => { window.ticks++; run(event); };
  }, String(speed));
  const box = await (await page.$('[data-name="picUser"]')).boundingBox();
  await page.mouse.move(box.x + 20, box.y + 20);
  await page.mouse.down();
  const now = async () => [...await page.evaluate(() => [window.ticks, performance.now()]), await taskSeconds()];
  const [ticks, start, cpu] = await now();
  await new Promise((done) => setTimeout(done, 10000));
  const [endTicks, end, endCpu] = await now();
  await page.mouse.up();
  return [(endCpu - cpu) * 1000, (endTicks - ticks) / ((end - start) / 1000)];
}
if (kind === 'game') {
  const [cpu] = await hold(1);  // the speed the game starts with: enemies move, hit and sound
  const [, rate] = await hold(0);
  line += ` cpu_ms=${cpu.toFixed(0)} ticks_per_s=${rate.toFixed(2)}`;
} else {
  await page.goto(`${url}?move`);
  const cpu = await taskSeconds();
  await new Promise((done) => setTimeout(done, 10000));
  line += ` cpu_ms=${((await taskSeconds() - cpu) * 1000).toFixed(0)}`;
}
await browser.close();
server.close();
console.log(line);
