// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
//
// What went wrong on the page, for a test to read in any browser: uncaught errors, promises
// rejected with nobody to hear it, and what the page writes to the console as an error.
(() => {
  const errors = [];
  globalThis.testErrors = errors;
  addEventListener('error', (event) => errors.push(String(event.message ?? event.error)));
  addEventListener('unhandledrejection', (event) => errors.push(String(event.reason?.message ?? event.reason)));
  const logError = console.error.bind(console);
  console.error = (...args) => {
    errors.push(args.map(String).join(' '));
    logError(...args);
  };
})();
