// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// protocol_digest STORE WIDTH HEIGHT: the protocol's view and the plot's plan
// for a table in the store form, as JSON ({"view", "plot"}), from the desktop
// build of the core: the page's test compares them with what its bridge
// returns for the same table.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "measurement/atomic_file.h"
#include "measurement/protocol_csv.h"
#include "measurement/protocol_json.h"

int main(int argc, char** argv) {
  using namespace varek;
  if (argc != 4) {
    std::fprintf(stderr, "usage: protocol_digest STORE WIDTH HEIGHT\n");
    return 2;
  }
  std::string error;
  const std::optional<std::string> text = ReadFileUpTo(argv[1], MaxStoreBytes, error);
  if (!text) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  const ProtocolView view = ViewOf(ReadTable(*text, TableForm::Store).rows);
  const PlotPlan plan = PlanPlot(view, std::atof(argv[2]), std::atof(argv[3]));
  std::printf("{\"view\":%s,\"plot\":%s}\n", ViewJson(view).c_str(), PlanJson(plan).c_str());
  return 0;
}
