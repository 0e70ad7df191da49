// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
"use strict";
// A question in the page, as the desktop asks it in a dialog window: its
// title, the question and one button an answer. Modal: the rest of the page
// is out of reach, Tab and Shift+Tab go round its buttons, Escape answers
// `cancel`. The focus starts on `initial` and returns where it was.
//
// askQuestion({title, text, answers: [[caption, value], ...], cancel, initial})
// resolves to the value of the answer chosen.
function askQuestion({ title, text, answers, cancel, initial }) {
  return new Promise((resolve) => {
    const opener = document.activeElement;
    const dialog = document.createElement("dialog");
    dialog.className = "question";
    const heading = document.createElement("h2");
    heading.id = "QuestionTitle";
    heading.textContent = title;
    const question = document.createElement("p");
    question.id = "QuestionText";
    question.textContent = text;
    dialog.setAttribute("aria-labelledby", heading.id);
    dialog.setAttribute("aria-describedby", question.id);
    const row = document.createElement("div");
    row.className = "answers";
    const buttons = answers.map(([caption, value]) => {
      const button = document.createElement("button");
      button.type = "button";
      button.textContent = caption;
      button.addEventListener("click", () => finish(value));
      return button;
    });
    row.append(...buttons);
    dialog.append(heading, question, row);

    const finish = (value) => {
      dialog.close();
      dialog.remove();
      if (opener instanceof HTMLElement && opener.isConnected) opener.focus();
      resolve(value);
    };
    dialog.addEventListener("keydown", (event) => {
      if (event.key === "Escape") {
        event.preventDefault();
        finish(cancel);
      } else if (event.key === "Tab") {
        event.preventDefault();
        const at = buttons.indexOf(document.activeElement);
        const next = at < 0 ? 0 : (at + (event.shiftKey ? buttons.length - 1 : 1)) % buttons.length;
        buttons[next].focus();
      }
    });
    // Other ways to close it (the back gesture) are a cancel too.
    dialog.addEventListener("cancel", (event) => {
      event.preventDefault();
      finish(cancel);
    });
    document.body.append(dialog);
    dialog.showModal();
    buttons[Math.max(0, answers.findIndex(([, value]) => value === initial))].focus();
  });
}
