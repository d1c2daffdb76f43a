// Serves a built page's folder on 127.0.0.1 as a web server should: the right types, and the
// page's Content-Security-Policy sent as a header as well; and opens pages in headless Chromium.
// Shared by scripts/web.sh, the tests and the measurements, so that each meets the page as a
// player's browser does.
// Usage: node serve.mjs FOLDER [PORT]   (prints the page's address; PORT 0 or none: any free one)
import {execSync} from 'node:child_process';
import {existsSync, readFileSync, statSync} from 'node:fs';
import {createServer} from 'node:http';
import {createRequire} from 'node:module';
import {extname, join, resolve, sep} from 'node:path';
import {fileURLToPath} from 'node:url';

const types = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
               '.webmanifest': 'application/manifest+json', '.png': 'image/png', '.css': 'text/css'};

// Resolves to the server and its address.
export async function serve(folder, port = 0) {
  const index = join(folder, 'index.html');
  const policy = existsSync(index) &&
      readFileSync(index, 'utf8').match(/http-equiv="Content-Security-Policy" content="([^"]*)"/)?.[1];
  const server = createServer((request, response) => {
    const file = join(folder, request.url.split('?')[0].replace(/\/$/, '/index.html'));
    const found = file.startsWith(folder + sep) && existsSync(file) && statSync(file).isFile();
    response.writeHead(found ? 200 : 404, {'Content-Type': types[extname(file)] || 'application/octet-stream',
                                           ...(policy && {'Content-Security-Policy': policy})});
    response.end(found ? readFileSync(file) : undefined);
  });
  await new Promise((listening) => server.listen(port, '127.0.0.1', listening));
  return {server, url: `http://127.0.0.1:${server.address().port}/`};
}

// Launches headless Chromium, driven through puppeteer-core, which is installed from the npm
// registry beside the page's folder (test-modules) on first use; ends the process with a failure
// when it cannot be had.
export function chromium(folder) {
  const modules = resolve(folder, '..', 'test-modules');
  try {
    existsSync(join(modules, 'node_modules', 'puppeteer-core')) ||
        execSync(`npm install --prefix "${modules}" --no-audit --no-fund --loglevel=error --fetch-retries=1 ` +
                 'puppeteer-core@25', {stdio: 'inherit', timeout: 120000});
  } catch (error) {
    console.log(`FAIL: puppeteer-core could not be installed from the npm registry: ${error.message}`);
    process.exit(1);
  }
  return createRequire(join(modules, 'package.json'))('puppeteer-core').launch({
    executablePath: '/usr/bin/chromium', args: ['--headless=new', '--no-sandbox', '--disable-gpu',
      '--disable-dev-shm-usage', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--autoplay-policy=user-gesture-required']});
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const {url} = await serve(resolve(process.argv[2]), Number(process.argv[3] || 0));
  console.log(url);
}
