// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
//
// The drill built for the browser, under Node. Run as a script it writes the window of both
// layouts as JSON, from the drill's own design tables, for the page to put its start screen up
// before the drill has loaded:
//   node --no-experimental-fetch web/windows-json.mjs pikomaru.mjs > windows.json
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

if (process.argv[1] === fileURLToPath(import.meta.url))
  process.stdout.write((await loadDrill(resolve(process.argv[2]))).windows());
