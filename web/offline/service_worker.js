// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
"use strict";
// The service worker of the site: it keeps every file of the site in one
// cache and answers from there, so a page once loaded (or installed) starts
// and reloads without a network. The build (make_offline.mjs) puts SITE_FILES
// and SITE_VERSION, a hash of every file, before this text: any change to the
// site changes this script, and the browser installs it as a new worker with
// a new cache; the old caches go when it takes over.
/* global SITE_FILES, SITE_VERSION */

const CACHE_PREFIX = "varek-em-";
const CACHE = CACHE_PREFIX + SITE_VERSION;

self.addEventListener("install", (event) => {
  // "no-cache": every file as the server has it now (a copy in the browser's
  // HTTP cache only if the server confirms it), never an older one.
  event.waitUntil(caches.open(CACHE)
      .then((cache) => cache.addAll(SITE_FILES.map((file) => new Request(file, { cache: "no-cache" }))))
      .then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
  event.waitUntil(caches.keys()
      .then((names) => Promise.all(names.filter((name) => name.startsWith(CACHE_PREFIX) && name !== CACHE)
                                        .map((name) => caches.delete(name))))
      .then(() => self.clients.claim()));
});

// The site's own files from the cache; a link with settings (index.html?...)
// is the page itself, and so is the site's folder. Anything else goes to
// the network as usual.
self.addEventListener("fetch", (event) => {
  const { request } = event;
  const url = new URL(request.url);
  if (request.method !== "GET" || url.origin !== self.location.origin) return;
  const key = url.pathname.endsWith("/") ? new URL("index.html", url) : request;
  event.respondWith(caches.open(CACHE)
      .then((cache) => cache.match(key, { ignoreSearch: true }))
      .then((cached) => cached ?? fetch(request)));
});
