// Plays the web page in headless Chromium through puppeteer-core, with the same checks as the
// desktop's end-to-end driver: layout, a real drag, motion only while held, freeze, hit, edge and
// the alarm through WebAudio. Chromium plays to a fake output whose clock runs in real time.
// Usage: node page.mjs PAGE_FOLDER   (installs puppeteer-core beside the folder on first use and
// serves the folder on 127.0.0.1 itself)
import {execSync} from 'node:child_process';
import {existsSync, readFileSync} from 'node:fs';
import {createServer} from 'node:http';
import {createRequire} from 'node:module';
import {extname, join, resolve} from 'node:path';

const folder = resolve(process.argv[2]);
const modules = resolve(folder, '..', 'test-modules');
if (!existsSync(join(modules, 'node_modules', 'puppeteer-core'))) {
  try {
    execSync(`npm install --prefix "${modules}" --no-audit --no-fund --loglevel=error ` +
             '--fetch-retries=1 puppeteer-core@25', {stdio: 'inherit', timeout: 120000});
  } catch (error) {
    console.log(`FAIL: puppeteer-core could not be installed from the npm registry: ${error.message}`);
    process.exit(1);
  }
}
const puppeteer = createRequire(join(modules, 'package.json'))('puppeteer-core');
const types = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm'};
const server = createServer((request, response) => {
  const file = join(folder, request.url === '/' ? 'index.html' : request.url.split('?')[0]);
  if (!file.startsWith(folder) || !existsSync(file)) {
    response.writeHead(404).end();
    return;
  }
  response.writeHead(200, {'Content-Type': types[extname(file)] || 'application/octet-stream'});
  response.end(readFileSync(file));
});
await new Promise((listening) => server.listen(0, '127.0.0.1', listening));
const url = `http://127.0.0.1:${server.address().port}/`;

let passes = 0;
let failures = 0;
function check(what, expected, actual) {
  if (JSON.stringify(expected) === JSON.stringify(actual)) {
    passes++;
  } else {
    failures++;
    console.log(`FAIL: ${what}: expected ${JSON.stringify(expected)}, got ${JSON.stringify(actual)}`);
  }
}
const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium',
  args: ['--headless=new', '--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage',
         '--no-first-run', '--disable-background-networking', '--disable-component-update',
         '--disable-sync', '--autoplay-policy=user-gesture-required'],
});
try {
  const page = await browser.newPage();
  await page.setViewport({width: 700, height: 600});
  // Watches the sounds from outside the game: what is decoded, what an analyser hears while a
  // sound plays, and where the enemies stand when each sound starts and ends.
  await page.evaluateOnNewDocument(() => {
    window.heard = [];
    const enemies = () => [...document.querySelectorAll('[data-name^="picEnemy"]')]
                              .map((box) => box.style.left + box.style.top).join();
    const decode = AudioContext.prototype.decodeAudioData;
    AudioContext.prototype.decodeAudioData = async function (bytes) {
      const buffer = await decode.call(this, bytes);
      const samples = buffer.getChannelData(0);
      let crossings = 0;
      for (let i = 1; i < samples.length; i++) {
        crossings += (samples[i - 1] < 0) !== (samples[i] < 0) ? 1 : 0;
      }
      const sound = {seconds: buffer.duration, hertz: crossings / 2 / buffer.duration};
      window.heard.push(sound);
      return buffer;
    };
    const connect = AudioBufferSourceNode.prototype.connect;
    AudioBufferSourceNode.prototype.connect = function (target) {
      const analyser = this.context.createAnalyser();
      analyser.fftSize = 8192;
      connect.call(this, analyser);
      const sound = window.heard[window.heard.length - 1];
      this.addEventListener('ended', () => { sound.after = enemies(); });
      const listen = () => {
        const bins = new Float32Array(analyser.frequencyBinCount);
        analyser.getFloatFrequencyData(bins);
        const peak = bins.indexOf(Math.max(...bins));
        sound.heardHertz = Math.round(peak * this.context.sampleRate / analyser.fftSize);
      };
      const start = this.start;
      this.start = (...args) => {
        sound.before = enemies();
        start.apply(this, args);
        setTimeout(listen, 150);
      };
      return connect.call(this, target);
    };
  });
  await page.goto(url);
  await page.waitForSelector('[data-name="picUser"]');
  await sleep(300);

  check('page title', 'Wirbelbox', await page.title());
  check('favicon is the icon', true,
        await page.$eval('link[rel=icon]', (link) => link.href.startsWith('data:image/png')));
  const style = (name) => page.$eval(`[data-name="${name}"]`, (box) => {
    const s = getComputedStyle(box);
    return [s.left, s.top, s.width, s.height, s.backgroundColor].join(' ');
  });
  const layout = {
    pbCanvas: '32px 32px 361px 361px rgb(255, 255, 255)',
    'picEnemy(0)': '46px 38px 61px 61px rgb(0, 0, 128)',
    'picEnemy(1)': '257px 34px 57px 49px rgb(0, 0, 128)',
    'picEnemy(2)': '42px 298px 30px 61px rgb(0, 0, 128)',
    'picEnemy(3)': '281px 311px 101px 21px rgb(0, 0, 128)',
    picUser: '187px 181px 41px 41px rgb(128, 0, 0)',
  };
  for (const [name, expected] of Object.entries(layout)) {
    check(`layout of ${name}`, expected, await style(name));
  }
  const form = await page.$eval('#frmGame', (f) => {
    const r = f.getBoundingClientRect();
    return [r.width, r.height, getComputedStyle(f).backgroundColor, r.left, r.top];
  });
  check('the form: size and colour', [425, 432, 'rgb(0, 0, 0)'], form.slice(0, 3));
  check('speed bar: range 0 to 10, value 1', ['0', '10', '1'],
        await page.$eval('#HScroll1', (bar) => [bar.min, bar.max, bar.value]));
  const [fx, fy] = [form[3], form[4]];
  // A second tab of the game says that it runs in another tab, and does not play.
  const second = await browser.newPage();
  await second.goto(url);
  await second.waitForFunction(() => document.body.textContent.includes('another tab'), {timeout: 5000})
      .catch(() => {});
  check('a second tab says the game runs in another tab', [true, 0], await second.evaluate(
      () => [document.body.textContent.includes('another tab'), document.querySelectorAll('#frmGame').length]));
  await second.close();
  const shot = await page.screenshot({encoding: 'binary'});
  const pixels = await page.evaluate(async (png, points) => {
    const image = await createImageBitmap(new Blob([new Uint8Array(png)], {type: 'image/png'}));
    const canvas = new OffscreenCanvas(image.width, image.height);
    const context = canvas.getContext('2d');
    context.drawImage(image, 0, 0);
    return points.map(([x, y]) => [...context.getImageData(x, y, 1, 1).data.slice(0, 3)].join());
  }, [...shot], [[fx + 5, fy + 5], [fx + 33, fy + 392], [fx + 200, fy + 200], [fx + 60, fy + 60]]);
  check('screenshot pixels: background, field, block, enemy',
        ['0,0,0', '255,255,255', '128,0,0', '0,0,128'], pixels);

  const left = (name) => page.$eval(`[data-name="${name}"]`, (b) => parseFloat(b.style.left));
  const colour = (name) => page.$eval(`[data-name="${name}"]`, (b) => b.style.background);
  // Idle: nothing moves.
  await sleep(300);
  check('idle: enemy 0 stands still', 46, await left('picEnemy(0)'));
  // A real drag: press on the block and move 10 pixels right.
  await page.mouse.move(fx + 200, fy + 200);
  await page.mouse.down();
  await page.mouse.move(fx + 210, fy + 200);
  await sleep(400);
  check('the block follows the pointer 1:1', 197, await left('picUser'));
  const moving = await left('picEnemy(0)');
  check('enemies move while the button is held', true, moving > 46);
  await page.mouse.up();
  await sleep(100);
  const frozen = await left('picEnemy(0)');
  await sleep(400);
  check('released: frozen', frozen, await left('picEnemy(0)'));
  // Speed 0: the timer ticks, nothing moves.
  await page.$eval('#HScroll1', (bar) => { bar.value = '0'; });
  await page.mouse.move(fx + 210, fy + 200);
  await page.mouse.down();
  await sleep(300);
  await page.mouse.up();
  check('at speed 0 enemies stay', frozen, await left('picEnemy(0)'));
  await page.$eval('#HScroll1', (bar) => { bar.value = '1'; });

  // The block onto the field's top edge: yellow, and the alarm, with no tick while it plays.
  await page.mouse.move(fx + 210, fy + 200);
  await page.mouse.down();
  await page.mouse.move(fx + 210, fy + 40);
  await sleep(1200);
  check('at the edge the block turns yellow', 'rgb(255, 255, 0)', await colour('picUser'));
  await page.mouse.move(fx + 210, fy + 200);
  await sleep(800);
  await page.mouse.up();
  check('back inside it is dark red', 'rgb(128, 0, 0)', await colour('picUser'));
  const heard = await page.evaluate(() => window.heard);
  const alarm = heard.find((sound) => Math.abs(sound.hertz - 880) < 10);
  check('the alarm decodes to 0.3 s of 880 Hz', [0.3, 880],
        alarm ? [Math.round(alarm.seconds * 100) / 100, Math.round(alarm.hertz / 10) * 10] : null);
  check('an analyser hears 880 Hz while it plays', true,
        heard.some((sound) => Math.abs((sound.heardHertz || 0) - 880) < 12));
  const played = heard.filter((sound) => sound.after);
  check('no tick while a sound plays', true,
        played.length > 1 && played.every((sound) => sound.before === sound.after));

  // The block dragged onto enemy 0 in a fresh page: the enemy turns light blue.
  await page.reload();
  await page.waitForSelector('[data-name="picUser"]');
  await sleep(300);
  await page.mouse.move(fx + 200, fy + 200);
  await page.mouse.down();
  await page.mouse.move(fx + 73, fy + 79);
  await sleep(500);
  check('an enemy touching the block turns light blue', 'rgb(192, 192, 255)',
        await colour('picEnemy(0)'));
  await page.mouse.up();
} finally {
  await browser.close();
  server.close();
}
console.log(`${passes} passed, ${failures} failed`);
process.exit(failures === 0 ? 0 : 1);
