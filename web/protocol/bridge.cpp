// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The page's measurement protocol: the core of measurement/ that the desktop
// window and varek-auswertung use, for the page's main thread. The page
// draws what this returns and forwards the user's actions; it decides
// nothing and writes no text of its own.
//
// A change of the table is made in two halves. An action (record, delete,
// clear, import) gives a numbered change; the page applies it under its lock
// on the store: varek_protocol_step with the stored text, then, after
// writing, varek_protocol_commit. The change 0 changes nothing: a reload.
// A change the page could not store (the browser's storage is full or
// refused) is shown all the same and kept with the others not yet stored;
// the next step stores them all.
//
// Texts go in as bytes with their length (a stored text may hold a NUL);
// every answer is JSON, valid until the next call.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "measurement/atomic_file.h"
#include "measurement/plot_plan.h"
#include "measurement/protocol_checks.h"
#include "measurement/protocol_csv.h"
#include "measurement/protocol_json.h"
#include "measurement/protocol_store.h"
#include "measurement/protocol_table.h"
#include "measurement/protocol_texts.h"
#include "measurement/protocol_view.h"

namespace {

using namespace varek;
namespace caption = protocol_caption;

// The key of the store in the browser's storage; damaged stores are kept
// aside under KeptAsideName(StoreKey, n).
constexpr std::string_view StoreKey = "varek-messprotokoll";

// A change and the message that tells what it did, from the table before
// it was made (as shown then) and after it was stored.
struct Pending {
  TableChange change;
  std::function<std::string(const ProtocolTable& after)> message;
};

struct State {
  RowIdSource ids{0};
  ProtocolTable shown;  // the table as last read from the store or written to it
  ProtocolView view = ViewOf({});
  std::map<int, Pending> pending;
  int next = 1;
  // The last step, until the page tells what it stored.
  int step_change = 0;
  StoreStep step;
  ProtocolTable read;   // the good rows of the stored text, without the change
  TableChange unsaved;  // the changes shown but not yet stored
  bool told_not_stored = false;
};
State state;
std::string answer;

const char* Answer(std::string json) {
  answer = std::move(json);
  return answer.c_str();
}

std::string_view Bytes(const char* bytes, int length) {
  return {bytes, static_cast<std::size_t>(length > 0 ? length : 0)};
}

std::string Member(std::string_view key, const std::string& json) {
  return JsonString(key) + ":" + json;
}
std::string Bool(bool value) { return value ? "true" : "false"; }

int Keep(TableChange change, std::function<std::string(const ProtocolTable&)> message) {
  state.pending[state.next] = {std::move(change), std::move(message)};
  return state.next++;
}

// The number (from 1) of the row `id` in `table`, or 0.
std::size_t NumberOf(const ProtocolTable& table, std::string_view id) {
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (table[i].id == id) return i + 1;
  }
  return 0;
}

std::string Captions() {
  const std::pair<const char*, std::string_view> texts[] = {
      {"title", caption::Title},
      {"plotName", caption::PlotName},
      {"fileStem", caption::FileStem},
      {"replace", caption::Replace},
      {"append", caption::Append},
      {"cancel", caption::Cancel},
      {"yes", caption::Yes},
      {"no", caption::No},
      {"pdfHeading", caption::PdfHeading},
      {"pdfApparatus", caption::PdfApparatus},
      {"pdfMethod", caption::PdfMethod},
      {"deflectionLegend", caption::DeflectionLegend},
      {"outlierHint", caption::OutlierHint},
      {"savedTable", caption::SavedTable},
      {"savedPlot", caption::SavedPlot},
      {"savedProtocol", caption::SavedProtocol},
      {"keptAsideDownload", caption::KeptAsideDownload}};
  std::string json = "{";
  for (const auto& [key, text] : texts)
    json += (json.size() > 1 ? "," : "") + Member(key, JsonString(text));
  return json + "}";
}

}  // namespace

extern "C" {

// Seeds the rows' identities (two 32-bit halves from the page's random
// source) and returns the fixed texts and numbers: {"storeKey",
// "plotExport": {"width", "height", "textSize", "pngScale"}, "captions":
// {...}}.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_start(std::uint32_t high, std::uint32_t low) {
  state.ids = RowIdSource((static_cast<std::uint64_t>(high) << 32) | low);
  const std::string plot_export = "{" + Member("width", JsonNumber(ExportPlotWidth)) + "," +
                                  Member("height", JsonNumber(ExportPlotHeight)) + "," +
                                  Member("textSize", JsonNumber(ExportPlotTextSize)) + "," +
                                  Member("pngScale", std::to_string(ExportPngScale)) + "}";
  return Answer("{" + Member("storeKey", JsonString(StoreKey)) + "," +
                Member("plotExport", plot_export) + "," + Member("captions", Captions()) + "}");
}

// "Messwert übernehmen" with the window's state (current in mA, flags 0 or
// 1): {"change": n} or {"change": 0, "refusal": the sentence why not}.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_record(int voltage, int current, int amplitude,
                                                       int deflection_on, int steady, int order,
                                                       int information_shown, int data_shown) {
  const ReadingCheck check = CheckReading({.voltage = voltage,
                                           .current = current,
                                           .amplitude = amplitude,
                                           .deflection_on = deflection_on != 0,
                                           .steady = steady != 0,
                                           .order = order,
                                           .information_shown = information_shown != 0,
                                           .data_shown = data_shown != 0});
  if (!check.row)
    return Answer("{\"change\":0," + Member("refusal", JsonString(check.refusal)) + "}");
  const ProtocolRow row{state.ids.Next(), *check.row};
  const int change = Keep(AddRows({row}), [row](const ProtocolTable& after) {
    return RecordedMessage(NumberOf(after, row.id), row.values);
  });
  return Answer("{\"change\":" + std::to_string(change) + "}");
}

// "Zeile löschen" for the row `id` of the shown table: {"change": n}, 0 when
// the table has no such row.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_delete(const char* id, int id_length) {
  const std::size_t number = NumberOf(state.shown, Bytes(id, id_length));
  if (number == 0) return Answer("{\"change\":0}");
  const int change = Keep(DeleteRow(std::string(Bytes(id, id_length))),
                          [number](const ProtocolTable&) { return DeletedMessage(number); });
  return Answer("{\"change\":" + std::to_string(change) + "}");
}

// "Alle löschen": the rows shown now, and the question to ask first:
// {"change": n, "question"}; 0 when there are none.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_clear() {
  if (state.shown.empty()) return Answer("{\"change\":0}");
  const std::size_t rows = state.shown.size();
  const int change =
      Keep(ClearRows(state.shown), [rows](const ProtocolTable&) { return ClearedMessage(rows); });
  return Answer("{\"change\":" + std::to_string(change) + "," +
                Member("question", JsonString(ClearQuestion(rows))) + "}");
}

// Whether a chosen file of `size` bytes is read at all (`readable` 0: the
// browser could not read it): {"refusal": ""} or why not.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_file_refusal(const char* name, int name_length,
                                                             double size, int readable) {
  std::string refusal;
  if (readable == 0) {
    refusal = FileUnreadableMessage(Bytes(name, name_length));
  } else if (size > static_cast<double>(MaxStoreBytes)) {
    refusal = FileTooLargeMessage(Bytes(name, name_length), MaxStoreBytes);
  }
  return Answer("{" + Member("refusal", JsonString(refusal)) + "}");
}

// "CSV importieren" of the file `name` with its bytes: {"refusal"} when it
// is not taken, else {"replace": n, "append": m, "question"}; the question
// is empty when the table is (then the page appends without asking).
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_import(const char* text, int text_length,
                                                       const char* name, int name_length) {
  const std::string file(Bytes(name, name_length));
  const TableRead read = ReadTable(Bytes(text, text_length), TableForm::Exchange);
  if (!read.Clean()) {
    return Answer("{" + Member("refusal", JsonString(ImportRefusedMessage(file, read.Summary()))) +
                  "}");
  }
  const std::vector<Measurement> rows = ValuesOf(read.rows);
  const auto message = [rows = rows.size(), file](const ProtocolTable&) {
    return ImportedMessage(rows, file);
  };
  const int replace = Keep(ImportRows(state.shown, rows, ImportMode::Replace, state.ids), message);
  const int append = Keep(ImportRows(state.shown, rows, ImportMode::Append, state.ids), message);
  const std::string question =
      state.shown.empty() ? std::string() : ImportQuestion(file, rows.size(), state.shown.size());
  return Answer("{\"replace\":" + std::to_string(replace) + ",\"append\":" +
                std::to_string(append) + "," + Member("question", JsonString(question)) + "}");
}

// A change that the page will not apply (the question was cancelled).
EMSCRIPTEN_KEEPALIVE void varek_protocol_drop(int change) { state.pending.erase(change); }

// The change applied to the stored text (empty when there is none), under
// the page's lock: {"write": whether to store "text", "text", "keepAside":
// whether the stored text goes to `kept_as` first, "repaired": the message
// then, "notKeptAside": the message when it cannot be kept aside}.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_step(const char* stored, int stored_length,
                                                     int change, const char* kept_as,
                                                     int kept_as_length) {
  const auto found = state.pending.find(change);
  static const TableChange none;
  const std::string_view text = Bytes(stored, stored_length);
  state.step = StepStore(
      text, Then(state.unsaved, found == state.pending.end() ? none : found->second.change));
  state.step_change = change;
  state.read = state.step.keep_aside ? ReadTable(text, TableForm::Store).rows : ProtocolTable{};
  std::string repaired, not_kept;
  if (state.step.keep_aside) {
    repaired = StoreRepairedMessage(state.step.summary, state.step.rows_read,
                                    Bytes(kept_as, kept_as_length));
    not_kept = StoreNotKeptAsideMessage(state.step.summary, state.step.rows_read);
  }
  return Answer("{" + Member("write", Bool(state.step.write)) + "," +
                Member("text", JsonString(state.step.text)) + "," +
                Member("keepAside", Bool(state.step.keep_aside)) + "," +
                Member("repaired", JsonString(repaired)) + "," +
                Member("notKeptAside", JsonString(not_kept)) + "}");
}

// What the page stored of the last step: 1 its text (the change is made),
// 2 nothing because the damaged store could not be kept aside (its good
// rows are shown), 0 nothing. Where nothing was stored, the change is shown
// and kept to be stored with the next step; `refused`: because the browser
// gives the page no storage at all (else it is full). {"message": what the
// change did and whether it is stored, or "", "ok": whether all is stored,
// "unsaved": whether changes wait to be stored, "changed": whether the
// shown table changed}.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_commit(int stored, int refused) {
  const ProtocolTable before = state.shown;
  const auto found = state.pending.find(state.step_change);
  const bool known = found != state.pending.end();
  if (known && stored != 1) state.unsaved = Then(state.unsaved, found->second.change);
  state.shown = stored == 1 ? state.step.rows
                            : Applied(stored == 2 ? state.read : state.shown, state.unsaved);
  std::string message =
      known && found->second.message ? found->second.message(state.shown) : std::string();
  bool ok = true;
  if (stored == 1) {
    if (state.told_not_stored && !state.unsaved.Empty())
      message += (message.empty() ? "" : "\n") + StoredAgainMessage(state.shown.size());
    state.unsaved = {};
    state.told_not_stored = false;
    if (!state.step.refusal.empty()) {
      message = state.step.refusal;
      ok = false;
    }
  } else {
    ok = false;
    if (!state.told_not_stored) {
      state.told_not_stored = true;
      message = NotStoredMessage(refused != 0 ? StorageRefused() : StorageFull()) +
                (message.empty() ? "" : "\n") + message;
    } else if (!message.empty()) {
      message = NotYetStored(message);
    }
  }
  state.view = ViewOf(state.shown);
  if (known) state.pending.erase(found);
  state.step_change = 0;
  return Answer("{" + Member("message", JsonString(message)) + "," + Member("ok", Bool(ok)) + "," +
                Member("unsaved", Bool(!state.unsaved.Empty())) + "," +
                Member("changed", Bool(state.shown != before)) + "}");
}

// The shown table's view (measurement/protocol_json.h).
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_view() { return Answer(ViewJson(state.view)); }

// The plot's plan for a frame of width × height with text `text_size` high
// (0: the screen's).
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_plot(double width, double height,
                                                     double text_size) {
  const PlotPlan plan = text_size > 0 ? PlanPlot(state.view, width, height, text_size)
                                      : PlanPlot(state.view, width, height);
  return Answer(PlanJson(plan));
}

// {"csv": the shown table as the exchange file}.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_export() {
  return Answer("{" + Member("csv", JsonString(WriteTable(state.shown, TableForm::Exchange))) +
                "}");
}

// {"key": the n-th name (from 1) for a damaged store kept aside}.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_kept_aside_key(int n) {
  return Answer("{" + Member("key", JsonString(KeptAsideName(StoreKey, n))) + "}");
}

// {"text": the printed protocol's date line}.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_date_line(int year, int month, int day, int hour,
                                                          int minute) {
  return Answer("{" + Member("text", JsonString(DateLine(year, month, day, hour, minute))) + "}");
}

// {"text": "<what> gespeichert in „<file>“"}.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_saved(const char* what, int what_length,
                                                      const char* file, int file_length) {
  return Answer(
      "{" +
      Member("text", JsonString(SavedMessage(Bytes(what, what_length), Bytes(file, file_length)))) +
      "}");
}

}  // extern "C"
