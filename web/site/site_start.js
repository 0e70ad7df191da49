// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
"use strict";
// How the site starts, before the page is built: the first picture worker
// starts, which loads the simulation's module and compiles it while the page
// is read and built (the page starts more of them with startPictureWorker
// after the first picture). The build puts this script inside index.html. On
// http(s) the page names its web app manifest, and the service worker
// (service_worker.js, made at build time with the manifest) keeps every file
// of the site for use without a network; the page starts it
// (keepSiteOffline) once it is idle after the first picture: it took
// processor time from the first neighbours and changes.
//
// A page opened from a file (file://, a USB stick) may start no worker from
// its folder: the browser refuses it. Such a page gets no picture worker
// (form1.js then builds nothing) and shows the notice #FileNotice, which
// names the single-file edition varek-em.html and a web server instead.
// The single-file edition replaces this script by its own start.

if (location.protocol === "file:") {
  window.pictureWorker = null;
  window.addEventListener("DOMContentLoaded", () => {
    document.getElementById("Form1").hidden = true;
    document.getElementById("FileNotice").hidden = false;
    document.documentElement.dataset.state = "ready";
  });
} else {
  window.startPictureWorker = () => new Worker("picture_worker.js");
  window.pictureWorker = window.startPictureWorker();
}

if (/^https?:$/.test(location.protocol)) {
  const manifest = document.createElement("link");
  manifest.rel = "manifest";
  manifest.href = "manifest.webmanifest";
  document.head.append(manifest);
}
window.keepSiteOffline = () => {
  if (/^https?:$/.test(location.protocol) && "serviceWorker" in navigator) {
    navigator.serviceWorker.register("service_worker.js")
        .catch((error) => console.warn("Ohne Offline-Speicher:", error));
  }
};
