// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
"use strict";
// The protocol's store in the browser's storage, shared by every tab of the
// page. Each change is applied under a Web Lock to what the storage holds at
// that moment and written back at once:
//
//   lock; read the stored text; the core's step with the change; keep a
//   damaged text aside under a key no earlier copy has; write; unlock
//
// so that rows recorded in another tab are neither lost nor brought back.
// The other tabs read the store again on the storage event.
//
// A full storage (QuotaExceededError) stores nothing and says so; a damaged
// text that cannot be copied aside is moved aside instead, and when even that
// fails it stays as it is. Where the browser refuses storage to the page,
// the table lives in the page's memory.

class ProtocolStore {
  // core: ProtocolModule; texts: its start(); onOutside: runs when another
  // tab changed the store.
  constructor(core, texts, onOutside) {
    this.core = core;
    this.key = texts.storeKey;
    this.texts = texts;
    this.storage = ProtocolStore.storage();
    window.addEventListener("storage", (event) => {
      if (event.key === this.key || event.key === null) onOutside();
    });
  }

  // localStorage, or a stand-in in memory where the browser refuses it.
  static storage() {
    try {
      const storage = window.localStorage;
      storage.getItem("");
      return storage;
    } catch {
      const items = new Map();
      return {
        refused: true,
        getItem: (key) => items.get(key) ?? null,
        setItem: (key, value) => items.set(key, String(value)),
        removeItem: (key) => items.delete(key),
      };
    }
  }

  // Applies the core's change (0: none, a reload). Returns {message} when
  // it is stored, {problem} when something went wrong (in German).
  async apply(change) {
    const step = () => this.step(change);
    const outcome = navigator.locks ? await navigator.locks.request(this.key, step) : step();
    if (this.storage.refused && !this.told) {
      this.told = true;
      return { ...outcome, problem: outcome.problem ?? this.texts.storageRefused };
    }
    return outcome;
  }

  step(change) {
    const stored = this.storage.getItem(this.key) ?? "";
    const keptAs = this.freeKey();
    const step = this.core.step(stored, change, keptAs);
    let moved = false;
    if (step.keepAside) {
      moved = this.keepAside(stored, keptAs);
      if (moved === null) {
        this.core.commit(ProtocolModule.READ_ONLY);
        return { problem: step.notKeptAside };
      }
    }
    if (step.write && !this.write(this.key, step.text)) {
      if (moved) {
        // The damaged text goes back where it was: nothing is stored.
        this.storage.removeItem(keptAs);
        this.write(this.key, stored);
        this.core.commit(ProtocolModule.READ_ONLY);
        return { problem: step.notKeptAside };
      }
      this.core.commit(ProtocolModule.NOTHING_STORED);
      return { problem: this.texts.storageFull };
    }
    const { message } = this.core.commit(ProtocolModule.STORED);
    return step.keepAside ? { problem: step.repaired } : { message };
  }

  // The first key for a damaged store that holds nothing yet.
  freeKey() {
    for (let n = 1; ; ++n) {
      const key = this.core.keptAsideKey(n);
      if (this.storage.getItem(key) === null) return key;
    }
  }

  // Copies the stored text to keptAs; where there is no room for a copy,
  // moves it. false: copied, true: moved, null: neither.
  keepAside(stored, keptAs) {
    if (this.write(keptAs, stored)) return false;
    this.storage.removeItem(this.key);
    if (this.write(keptAs, stored)) return true;
    this.write(this.key, stored);
    return null;
  }

  // false when the storage is full.
  write(key, text) {
    try {
      this.storage.setItem(key, text);
      return true;
    } catch {
      return false;
    }
  }
}
