// Headless Chromium for the page's tests, driven through puppeteer-core, installed from the npm
// registry beside the page's folder (test-modules) on first use.
import {execSync} from 'node:child_process';
import {existsSync} from 'node:fs';
import {createRequire} from 'node:module';
import {join, resolve} from 'node:path';

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
