// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// One user's work with the protocol: what "Messwert übernehmen", "Zeile
// löschen", "Alle löschen" and "CSV importieren" do, the question each asks
// first and the message each leaves. The desktop panel and the page's
// bridge both drive one of these and only present what it returns.
//
// An action gives a numbered change of the table (0: nothing to change, see
// `refusal`). With a `question`, the front end asks it with the `answers`
// and passes the user's answer to Decide, which gives the change to apply
// (0: none). The front end applies a change to the shared store
// (ChangeOf), then tells the session what the store holds now (Stored),
// which gives the message for the status line; a change that is not applied
// is dropped (Drop). A reload of the store is Stored(0, rows).
//
//   Action a = session.Record(reading, now_ms);
//   if (!a.change) show(a.refusal);
//   else { rows = store.Apply(session.ChangeOf(a.change));
//          show(session.Stored(a.change, rows)); }
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "measurement/protocol_checks.h"
#include "measurement/protocol_table.h"
#include "measurement/protocol_view.h"

namespace varek {

// The answers of the questions; the last one a question offers is the
// careful one (the default, and what closing the question means).
enum class Answer { Yes, Replace, Append, No, Cancel };

struct AnswerChoice {
  std::string caption;  // "Ja", "Ersetzen", …
  Answer answer;
};

class ProtocolSession {
 public:
  // `seed`: for the rows' identities, from the platform's random source.
  explicit ProtocolSession(std::uint64_t seed);

  struct Action {
    int change = 0;        // 0: nothing to apply
    std::string refusal;   // why not, or empty
    std::string question;  // ask first (with `answers`), or empty
    std::vector<AnswerChoice> answers;
  };

  // The reading of the window at the moment `now_ms` (milliseconds of a
  // clock that only runs forward); refused with one sentence. The same
  // reading as the row this session recorded last, within a second of it
  // and while that row is the table's last, asks first (a key pressed twice).
  Action Record(const Reading& reading, double now_ms);
  // The row `id` of the shown table; no change when it is not there.
  Action Delete(std::string_view id);
  // Every shown row, after the question; no change when there is none.
  Action Clear();
  // "in Auswertung" of the row `id` checked (true) or not: the row counts in
  // the result or not, whether marked as an outlier or not.
  Action Include(std::string_view id, bool included);
  // Puts back what the last deletion or clearing removed, at its places;
  // no change when there is nothing to put back.
  Action Undo();
  bool CanUndo() const { return !removed_.empty(); }
  // The text of the file `file`; refused with the file's first problem.
  // With rows shown, asks whether they are replaced or the file's rows
  // appended.
  Action Import(std::string_view text, std::string_view file);

  // The change to apply after `answer` to the question of `change`, or 0
  // (the change is dropped then).
  int Decide(int change, Answer answer);

  // The change numbered `change`; the empty change (a reload) for 0 and
  // for one dropped or unknown.
  const TableChange& ChangeOf(int change) const;
  // The store holds `rows` now, after `change`: they are shown from now on.
  // The message of what the change did (empty for a reload).
  // `view`, where given, is ViewOf(rows) made while the store was written.
  std::string Stored(int change, ProtocolTable rows,
                     std::optional<ProtocolView> view = std::nullopt);
  // The change was not applied.
  void Drop(int change) { pending_.erase(change); }

  const ProtocolTable& Rows() const { return shown_; }
  const ProtocolView& View() const { return view_; }

 private:
  struct Pending {
    TableChange change;
    TableChange alternative;  // an import's "Anhängen" while `change` replaces
    std::function<std::string(const ProtocolTable& after)> message;
    std::vector<PlacedRow> removes;  // what Undo puts back once this is stored
  };
  int Keep(Pending pending);
  // The change that deletes `ids` of the shown rows, undone by Undo.
  Pending Removing(std::vector<std::string> ids,
                   std::function<std::string(const ProtocolTable& after)> message) const;

  RowIdSource ids_;
  ProtocolTable shown_;
  ProtocolView view_;
  std::map<int, Pending> pending_;
  int next_ = 1;
  std::vector<PlacedRow> removed_;  // by the last deletion or clearing stored
  // The row recorded last: its values, when, and its change.
  struct LastRecorded {
    Measurement values;
    std::string id;
    double time = 0;
    int change = 0;
  };
  std::optional<LastRecorded> last_;
};

}  // namespace varek
