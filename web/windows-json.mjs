// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
//
// The drill built for the browser, under Node. Run as a script it writes the start screen of
// both layouts as JSON, as the drill itself builds and shows it, for the page to put up before
// the drill has loaded:
//   node --no-experimental-fetch web/windows-json.mjs pikomaru.mjs > start-screen.json
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { dirname, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';

// Emscripten 3.1's ES module, built for the browser first, looks for CommonJS's require and
// __dirname under Node.
export async function loadDrill(file) {
  globalThis.require = createRequire(import.meta.url);
  globalThis.__dirname = dirname(file);
  const { default: makeModule } = await import(file);
  return makeModule({ wasmBinary: readFileSync(file.replace(/\.mjs$/, '.wasm')) });
}

// A page that shows nothing: the drill is only asked what it would build.
const kNoPage = new Proxy({ timeOfDay: () => '00:00:00', textWidth: () => 0, textHeight: () => 0 },
  { get: (page, name) => page[name] ?? (() => {}) });

// The window as the drill starts it on a screen `width` pixels wide: the form, and every control
// that shows at once, each with its design and its view.
function startScreen(module, width) {
  const drill = new module.Drill(kNoPage);
  drill.load(width, 1);
  const list = drill.controls();
  const shown = new Set();
  const controls = [];
  for (let i = 0; i < list.size(); ++i) {
    const c = list.get(i);
    const view = drill.view(c.id);
    if (!view.shown || (c.parent !== null && !shown.has(c.parent))) continue;
    shown.add(c.id);
    controls.push({ ...c, view });
  }
  const form = drill.form();
  list.delete();
  drill.delete();
  return { form, controls };
}

export function startScreens(module) {
  const largeFrom = module.largeLayoutFrom();
  return {
    largeFrom,
    dialog: module.dialog(),
    noLevelToPrint: module.noLevelToPrint(),
    large: startScreen(module, largeFrom),
    compact: startScreen(module, largeFrom - 1),
  };
}

if (process.argv[1] === fileURLToPath(import.meta.url))
  process.stdout.write(JSON.stringify(startScreens(await loadDrill(resolve(process.argv[2])))));
