// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Where the measurement protocol's two panels stand, for both editions.
// Beneath: within the information page's rectangle, over the right column
// and the deflection settings, so that the form keeps its size and scale.
// Beside: right of the form, each protocol row at its `beside` place, where
// nothing of the form is covered; the form is then wider.
#pragma once

#include "form/control.h"

namespace varek::form {

enum class ProtocolPlace { Beneath, Beside };

struct FormSize {
  int width = 0, height = 0;
  friend bool operator==(const FormSize&, const FormSize&) = default;
};

// The protocol stands beside the form wherever the form with it there is
// shown at least at this scale (its own size: every text as large as the
// form's 1x pixels), or as large as with the protocol beneath.
inline constexpr double BesideLeastScale = 1.0;

// The form's shown part: the information page's rectangle, grown where a
// shown protocol panel reaches further, with the margin of 8 pixels that
// the right column keeps to the window's edge.
FormSize ShownSize(bool protocol_shown, ProtocolPlace place);

// The largest factor at which a form of `size` fits a room of
// room_width x room_height.
double FitScale(double room_width, double room_height, FormSize size);

// The place for the protocol in a room of that size.
ProtocolPlace ChooseProtocolPlace(double room_width, double room_height);

// Where `row` stands with the protocol at `place`.
const Bounds& PlacedBounds(const Control& row, ProtocolPlace place);

}  // namespace varek::form
