// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "form/protocol_place.h"

#include <algorithm>

#include "form/form1.h"

namespace varek::form {

namespace {
constexpr int kMargin = 8;
}  // namespace

FormSize ShownSize(bool protocol_shown, ProtocolPlace place) {
  const Bounds page = FindControl("Panel4")->bounds;
  FormSize shown{page.width, page.height};
  if (!protocol_shown) return shown;
  for (const char* panel : {"Protocol", "ProtocolReadings"}) {
    const Bounds& b = PlacedBounds(*FindControl(panel), place);
    shown.width = std::max(shown.width, b.left + b.width + kMargin);
    shown.height = std::max(shown.height, b.top + b.height + kMargin);
  }
  return shown;
}

double FitScale(double room_width, double room_height, FormSize size) {
  if (size.width <= 0 || size.height <= 0 || room_width <= 0 || room_height <= 0) return 1.0;
  return std::min(room_width / size.width, room_height / size.height);
}

ProtocolPlace ChooseProtocolPlace(double room_width, double room_height) {
  const double beside = FitScale(room_width, room_height, ShownSize(true, ProtocolPlace::Beside));
  const double beneath = FitScale(room_width, room_height, ShownSize(true, ProtocolPlace::Beneath));
  return beside >= std::min(BesideLeastScale, beneath) ? ProtocolPlace::Beside
                                                       : ProtocolPlace::Beneath;
}

const Bounds& PlacedBounds(const Control& row, ProtocolPlace place) {
  return place == ProtocolPlace::Beside && row.beside ? *row.beside : row.bounds;
}

}  // namespace varek::form
