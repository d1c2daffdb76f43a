// What the page's tests share: a folder served on 127.0.0.1, and headless Chromium driven through
// puppeteer-core, installed from the npm registry beside the folder (test-modules) on first use.
import {execSync} from 'node:child_process';
import {existsSync, readFileSync} from 'node:fs';
import {createServer} from 'node:http';
import {createRequire} from 'node:module';
import {extname, join, resolve} from 'node:path';

const types = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
               '.webmanifest': 'application/manifest+json', '.png': 'image/png', '.css': 'text/css'};

// Serves the folder, its page's Content-Security-Policy as a header as well, as a server should;
// resolves to the server and its URL.
export async function serve(folder) {
  const index = join(folder, 'index.html');
  const policy = existsSync(index) &&
      readFileSync(index, 'utf8').match(/http-equiv="Content-Security-Policy" content="([^"]*)"/)?.[1];
  const server = createServer((request, response) => {
    const file = join(folder, request.url.split('?')[0].replace(/\/$/, '/index.html'));
    const found = file.startsWith(folder) && existsSync(file);
    response.writeHead(found ? 200 : 404, {'Content-Type': types[extname(file)] || 'application/octet-stream',
                                           ...(policy && {'Content-Security-Policy': policy})});
    response.end(found ? readFileSync(file) : undefined);
  });
  await new Promise((listening) => server.listen(0, '127.0.0.1', listening));
  return {server, url: `http://127.0.0.1:${server.address().port}/`};
}

// Launches headless Chromium; ends the process with a failure when puppeteer-core cannot be had.
export function chromium(folder) {
  const modules = resolve(folder, '..', 'test-modules');
  try {
    existsSync(join(modules, 'node_modules', 'puppeteer-core')) ||
        execSync(`npm install --prefix "${modules}" --no-audit --no-fund --loglevel=error --fetch-retries=1 ` +
                 'puppeteer-core@25', {stdio: 'inherit', timeout: 120000});
  } catch (error) {
    console.log(`FAIL: the test's packages could not be installed from the npm registry: ${error.message}`);
    process.exit(1);
  }
  return createRequire(join(modules, 'package.json'))('puppeteer-core').launch({
    executablePath: '/usr/bin/chromium', args: ['--headless=new', '--no-sandbox', '--disable-gpu',
      '--disable-dev-shm-usage', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--autoplay-policy=user-gesture-required']});
}
