// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
//
// Writes the window of both layouts as JSON, from the drill's own design tables, for the page
// to put its start screen up before the drill has loaded:
//   node --no-experimental-fetch web/windows-json.mjs pikomaru.mjs > window.json
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { dirname, resolve } from 'node:path';

const file = resolve(process.argv[2]);
// Emscripten's ES module, built for the browser first, looks for CommonJS's require and
// __dirname under Node.
globalThis.require = createRequire(import.meta.url);
globalThis.__dirname = dirname(file);
const { default: makeModule } = await import(file);
const module = await makeModule({ wasmBinary: readFileSync(file.replace(/\.mjs$/, '.wasm')) });
process.stdout.write(module.windows());
