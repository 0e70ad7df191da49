// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The protocol's core at a large table, without a front end: a series of N
// rows (U, I, k and ΔI, as a class exports it) read as an exchange file,
// imported into an empty store (read, the change, the store's step with
// its text written), and a reading recorded and deleted on a store of N
// rows (each a step from the copy of the store, and the view shown). Also the store's text written
// and read, and the view of the table made, each alone.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "measurement/protocol_csv.h"
#include "measurement/protocol_session.h"
#include "measurement/protocol_store.h"
#include "measurement/protocol_view.h"

namespace {

using namespace varek;

// As a class's series: voltages 300…1999 V, currents with three decimals, ΔI 0,008 A.
std::string Series(int rows) {
  std::string text = "U in V;I in A;k;\u0394I in A\n";
  for (int i = 0; i < rows; ++i) {
    const int voltage = 300 + i % 1700;
    const long milliamperes = std::lround(std::sqrt(voltage / 1200.0) * 1231);
    text += std::to_string(voltage) + ";" + std::to_string(milliamperes / 1000) + "," +
            std::string(milliamperes % 1000 < 100 ? "0" : "") +
            std::string(milliamperes % 1000 < 10 ? "0" : "") + std::to_string(milliamperes % 1000) +
            ";1;0,008\n";
  }
  return text;
}

// The session with a store of the series' rows, as after its import.
struct Imported {
  ProtocolSession session{1};
  StoreCopy copy;
  explicit Imported(int rows) {
    const int change = session.Import(Series(rows), "reihe.csv").change;
    StoreStep step = StepStore({}, session.ChangeOf(change), {}, &copy);
    session.Stored(change, std::move(step.rows));
  }
};

void ReadSeries(benchmark::State& state) {
  const std::string text = Series(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(ReadTable(text, TableForm::Exchange));
}
BENCHMARK(ReadSeries)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);

// "CSV importieren" into an empty store: the file read, the change, the step.
void ImportAndStep(benchmark::State& state) {
  const std::string text = Series(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    ProtocolSession session(1);
    StoreCopy copy;
    const int change = session.Import(text, "reihe.csv").change;
    StoreStep step = StepStore({}, session.ChangeOf(change), {}, &copy);
    benchmark::DoNotOptimize(step.text.data());
  }
}
BENCHMARK(ImportAndStep)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);

// "Messwert übernehmen" and "Zeile löschen" of that row on a store of N
// rows: two steps from the copy, the table as it was afterwards.
void RecordAndDelete(benchmark::State& state) {
  Imported imported(static_cast<int>(state.range(0)));
  ProtocolSession& session = imported.session;
  const auto apply = [&](int change) {
    StoreStep step = StepStore(imported.copy.text, session.ChangeOf(change), {}, &imported.copy);
    benchmark::DoNotOptimize(step.text.data());
    session.Stored(change, std::move(step.rows));
  };
  double now = 0;
  for (auto _ : state) {
    const Reading reading{
        .voltage = 1200, .current = 1231, .amplitude = 200, .deflection_on = true, .order = 1};
    const int change = session.Record(reading, now += 1e4).change;
    if (change == 0) {
      state.SkipWithError("the reading was refused");
      break;
    }
    apply(change);
    apply(session.Delete(session.Rows().back().id).change);
  }
}
BENCHMARK(RecordAndDelete)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);

void WriteStore(benchmark::State& state) {
  const Imported imported(static_cast<int>(state.range(0)));
  for (auto _ : state)
    benchmark::DoNotOptimize(WriteTable(imported.session.Rows(), TableForm::Store));
}
BENCHMARK(WriteStore)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);

void ReadStore(benchmark::State& state) {
  const Imported imported(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(ReadTable(imported.copy.text, TableForm::Store));
}
BENCHMARK(ReadStore)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);

void View(benchmark::State& state) {
  const Imported imported(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(ViewOf(imported.session.Rows()));
}
BENCHMARK(View)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
