// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
"use strict";
// F1: "Tastenkürzel und Bedienung", every key of the page and what it does,
// from the window's description ({title, rows: [{keys, action}]}). Modal;
// Escape or "Schließen" closes it and the focus returns where it was.
function showKeyHelp(keys) {
  if (document.getElementById("KeyHelp")) return;
  const opener = document.activeElement;
  const dialog = document.createElement("dialog");
  dialog.id = "KeyHelp";
  dialog.className = "question key-help";
  dialog.setAttribute("aria-labelledby", "KeyHelpTitle");
  const heading = document.createElement("h2");
  heading.id = "KeyHelpTitle";
  heading.textContent = keys.title;
  const table = document.createElement("table");
  const head = table.createTHead().insertRow();
  for (const title of ["Tasten", "Wirkung"]) {
    const cell = document.createElement("th");
    cell.scope = "col";
    cell.textContent = title;
    head.append(cell);
  }
  const body = table.createTBody();
  for (const { keys: pressed, action } of keys.rows) {
    const row = body.insertRow();
    const key = document.createElement("th");
    key.scope = "row";
    key.textContent = pressed;
    row.append(key);
    row.insertCell().textContent = action;
  }
  const close = document.createElement("button");
  close.type = "button";
  close.textContent = "Schließen";
  const answers = document.createElement("div");
  answers.className = "answers";
  answers.append(close);
  dialog.append(heading, table, answers);

  const finish = () => {
    if (dialog.open) dialog.close();
    dialog.remove();
    if (opener instanceof HTMLElement && opener.isConnected) opener.focus();
  };
  close.addEventListener("click", finish);
  dialog.addEventListener("keydown", (event) => {
    if (event.key !== "Escape" && event.key !== "F1") return;
    event.preventDefault();
    finish();
  });
  dialog.addEventListener("cancel", (event) => {
    event.preventDefault();
    finish();
  });
  document.body.append(dialog);
  dialog.showModal();
  close.focus();
}
