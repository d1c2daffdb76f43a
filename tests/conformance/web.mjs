// Runs the conformance suite built for the page in headless Chromium and passes on its output
// and its exit status. Usage: node web.mjs FOLDER   (the page's test packages sit beside FOLDER)
import {existsSync, readFileSync} from 'node:fs';
import {createServer} from 'node:http';
import {createRequire} from 'node:module';
import {extname, join, resolve} from 'node:path';

const folder = resolve(process.argv[2]);
const puppeteer = createRequire(join(folder, '..', 'test-modules', 'package.json'))('puppeteer-core');
const types = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm'};
const server = createServer((request, response) => {
  const file = join(folder, request.url === '/' ? 'index.html' : request.url);
  const found = file.startsWith(folder) && existsSync(file);
  response.writeHead(found ? 200 : 404, {'Content-Type': types[extname(file)] || 'text/plain'});
  response.end(found ? readFileSync(file) : undefined);
});
await new Promise((listening) => server.listen(0, '127.0.0.1', listening));
const browser = await puppeteer.launch({executablePath: '/usr/bin/chromium', args: [
  '--headless=new', '--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking']});
const page = await browser.newPage();
page.on('console', (message) => console.log(message.text()));
page.on('pageerror', (error) => console.log(String(error)));
await page.goto(`http://127.0.0.1:${server.address().port}/`);
const status = await page.waitForFunction(() => window.exitStatus !== undefined, {timeout: 60000}).then(() => page.evaluate(() => window.exitStatus));
await browser.close();
server.close();
process.exit(status);
