// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
"use strict";
// The protocol's store in the browser, shared by every tab of the page. Each
// change is applied under a Web Lock to what the store holds at that moment
// and written back at once:
//
//   lock; read the stored text; the core's step with the change; keep a
//   damaged text aside under a key no earlier copy has; write; unlock
//
// so that rows recorded in another tab are neither lost nor brought back;
// the other tabs are told on a BroadcastChannel and read the store again.
//
// The store is in IndexedDB, not in localStorage: a tab's localStorage is
// a copy that the browser brings up to date a moment after another tab
// wrote, so a tab that takes the lock just then reads an old table and
// writes it back without the other tab's row. IndexedDB reads what was
// written last. Its text is kept in pieces (protocol_store_pieces.js), so
// that a change writes only the lines it changes. Keeping aside and writing
// are one transaction; a full storage (QuotaExceededError) stores nothing
// of it. The store of earlier versions of the page, the whole text in one
// entry or in localStorage, is taken over once. Where
// the storage is full or the browser refuses it to the page, the core keeps
// the changes in the tab and they are stored with the next step that can
// be; the page tries again as often as the core's start says (retryMs).
// Beside the store, in the same transaction, its count of rows: a store that
// lost rows no tab deleted (another tab cleared the site's data, the browser
// evicted it) is not taken as the truth, as the desktop does with its file.

class ProtocolStore {
  static DATABASE = "varek-em";
  static ENTRIES = "protokoll";

  // core: ProtocolModule; texts: its start(); onOutside: runs when another
  // tab changed the store; whileWriting: runs once the text of a step is
  // sent to be written, while the database writes it (what is shown once
  // it is stored can be made then).
  constructor(core, texts, onOutside, whileWriting = () => {}) {
    this.core = core;
    this.key = texts.storeKey;
    this.rowsKey = texts.rowsKey;
    this.pieces = new StorePieces(texts.piecesKey, texts.pieceKey);
    // {list, pieces} as this tab's last step read or wrote them: the text
    // the core's last step left (its copy), not passed to it again.
    this.current = undefined;
    this.whileWriting = whileWriting;
    this.channel = new BroadcastChannel(this.key);
    this.channel.onmessage = () => onOutside();
  }

  // The database, or null where the browser refuses it.
  static open() {
    return new Promise((resolve, reject) => {
      const request = indexedDB.open(ProtocolStore.DATABASE, 1);
      request.onupgradeneeded = () => request.result.createObjectStore(ProtocolStore.ENTRIES);
      request.onsuccess = () => resolve(request.result);
      request.onerror = () => reject(request.error);
    }).catch(() => null);
  }

  // Applies the core's change (0: none, a reload). Returns the core's
  // commit ({message, ok, unsaved, changed}), with {problem, keptAs} when a
  // damaged store was kept aside or could not be.
  async apply(change) {
    const run = async () => {
      this.database ??= ProtocolStore.open();
      const database = await this.database;
      if (database) {
        try {
          return await this.stepInDatabase(database, change);
        } catch {
          // The connection was closed under the page (the browser cleared its data): open it anew next time.
        }
      }
      this.database = undefined;
      return this.notStored(change, !database);
    };
    return navigator.locks ? navigator.locks.request(this.key, run) : run();
  }

  // The change shown and kept in the tab until it can be stored.
  notStored(change, refused) {
    this.forget();
    this.core.step("", change, "");
    return this.core.commit(ProtocolModule.NOTHING_STORED, refused);
  }

  // The text of a store kept aside under `key`, for a download.
  async keptAside(key) {
    const database = await this.database;
    if (!database) return undefined;
    return new Promise((resolve) => {
      const request = database.transaction(ProtocolStore.ENTRIES).objectStore(ProtocolStore.ENTRIES).get(key);
      request.onsuccess = () => resolve(request.result);
      request.onerror = () => resolve(undefined);
    });
  }

  // What this tab knows of the store is not taken as it without reading.
  forget() {
    this.current = undefined;
    this.pieces.forget();
  }

  // The step on the stored value (and its count of rows, undefined when
  // there is none) and the keys in use: what to write, and what to tell
  // once it is written (`stored`) or not. `same`: the value is the text
  // this tab's last step left (not passed to the core again); `inPieces`:
  // the value is the pieces' text (not a store taken over). The text is
  // written as {head, middle, tail}: the lines that stay at the start and
  // at the end of the pieces, the texts between (StorePieces.write).
  plan(value, rowsWritten, keys, change, { same = false, inPieces = true } = {}) {
    const keptAs = this.freeKeptAsideKey(keys);
    const step = this.core.step(same || value === undefined ? "" : String(value), change, keptAs, {
      unchanged: same,
      rowsWritten: rowsWritten === undefined ? -1 : Number(rowsWritten),
    });
    const writes = [];
    if (step.keepAside) writes.push([keptAs, same ? step.stored() : value ?? ""]);
    let text;
    if (step.write) {
      text = inPieces ? { head: step.headLines, middle: step.texts(), tail: step.tailLines }
                      : { head: 0, middle: step.texts(true), tail: 0 };
    } else if (!inPieces && value !== undefined) {
      text = { head: 0, middle: [String(value)], tail: 0 };  // taken over as it is
    }
    if (step.write || String(step.rows) !== rowsWritten) writes.push([this.rowsKey, String(step.rows)]);
    const finish = (stored) => {
      if (!stored) this.forget();
      if (stored) {
        const answer = this.core.commit(ProtocolModule.STORED);
        if (writes.length > 0 || step.write) this.channel.postMessage("changed");
        return step.keepAside ? { ...answer, problem: step.repaired, keptAs } : answer;
      }
      if (step.keepAside) return { ...this.core.commit(ProtocolModule.READ_ONLY), problem: step.notKeptAside };
      return this.core.commit(ProtocolModule.NOTHING_STORED);
    };
    return { writes, text, finish };
  }

  stepInDatabase(database, change) {
    return new Promise((resolve) => {
      const transaction = database.transaction(ProtocolStore.ENTRIES, "readwrite");
      const entries = transaction.objectStore(ProtocolStore.ENTRIES);
      const keys = entries.getAllKeys();
      const whole = entries.get(this.key);  // the whole text, as earlier versions kept it
      const list = entries.get(this.pieces.listKey);
      const rows = entries.get(this.rowsKey);
      // Until the store is read, a failure stores nothing of the change.
      let finish = () => this.notStored(change, false);
      let written = null;  // the pieces once the transaction is complete
      // The last of the requests: the others have their results then.
      rows.onsuccess = () => {
        // The same list as this tab's last step: the same text, nothing to read.
        const same = whole.result === undefined && list.result !== undefined && list.result === this.current?.list;
        const step = (value, pieces, same = false) => {
          const inUse = new Set(keys.result);
          // The whole text beside the pieces: a tab of an older version of
          // the page, still open, wrote it after this version took the store
          // over, without the rows recorded here since. The pieces stay the
          // store; that table is kept aside, not lost, and its count of rows
          // is not this store's.
          const older = whole.result !== undefined && list.result !== undefined;
          const olderKeptAs = older ? this.freeKeptAsideKey(inUse) : undefined;
          if (older) inUse.add(olderKeptAs);
          const takenOver = !same && !older && (value === undefined || whole.result !== undefined);
          if (takenOver) value = whole.result ?? this.takeOver();
          const plan = this.plan(value, older ? undefined : rows.result, inUse, change,
                                 { same, inPieces: !takenOver });
          finish = older ? (stored) => this.olderPageKeptAside(plan.finish(stored), stored, whole.result, olderKeptAs)
                         : plan.finish;
          try {
            if (older) entries.put(whole.result, olderKeptAs);
            for (const [key, text] of plan.writes) entries.put(text, key);
            // The text in pieces when it changed, or when it is taken over.
            if (plan.text) written = this.pieces.write(entries, pieces, plan.text);
            else written = { list: list.result, pieces };
            if (whole.result !== undefined) entries.delete(this.key);
            // Every request is made: the database writes them at once, without
            // waiting for this tab to hear of each (a megabyte of pieces at an import).
            transaction.commit?.();
          } catch {
            // Not written: the transaction ends without any of it (unless it has already).
            try { transaction.abort(); } catch { /* aborted before */ }
            return;
          }
          // Not in the transaction: what fails here is only not made ahead.
          try {
            // (Where the transaction is committed only once this returns, it would wait.)
            if (plan.text && transaction.commit) this.whileWriting();
          } catch { /* made when the step is committed */ }
        };
        if (same) step(undefined, this.current.pieces, true);
        else this.pieces.read(entries, list.result, step);
      };
      transaction.oncomplete = () => {
        if (this.takenOver) localStorage.removeItem(this.key);
        this.takenOver = false;
        const answer = finish(true);
        if (written) {
          this.current = written;
          this.pieces.remember(written.pieces);
        }
        resolve(answer);
      };
      transaction.onabort = () => resolve(finish(false));
    });
  }

  // The first name for a store kept aside that none of `keys` has.
  freeKeptAsideKey(keys) {
    let n = 1;
    while (keys.has(this.core.keptAsideKey(n))) ++n;
    return this.core.keptAsideKey(n);
  }

  // The commit's answer, telling of the older page's table kept aside under
  // keptAs once it is stored (a problem of the step itself comes first).
  olderPageKeptAside(answer, stored, text, keptAs) {
    if (!stored || answer.problem) return answer;
    return { ...answer, problem: this.core.olderPageKeptAside(String(text), keptAs), keptAs };
  }

  // The store that earlier versions of the page kept in localStorage.
  takeOver() {
    try {
      const value = localStorage.getItem(this.key);
      this.takenOver = value !== null;
      return value ?? undefined;
    } catch {
      return undefined;
    }
  }
}
