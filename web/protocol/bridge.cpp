// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The page's measurement protocol: the core of measurement/ that the desktop
// window and varek-auswertung use, for the page's main thread. The page
// draws what this returns and forwards the user's actions; it decides
// nothing and writes no text of its own.
//
// The actions (record, delete, clear, import) are the protocol session's
// (measurement/protocol_session.h): each gives a numbered change, maybe
// after a question that varek_protocol_decide answers. The page applies a
// change under its lock on the store: varek_protocol_step with the stored
// text, then, after writing, varek_protocol_commit. The change 0 changes
// nothing: a reload. A change the page could not store (the browser's
// storage is full or refused) is shown all the same and kept with the others
// not yet stored; the next step stores them all.
//
// Texts go in as bytes with their length (a stored text may hold a NUL);
// every answer is JSON, valid until the next call.
#include <emscripten/emscripten.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "measurement/atomic_file.h"
#include "measurement/plot_plan.h"
#include "measurement/portable_chars.h"
#include "measurement/protocol_checks.h"
#include "measurement/protocol_csv.h"
#include "measurement/protocol_json.h"
#include "measurement/protocol_session.h"
#include "measurement/protocol_store.h"
#include "measurement/protocol_table.h"
#include "measurement/protocol_texts.h"
#include "measurement/protocol_view.h"
#include "measurement/typed_value.h"

namespace {

using namespace varek;
namespace caption = protocol_caption;

// The key of the store in the browser's storage; damaged stores are kept
// aside under KeptAsideName(StoreKey, n).
constexpr std::string_view StoreKey = "varek-messprotokoll";
// Beside it, written with it: the number of rows the store holds, so that a
// tab notices a store that lost rows it did not delete.
constexpr std::string_view RowsKey = "varek-messprotokoll.zeilen";
// The store's text in pieces of whole lines, each under a key of its own
// (PieceKey and a random part) that keeps its text until the piece is
// removed; PiecesKey lists them in order. A change rewrites the pieces
// whose lines it changes, not the whole text. (Earlier versions of the page
// kept the whole text under StoreKey: it is taken over.)
constexpr std::string_view PiecesKey = "varek-messprotokoll.teile";
constexpr std::string_view PieceKey = "varek-messprotokoll.teil-";

struct State {
  ProtocolSession session{0};
  // The last step, until the page tells what it stored.
  bool committed = true;
  int step_change = 0;
  StoreStep step;
  ProtocolTable read;   // the good rows of the stored text, without the change
  TableChange unsaved;  // the changes shown but not yet stored
  bool told_not_stored = false;
  // The store as this tab's last step left it, filled once the step is
  // shown (FillCopy): its text and rows are still the step's until then.
  StoreCopy copy{.filled_later = true};
  enum class CopyFrom { Filled, Step, Shown } copy_from = CopyFrom::Filled;
  std::size_t rows_known = 0;  // the rows of the store at this tab's last step
  std::string stored;          // the stored text of the last step, until it is committed
  SharedLines shared;          // the lines of it that the step keeps
  // The view of the step's rows, made while the page writes them: shown
  // once they are stored.
  std::optional<ProtocolView> prepared;
};
State state;
std::string answer;

// The copy of the store as the last step left it: its text, and its rows
// (those shown, where the step's rows were stored and are shown now).
void FillCopy() {
  if (state.copy_from == State::CopyFrom::Filled) return;
  state.copy.text = std::move(state.step.text);
  state.copy.rows =
      state.copy_from == State::CopyFrom::Shown ? state.session.Rows() : std::move(state.step.rows);
  state.copy_from = State::CopyFrom::Filled;
}
// The marks and lines of the last plan to be drawn (DrawingJson).
constexpr std::size_t MarkNumbers = 6;
constexpr std::size_t LineNumbers = 6;
std::vector<double> drawn_marks;
std::vector<double> drawn_lines;

const char* Reply(std::string json) {
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

// {"change", "refusal", "question", "answers": [[caption, answer], …]}, the
// answers as the numbers of Answer; the last one is the careful one.
std::string ActionJson(const ProtocolSession::Action& action) {
  std::string answers = "[";
  for (const AnswerChoice& choice : action.answers) {
    answers += (answers.size() > 1 ? ",[" : "[") + JsonString(choice.caption) + "," +
               std::to_string(static_cast<int>(choice.answer)) + "]";
  }
  return "{" + Member("change", std::to_string(action.change)) + "," +
         Member("refusal", JsonString(action.refusal)) + "," +
         Member("question", JsonString(action.question)) + "," + Member("answers", answers + "]") +
         "}";
}

std::string Captions() {
  const std::pair<const char*, std::string_view> texts[] = {
      {"title", caption::Title},
      {"plotName", caption::PlotName},
      {"fileStem", caption::FileStem},
      {"pdfHeading", caption::PdfHeading},
      {"pdfMethod", caption::PdfMethod},
      {"deflectionLegend", caption::DeflectionLegend},
      {"outlierHint", caption::OutlierHint},
      {"inclusionHint", caption::InclusionHint},
      {"savedTable", caption::SavedTable},
      {"savedPlot", caption::SavedPlot},
      {"savedProtocol", caption::SavedProtocol},
      {"keptAsideDownload", caption::KeptAsideDownload}};
  std::string json = "{";
  for (const auto& [key, text] : texts)
    json += (json.size() > 1 ? "," : "") + Member(key, JsonString(text));
  return json + "}";
}

PlotPlan PlanOf(const ProtocolView& view, double width, double height, double text_size) {
  return text_size > 0 ? PlanPlot(view, width, height, text_size) : PlanPlot(view, width, height);
}

// The plan to be drawn: its marks and lines not in the JSON ("marks": [],
// "lines": []) but as numbers, valid until the next call: MarkNumbers a
// mark (x, y, radius, edge width, fill, edge) at varek_protocol_plot_marks(),
// "markCount"; LineNumbers a line (x1, y1, x2, y2, width, colour) at
// varek_protocol_plot_lines(), "lineCount", its places and width as the
// JSON writes them (FrameDecimals). Thousands of marks and error bars are
// read so without writing and parsing each number.
std::string DrawingJson(PlotPlan plan) {
  drawn_marks.resize(plan.marks.size() * MarkNumbers);
  double* mark_numbers = drawn_marks.data();
  for (const PlotMark& mark : plan.marks) {
    *mark_numbers++ = mark.x;
    *mark_numbers++ = mark.y;
    *mark_numbers++ = mark.radius;
    *mark_numbers++ = mark.edge_width;
    *mark_numbers++ = static_cast<double>(mark.fill);
    *mark_numbers++ = static_cast<double>(mark.edge);
  }
  drawn_lines.resize(plan.lines.size() * LineNumbers);
  double* line_numbers = drawn_lines.data();
  // Places repeat (an error bar's three lines share theirs, marks at one
  // voltage share their x): each is rounded once while it is remembered,
  // by its bits (a zero keeps its sign; each place starts as 0, rounded).
  constexpr int RememberedBits = 8;
  std::array<std::uint64_t, std::size_t{1} << RememberedBits> seen{};
  std::array<double, std::size_t{1} << RememberedBits> rounded{};
  const auto fixed = [&](double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const std::size_t at = (bits * 0x9E3779B97F4A7C15ull) >> (64 - RememberedBits);
    if (seen[at] != bits) {
      seen[at] = bits;
      rounded[at] = FixedValue(value, FrameDecimals);
    }
    return rounded[at];
  };
  for (const PlotLine& line : plan.lines) {
    for (const double value : {line.x1, line.y1, line.x2, line.y2, line.width})
      *line_numbers++ = fixed(value);
    *line_numbers++ = static_cast<double>(line.colour);
  }
  const std::size_t marks = plan.marks.size(), lines = plan.lines.size();
  plan.marks.clear();
  plan.lines.clear();
  std::string json = PlanJson(plan);
  json.pop_back();  // the closing brace
  return json + ",\"markCount\":" + std::to_string(marks) +
         ",\"lineCount\":" + std::to_string(lines) + "}";
}

// The rows of a rehearsal: readings of a series at 200…2000 V, in focus,
// with their reading uncertainty (the plot draws their error bars).
constexpr int RehearsalRows = 600;
constexpr double RehearsalUncertainty = 0.008;  // A
constexpr int RehearsalPlans = 12;
ProtocolTable RehearsalTable() {
  ProtocolTable rows;
  RowIdSource ids(1);
  for (int i = 0; i < RehearsalRows; ++i) {
    const int voltage = 200 + (i * 37) % 1800;
    const double current = std::round(1231 * std::sqrt(voltage / 1200.0)) / 1000;
    rows.push_back({ids.Next(),
                    {static_cast<double>(voltage), current, 1, 200, Deflection::Alternating,
                     RehearsalUncertainty}});
  }
  return rows;
}

// The heap that a large table takes at its peak (an import of 20,000 rows
// with every column and the plan of their plot grew the module's memory
// from 21 to 25 MB after 16 MB had been made ready here): memory that the
// engine gives the module becomes the system's only when first written,
// with a fault for each page of 4 kB, which cost the first such change
// milliseconds in every step; and the engine counts the module's memory
// with its own, so that a growth in the middle of a change can start its
// collector there (seen taking 3 to 17 ms, most of it finishing the sweep
// of a collection before). Grown and written while the page is idle instead
// (the heap is not given back: what is freed here serves the tables that come).
constexpr std::size_t WarmHeapBytes = std::size_t{24} << 20;
constexpr std::size_t SystemPage = 4096;
void WarmHeap() {
  char* const room = static_cast<char*>(std::malloc(WarmHeapBytes));
  if (room == nullptr) return;
  volatile char* const bytes = room;  // written, though nothing reads it
  for (std::size_t at = 0; at < WarmHeapBytes; at += SystemPage) bytes[at] = 0;
  std::free(room);
}

}  // namespace

extern "C" {

// Seeds the rows' identities (two 32-bit halves from the page's random
// source) and returns the fixed texts and numbers: {"storeKey", "rowsKey",
// "piecesKey", "pieceKey",
// "retryMs" (how often changes the store refused are tried again),
// "plotExport": {"width", "height", "textSize", "pngScale"}, "captions": {...}}.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_start(std::uint32_t high, std::uint32_t low) {
  state.session = ProtocolSession((static_cast<std::uint64_t>(high) << 32) | low);
  const std::string plot_export = "{" + Member("width", JsonNumber(ExportPlotWidth)) + "," +
                                  Member("height", JsonNumber(ExportPlotHeight)) + "," +
                                  Member("textSize", JsonNumber(ExportPlotTextSize)) + "," +
                                  Member("pngScale", std::to_string(ExportPngScale)) + "}";
  return Reply("{" + Member("storeKey", JsonString(StoreKey)) + "," +
               Member("rowsKey", JsonString(RowsKey)) + "," +
               Member("piecesKey", JsonString(PiecesKey)) + "," +
               Member("pieceKey", JsonString(PieceKey)) + "," +
               Member("retryMs", std::to_string(StoreRetryMilliseconds)) + "," +
               Member("plotExport", plot_export) + "," + Member("captions", Captions()) + "}");
}

// "Messwert übernehmen" with the window's state (current and ΔI in mA,
// flags 0 or 1) at the moment `now_ms` (the page's performance.now()).
// Each action answers as ActionJson.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_record(int voltage, int current, int amplitude,
                                                       int deflection_on, int steady, int order,
                                                       int uncertainty, int information_shown,
                                                       int data_shown, int screen_hit,
                                                       double now_ms) {
  return Reply(ActionJson(state.session.Record({.voltage = voltage,
                                                .current = current,
                                                .amplitude = amplitude,
                                                .deflection_on = deflection_on != 0,
                                                .steady = steady != 0,
                                                .order = order,
                                                .uncertainty = uncertainty,
                                                .information_shown = information_shown != 0,
                                                .data_shown = data_shown != 0,
                                                .screen_hit = screen_hit != 0},
                                               now_ms)));
}

// A value typed into the field of a scroll bar (positions minimum..maximum,
// per_unit positions a shown unit, sign -1 for a negated field):
// {"position": n} or {"refusal": the sentence why not}.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_typed_value(const char* text, int text_length,
                                                            int minimum, int maximum, int per_unit,
                                                            int sign, const char* unit,
                                                            int unit_length) {
  const TypedValue typed = ReadTypedValue({text, static_cast<std::size_t>(text_length)},
                                          {.minimum = minimum,
                                           .maximum = maximum,
                                           .per_unit = per_unit,
                                           .sign = sign,
                                           .unit = {unit, static_cast<std::size_t>(unit_length)}});
  if (typed.position) return Reply("{\"position\":" + std::to_string(*typed.position) + "}");
  return Reply("{" + Member("refusal", JsonString(typed.refusal)) + "}");
}

// "Zeile löschen" for the row `id` of the shown table.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_delete(const char* id, int id_length) {
  return Reply(ActionJson(state.session.Delete(Bytes(id, id_length))));
}

// "in Auswertung" of the row `id` checked (1) or not (0).
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_include(const char* id, int id_length,
                                                        int included) {
  return Reply(ActionJson(state.session.Include(Bytes(id, id_length), included != 0)));
}

// "Alle löschen": every row shown now, after the question.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_clear() {
  return Reply(ActionJson(state.session.Clear()));
}

// "Rückgängig": what the last deletion or clearing removed, back at its places.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_undo() {
  return Reply(ActionJson(state.session.Undo()));
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
  return Reply("{" + Member("refusal", JsonString(refusal)) + "}");
}

// "CSV importieren" of the file `name` with its bytes.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_import(const char* text, int text_length,
                                                       const char* name, int name_length) {
  return Reply(
      ActionJson(state.session.Import(Bytes(text, text_length), Bytes(name, name_length))));
}

// The user's answer (a number of Answer) to the question of `change`:
// {"change": the change to apply, or 0}.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_decide(int change, int answer) {
  return Reply(
      "{" +
      Member("change", std::to_string(state.session.Decide(change, static_cast<Answer>(answer)))) +
      "}");
}

// A change that the page will not apply (its store could not take it).
EMSCRIPTEN_KEEPALIVE void varek_protocol_drop(int change) { state.session.Drop(change); }

// The change applied to the stored text (empty when there is none; with
// `unchanged` 1 the text of this tab's last step, not passed again), under
// the page's lock. `rows_written`: the rows the store held after the last
// step of any tab, -1 where that is not stored (the browser lost it with the
// store): this tab's own count then. {"write": whether to store the text
// (varek_protocol_step_text), "headLines", "tailLines": the lines at the
// start and at the end of the stored text that stay (SharedLines), "rows":
// the rows it holds, "keepAside": whether the stored text
// (varek_protocol_stored_text) goes to `kept_as` first, "repaired": the
// message then, "notKeptAside": the message when it cannot be kept aside}.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_step(const char* stored, int stored_length,
                                                     int unchanged, int change, const char* kept_as,
                                                     int kept_as_length, int rows_written) {
  state.prepared.reset();
  FillCopy();
  // The step replaces the copy: its text is kept apart.
  state.stored = unchanged != 0 ? std::string_view(state.copy.text) : Bytes(stored, stored_length);
  const std::string& text = state.stored;
  const StoreMemory memory{
      rows_written >= 0 ? static_cast<std::size_t>(rows_written) : state.rows_known,
      state.session.Rows()};
  // With nothing waiting to be stored, the change as it is (an import's rows not copied).
  const TableChange& applied = state.session.ChangeOf(change);
  state.step = state.unsaved.Empty()
                   ? StepStore(text, applied, memory, &state.copy)
                   : StepStore(text, Then(state.unsaved, applied), memory, &state.copy);
  state.step_change = change;
  state.committed = false;
  state.copy_from = State::CopyFrom::Step;
  state.read = state.step.keep_aside ? ReadTable(text, TableForm::Store).rows : ProtocolTable{};
  state.shared = state.step.write ? SharedLinesOf(text, state.step.text) : SharedLines{};
  std::string repaired, not_kept;
  if (state.step.keep_aside) {
    repaired = KeptAsideMessage(state.step, memory.rows_written, Bytes(kept_as, kept_as_length));
    not_kept = StoreNotKeptAsideMessage(state.step.summary, state.step.rows_read);
  }
  return Reply("{" + Member("write", Bool(state.step.write)) + "," +
               Member("headLines", std::to_string(state.shared.head_lines)) + "," +
               Member("tailLines", std::to_string(state.shared.tail_lines)) + "," +
               Member("rows", std::to_string(state.step.rows.size())) + "," +
               Member("keepAside", Bool(state.step.keep_aside)) + "," +
               Member("repaired", JsonString(repaired)) + "," +
               Member("notKeptAside", JsonString(not_kept)) + "}");
}

// The text of the last step, to be stored: not JSON, the bytes as they are
// (the store's text holds no NUL), and their number; with `whole` 0 only
// the lines between those that stay (the step's "headLines" and "tailLines").
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_step_text(int whole) {
  return state.step.text.c_str() + (whole != 0 ? 0 : state.shared.head_bytes);
}
EMSCRIPTEN_KEEPALIVE std::size_t varek_protocol_step_text_length(int whole) {
  return state.step.text.size() -
         (whole != 0 ? 0 : state.shared.head_bytes + state.shared.tail_bytes);
}

// The stored text of the last step until it is committed, as varek_protocol_step_text.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_stored_text() { return state.stored.c_str(); }
EMSCRIPTEN_KEEPALIVE std::size_t varek_protocol_stored_text_length() { return state.stored.size(); }

// What the page stored of the last step: 1 its text (the change is made),
// 2 nothing because the damaged store could not be kept aside (its good
// rows are shown), 0 nothing. Where nothing was stored, the change is shown
// and kept to be stored with the next step; `refused`: because the browser
// gives the page no storage at all (else it is full). {"message": what the
// change did and whether it is stored, or "", "ok": whether all is stored,
// "unsaved": whether changes wait to be stored, "changed": whether the
// shown table changed, "canUndo": whether "Rückgängig" has rows to put back}.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_commit(int stored, int refused) {
  const int change = state.step_change;
  if (stored != 1) state.unsaved = Then(state.unsaved, state.session.ChangeOf(change));
  ProtocolTable rows =
      stored == 1
          ? std::move(state.step.rows)
          : Applied(stored == 2 ? std::move(state.read) : state.session.Rows(), state.unsaved);
  const bool changed = rows != state.session.Rows();
  // The view made while the rows were written is theirs only when they are stored.
  const bool prepared = stored == 1 && state.prepared.has_value();
  std::optional<ProtocolView> view;
  if (prepared) view.swap(state.prepared);
  std::string message = state.session.Stored(change, std::move(rows), std::move(view));
  state.prepared.reset();
  bool ok = true;
  if (stored == 1) {
    state.copy_from = State::CopyFrom::Shown;  // the step's rows are the session's now
    state.rows_known = state.session.Rows().size();
    if (state.told_not_stored && !state.unsaved.Empty())
      message += (message.empty() ? "" : "\n") + StoredAgainMessage(state.session.Rows().size());
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
  state.step_change = 0;
  state.committed = true;
  // A megabyte at 20,000 rows, needed no more.
  std::string().swap(state.stored);
  return Reply("{" + Member("message", JsonString(message)) + "," + Member("ok", Bool(ok)) + "," +
               Member("unsaved", Bool(!state.unsaved.Empty())) + "," +
               Member("changed", Bool(changed)) + "," +
               Member("canUndo", Bool(state.session.CanUndo())) + "," +
               Member("prepared", Bool(prepared)) + "}");
}

// The copy of the store for the next step, made once the page has shown
// the last one (else by the next step itself).
// (Not while a step waits for its commit: its text and rows are needed then.)
EMSCRIPTEN_KEEPALIVE void varek_protocol_fill_copy() {
  if (state.committed) FillCopy();
}

// While the page waits for its storage to write the last step: the view of
// the step's rows, which varek_protocol_commit shows once they are stored.
EMSCRIPTEN_KEEPALIVE void varek_protocol_prepare() { state.prepared = ViewOf(state.step.rows); }

// The plot of that view to be drawn (DrawingJson), as varek_protocol_plot_drawing:
// the page has the picture ready when the rows are stored.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_prepared_plot_drawing(double width, double height) {
  return Reply(DrawingJson(
      PlanOf(state.prepared ? *state.prepared : state.session.View(), width, height, 0)));
}

// The shown table's view (measurement/protocol_json.h): whole, for the
// printed page; or its head after each change and the rows in sight.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_view() {
  return Reply(ViewJson(state.session.View()));
}
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_view_head() {
  return Reply(ViewHeadJson(state.session.View()));
}
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_view_rows(int first, int count) {
  return Reply(ViewRowsJson(state.session.View(), static_cast<std::size_t>(std::max(first, 0)),
                            static_cast<std::size_t>(std::max(count, 0))));
}

// {"index": the place (from 0) of the row `id` in the shown table, or -1}.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_row_index(const char* id, int id_length) {
  const std::string_view wanted = Bytes(id, id_length);
  const ProtocolTable& rows = state.session.Rows();
  const auto found = std::find_if(rows.begin(), rows.end(),
                                  [&](const ProtocolRow& row) { return row.id == wanted; });
  return Reply("{\"index\":" +
               (found == rows.end() ? std::string("-1") : std::to_string(found - rows.begin())) +
               "}");
}

// The plot's plan for a frame of width × height with text `text_size` high
// (0: the screen's). Each a mark: {"x", "y", "radius", "outlier", "fill", "edge", "edgeWidth"}.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_plot(double width, double height,
                                                     double text_size) {
  return Reply(PlanJson(PlanOf(state.session.View(), width, height, text_size)));
}

// The same plan to be drawn (DrawingJson).
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_plot_drawing(double width, double height,
                                                             double text_size) {
  return Reply(DrawingJson(PlanOf(state.session.View(), width, height, text_size)));
}

// A rehearsal of the changes on a table of its own, the page's state
// untouched: an import into an empty store, a reading, a deletion and its
// undoing, each stepped, stored and shown. The engine compiles WebAssembly
// a function when it is first called and optimises what runs often; so the
// first change of a large table does not wait for either. The plot of the
// rehearsal's table to be drawn (DrawingJson), for the page's drawing to
// be rehearsed as well. The heap of a large table is made ready first (WarmHeap).
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_rehearse(double width, double height) {
  WarmHeap();
  ProtocolSession session(1);
  StoreCopy copy;
  std::string ignored;
  const auto apply = [&](const ProtocolSession::Action& action) {
    StoreStep step = StepStore(copy.text, session.ChangeOf(action.change), {}, &copy);
    ignored = session.Stored(action.change, std::move(step.rows));
    ignored = ViewHeadJson(session.View()) + ViewRowsJson(session.View(), 0, 40);
  };
  apply(session.Import(WriteTable(RehearsalTable(), TableForm::Exchange), "rehearsal.csv"));
  for (int i = 0; i < 3; ++i) {
    apply(session.Record(
        {.voltage = 1200, .current = 1231 + i, .amplitude = 200, .deflection_on = true, .order = 1},
        1e4 * i));
    apply(session.Delete(session.Rows().front().id));
    apply(session.Undo());
    ignored = WriteTable(session.Rows(), TableForm::Exchange);
    ignored = ReadTable(copy.text, TableForm::Store).Summary();
  }
  // The plan once per row of a large table: planned often enough here that
  // the engine optimises its code before the first such table.
  for (int i = 0; i < RehearsalPlans; ++i)
    ignored = DrawingJson(PlanOf(session.View(), width, height, 0));
  return Reply(DrawingJson(PlanOf(session.View(), width, height, 0)));
}

EMSCRIPTEN_KEEPALIVE const double* varek_protocol_plot_marks() { return drawn_marks.data(); }
EMSCRIPTEN_KEEPALIVE const double* varek_protocol_plot_lines() { return drawn_lines.data(); }

// {"csv": the shown table as the exchange file}.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_export() {
  return Reply(
      "{" + Member("csv", JsonString(WriteTable(state.session.Rows(), TableForm::Exchange))) + "}");
}

// {"key": the n-th name (from 1) for a damaged store kept aside}.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_kept_aside_key(int n) {
  return Reply("{" + Member("key", JsonString(KeptAsideName(StoreKey, n))) + "}");
}

// {"text": the message for the table of an older page, stored in the
// form it knows (`stored`), kept aside under `kept_as`}.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_older_page_kept_aside(const char* stored,
                                                                      int stored_length,
                                                                      const char* kept_as,
                                                                      int kept_as_length) {
  const std::size_t rows = ReadTable(Bytes(stored, stored_length), TableForm::Store).rows.size();
  return Reply("{" +
               Member("text", JsonString(OlderPageStoreKeptAsideMessage(
                                  rows, Bytes(kept_as, kept_as_length)))) +
               "}");
}

// {"text": the printed protocol's date line}.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_date_line(int year, int month, int day, int hour,
                                                          int minute) {
  return Reply("{" + Member("text", JsonString(DateLine(year, month, day, hour, minute))) + "}");
}

// {"text": "<what> gespeichert in „<file>“"}.
EMSCRIPTEN_KEEPALIVE const char* varek_protocol_saved(const char* what, int what_length,
                                                      const char* file, int file_length) {
  return Reply(
      "{" +
      Member("text", JsonString(SavedMessage(Bytes(what, what_length), Bytes(file, file_length)))) +
      "}");
}

}  // extern "C"
