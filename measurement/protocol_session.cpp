// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurement/protocol_session.h"

#include <utility>

#include "measurement/id_lookup.h"
#include "measurement/protocol_csv.h"
#include "measurement/protocol_texts.h"

namespace varek {

namespace {

namespace caption = protocol_caption;

// The number (from 1) of the row `id` in `table`, or 0. Looked for from
// the end, where a reading has just been added.
std::size_t NumberOf(const ProtocolTable& table, std::string_view id) {
  for (std::size_t i = table.size(); i > 0; --i) {
    if (table[i - 1].id == id) return i;
  }
  return 0;
}

using Action = ProtocolSession::Action;

Action Refused(std::string why) {
  Action action;
  action.refusal = std::move(why);
  return action;
}

Action Asking(int change, std::string question, std::vector<AnswerChoice> answers) {
  Action action;
  action.change = change;
  action.question = std::move(question);
  action.answers = std::move(answers);
  return action;
}

Action Changing(int change) { return Asking(change, {}, {}); }

std::vector<AnswerChoice> YesNo() {
  return {{std::string(caption::Yes), Answer::Yes}, {std::string(caption::No), Answer::No}};
}

// Two readings alike in what the student set; ΔI is an estimate, not a setting.
bool SameSettings(const Measurement& a, const Measurement& b) {
  return a.voltage == b.voltage && a.current == b.current && a.order == b.order &&
         a.amplitude == b.amplitude && a.deflection == b.deflection;
}

// A key pressed twice: within this time of the first the second reading asks.
constexpr double RepeatWindowMs = 1000;

}  // namespace

ProtocolSession::ProtocolSession(std::uint64_t seed) : ids_(seed), view_(ViewOf({})) {}

int ProtocolSession::Keep(Pending pending) {
  pending_[next_] = std::move(pending);
  return next_++;
}

Action ProtocolSession::Record(const Reading& reading, double now_ms) {
  const ReadingCheck check = CheckReading(reading);
  if (!check.row) return Refused(check.refusal);
  ProtocolRow row{ids_.Next(), *check.row};
  // The row recorded last is still the table's last, or not stored yet.
  const bool repeated =
      last_ && SameSettings(last_->values, row.values) && now_ms >= last_->time &&
      now_ms - last_->time < RepeatWindowMs &&
      ((!shown_.empty() && shown_.back().id == last_->id) || pending_.contains(last_->change));
  // Its number is its place in the store after the change: another copy
  // may have added rows that this one has not shown yet.
  auto message = [id = row.id, values = row.values](const ProtocolTable& after) {
    return RecordedMessage(NumberOf(after, id), values);
  };
  const Measurement values = row.values;
  const std::string id = row.id;
  const int change = Keep({AddRows({std::move(row)}), {}, std::move(message), {}});
  if (repeated) return Asking(change, RepeatQuestion(values), YesNo());
  last_ = LastRecorded{values, id, now_ms, change};
  return Changing(change);
}

ProtocolSession::Pending ProtocolSession::Removing(
    std::vector<std::string> ids,
    std::function<std::string(const ProtocolTable& after)> message) const {
  Pending pending{{}, {}, std::move(message), PlacesOf(shown_, ids)};
  pending.change.remove = std::move(ids);
  return pending;
}

Action ProtocolSession::Delete(std::string_view id) {
  const std::size_t number = NumberOf(shown_, id);
  if (number == 0) return {};
  return Changing(Keep(Removing(
      {std::string(id)}, [number](const ProtocolTable&) { return DeletedMessage(number); })));
}

Action ProtocolSession::Undo() {
  if (removed_.empty()) return {};
  std::vector<std::string> ids;
  for (const PlacedRow& placed : removed_) ids.push_back(placed.row.id);
  auto message = [ids = std::move(ids)](const ProtocolTable& after) {
    const IdLookup<bool> back = LookupOf(ids);
    std::vector<std::size_t> numbers;
    for (std::size_t i = 0; i < after.size(); ++i) {
      if (back.Contains(after[i].id)) numbers.push_back(i + 1);
    }
    return RestoredMessage(numbers);
  };
  // Once: a second Undo before this one is stored has nothing to put back.
  return Changing(Keep({RestoreRows(std::exchange(removed_, {})), {}, std::move(message), {}}));
}

Action ProtocolSession::Include(std::string_view id, bool included) {
  const std::size_t number = NumberOf(shown_, id);
  if (number == 0) return {};
  ProtocolRow row = shown_[number - 1];
  row.values.inclusion = included ? Inclusion::In : Inclusion::Out;
  return Changing(
      Keep({UpdateRow(std::move(row)),
            {},
            [number, included](const ProtocolTable&) { return InclusionMessage(number, included); },
            {}}));
}

Action ProtocolSession::Clear() {
  if (shown_.empty()) return {};
  const std::size_t rows = shown_.size();
  return Asking(Keep(Removing(ClearRows(shown_).remove,
                              [rows](const ProtocolTable&) { return ClearedMessage(rows); })),
                ClearQuestion(rows), YesNo());
}

Action ProtocolSession::Import(std::string_view text, std::string_view file) {
  TableRead read = ReadTable(text, TableForm::Exchange);
  if (!read.Clean()) return Refused(ImportRefusedMessage(file, read.Summary()));
  const std::size_t count = read.rows.size();
  auto message = [count, name = std::string(file)](const ProtocolTable&) {
    return ImportedMessage(count, name);
  };
  if (shown_.empty()) {
    return Changing(
        Keep({ImportRows({}, std::move(read.rows), ImportMode::Append, ids_), {}, message, {}}));
  }
  // "Ersetzen" removes the rows the user saw when the question was asked.
  Pending pending{
      ImportRows(shown_, std::move(read.rows), ImportMode::Replace, ids_), {}, message, {}};
  pending.alternative = AddRows(pending.change.add);
  return Asking(Keep(std::move(pending)), ImportQuestion(file, count, shown_.size()),
                {{std::string(caption::Replace), Answer::Replace},
                 {std::string(caption::Append), Answer::Append},
                 {std::string(caption::Cancel), Answer::Cancel}});
}

int ProtocolSession::Decide(int change, Answer answer) {
  const auto found = pending_.find(change);
  if (found == pending_.end()) return 0;
  switch (answer) {
    case Answer::Yes:
    case Answer::Replace: return change;
    case Answer::Append:
      if (found->second.alternative.Empty()) break;
      found->second.change = std::move(found->second.alternative);
      found->second.alternative = {};
      return change;
    case Answer::No:
    case Answer::Cancel: break;
  }
  pending_.erase(found);
  return 0;
}

const TableChange& ProtocolSession::ChangeOf(int change) const {
  static const TableChange none;
  const auto found = pending_.find(change);
  return found == pending_.end() ? none : found->second.change;
}

std::string ProtocolSession::Stored(int change, ProtocolTable rows,
                                    std::optional<ProtocolView> view) {
  std::string message;
  const auto found = pending_.find(change);
  if (found != pending_.end()) {
    if (found->second.message) message = found->second.message(rows);
    if (!found->second.removes.empty()) removed_ = std::move(found->second.removes);
    pending_.erase(found);
  }
  if (rows != shown_) {
    shown_ = std::move(rows);
    view_ = view ? std::move(*view) : ViewOf(shown_, std::move(view_));
  }
  return message;
}

}  // namespace varek
