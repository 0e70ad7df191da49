// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// varek-focus --voltage V [--order K] [--amplitude A] [--range]: prints the
// coil current in mA at which the end marks of the two paths of an
// alternating deflection voltage meet at the k-th focus, the middle of the
// range where they are one dot; with --range also the range's two ends.
#include <cstdio>
#include <optional>

#include "measurement/focus_search.h"
#include "tools/flags/tool_flags.h"

int main(int argc, char** argv) {
  using namespace varek;
  int order = 1;
  bool range = false;
  const ToolFlag flags[] = {
      {.name = "--order",
       .meaning = "Fokusordnung k: die Bahnen treffen sich nach k Umläufen",
       .integer = &order,
       .range = {1, 4}},
      {.name = "--range", .meaning = "auch die Enden des Bereichs ausgeben", .on = &range}};
  // At amplitude 0 the two paths coincide.
  const OfferedSetting offered[] = {{.name = "voltage", .required = true},
                                    {.name = "amplitude", .range = Range{1, 300}}};
  const ToolCommandLine line{
      .tool = "varek-focus",
      .purpose =
          "Findet den Spulenstrom in mA, bei dem sich die Endmarken der beiden Bahnen\n"
          "bei Wechselspannung im k-ten Fokus treffen: die Mitte des Bereichs, in dem\n"
          "sie ein Punkt sind.",
      .settings = offered,
      .flags = flags};
  Settings settings;
  if (const auto status = ParseFlagsOrReport(line, argc, argv, settings)) return *status;

  const std::optional<FocusRange> focus =
      FindFocusRange(settings.voltage, order, settings.amplitude);
  if (!focus) {
    std::fprintf(stderr,
                 "varek-focus: kein Fokus %d. Ordnung bei %d V und Amplitude %d zwischen 0 und "
                 "%d mA (die Elektronen erreichen den Schirm nicht oder der Strom reicht nicht)\n",
                 order, settings.voltage, settings.amplitude, CurrentRange.highest);
    return 1;
  }
  if (range) {
    std::printf("%d %d %d\n", focus->Middle(), focus->lowest, focus->highest);
  } else {
    std::printf("%d\n", focus->Middle());
  }
  return 0;
}
