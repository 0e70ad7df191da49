// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// varek-focus --voltage V [--order K] [--amplitude A] [--range]: prints the
// coil current in mA at which the end marks of the two paths of an
// alternating deflection voltage meet at the k-th focus, the middle of the
// range where they are one dot; with --range also the range's two ends.
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "measurement/focus_search.h"
#include "measurement/text_excerpt.h"
#include "tools/flags/tool_flags.h"

namespace {

struct FocusFlags {
  int voltage = 0;  // 0: not given
  int order = 1;
  int amplitude = 200;
};

struct Flag {
  const char* name;
  int lowest, highest;
  int FocusFlags::*field;
};

constexpr Flag Flags[] = {
    {"--voltage", 50, 2000, &FocusFlags::voltage},
    {"--order", 1, 4, &FocusFlags::order},
    {"--amplitude", 1, 300, &FocusFlags::amplitude},  // at 0 the two paths coincide
};

constexpr const char* Usage =
    "Aufruf: varek-focus --voltage 50..2000 [--order 1..4] [--amplitude 1..300] [--range]";

int Fail(const std::string& message) {
  std::fprintf(stderr, "varek-focus: %s\n", message.c_str());
  return 2;
}

// Nothing when argv[i] and its value were taken; otherwise why not.
std::optional<std::string> TakeFlag(int argc, char** argv, int& i, FocusFlags& flags) {
  for (const Flag& flag : Flags) {
    if (std::strcmp(argv[i], flag.name) != 0) continue;
    const std::string expected = "erwartet eine ganze Zahl von " + std::to_string(flag.lowest) +
                                 " bis " + std::to_string(flag.highest);
    if (i + 1 >= argc) return std::string(flag.name) + ": Wert fehlt, " + expected;
    int value = 0;
    if (!varek::ParsePlainInteger(argv[i + 1], value) || value < flag.lowest ||
        value > flag.highest) {
      return std::string(flag.name) + ": ungültiger Wert " + varek::QuotedExcerpt(argv[i + 1]) +
             ", " + expected;
    }
    flags.*flag.field = value;
    ++i;
    return std::nullopt;
  }
  return "unbekannter Schalter " + varek::QuotedExcerpt(argv[i]) + "; " + Usage;
}

}  // namespace

int main(int argc, char** argv) {
  FocusFlags flags;
  bool range = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--range") == 0) {
      range = true;
      continue;
    }
    if (const auto problem = TakeFlag(argc, argv, i, flags)) return Fail(*problem);
  }
  if (flags.voltage == 0) return Fail(std::string("--voltage fehlt; ") + Usage);

  const std::optional<varek::FocusRange> focus =
      varek::FindFocusRange(flags.voltage, flags.order, flags.amplitude);
  if (!focus) {
    std::fprintf(
        stderr,
        "varek-focus: kein Fokus %d. Ordnung bei %d V und Amplitude %d zwischen 0 und "
        "3000 mA (die Elektronen erreichen den Schirm nicht oder der Strom reicht nicht)\n",
        flags.order, flags.voltage, flags.amplitude);
    return 1;
  }
  if (range) {
    std::printf("%d %d %d\n", focus->Middle(), focus->lowest, focus->highest);
  } else {
    std::printf("%d\n", focus->Middle());
  }
  return 0;
}
