// Runs the conformance suite built for the page in headless Chromium and passes on its output
// and its exit status. Usage: node web.mjs FOLDER
import {resolve} from 'node:path';
import {chromium, serve} from '../../scripts/serve.mjs';

const folder = resolve(process.argv[2]);
const {server, url} = await serve(folder);
const browser = await chromium(folder);
const page = await browser.newPage();
page.on('console', (message) => console.log(message.text()));
page.on('pageerror', (error) => console.log(String(error)));
await page.goto(url);
const status = await page.waitForFunction(() => window.exitStatus !== undefined, {timeout: 60000}).then(() => page.evaluate(() => window.exitStatus));
await browser.close();
server.close();
process.exit(status);
