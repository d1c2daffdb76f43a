// Audits a page as any web app is audited: Lighthouse 12 in headless Chromium, the page served
// the way scripts/serve.mjs serves it (with its Content-Security-Policy header). Prints
// "accessibility=… best_practices=… seo=… performance=… fcp_ms=… lcp_ms=… tbt_ms=… cls=… si_ms=…".
// Usage: node Lighthouse.mjs PAGE_FOLDER MODULES_FOLDER   (MODULES_FOLDER holds lighthouse@12)
import {createRequire} from 'node:module';
import {join, resolve} from 'node:path';
import {serve} from '../scripts/serve.mjs';

const [folder, modules] = process.argv.slice(2).map((p) => resolve(p));
const require = createRequire(join(modules, 'package.json'));
const {default: lighthouse} = await import(require.resolve('lighthouse'));
const {launch} = await import(require.resolve('chrome-launcher'));

const {server, url} = await serve(folder);
const chrome = await launch({chromePath: '/usr/bin/chromium',
                             chromeFlags: ['--headless=new', '--no-sandbox', '--disable-gpu']});
try {
  const {lhr} = await lighthouse(url, {port: chrome.port, output: 'json', logLevel: 'error'});
  const score = (c) => lhr.categories[c].score;
  // A figure the page never reaches (no contentful paint, say) reads "none".
  const value = (a, digits = 0) => Number.isFinite(lhr.audits[a].numericValue)
      ? lhr.audits[a].numericValue.toFixed(digits) : 'none';
  const ms = (a) => value(a);
  const failing = Object.values(lhr.audits).filter((a) => a.score !== null && a.score < 1 &&
      a.scoreDisplayMode === 'binary').map((a) => a.id);
  console.log(`accessibility=${score('accessibility')} best_practices=${score('best-practices')} ` +
              `seo=${score('seo')} performance=${score('performance')} fcp_ms=${ms('first-contentful-paint')} ` +
              `lcp_ms=${ms('largest-contentful-paint')} tbt_ms=${ms('total-blocking-time')} ` +
              `cls=${value('cumulative-layout-shift', 3)} si_ms=${ms('speed-index')} ` +
              `failing=${failing.join(',') || 'none'}`);
} finally {
  await chrome.kill();
  server.close();
}
