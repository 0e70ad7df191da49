// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The description of the window Form1: every control once, for the desktop
// window and for the browser edition (which gets it from varek-form-export).
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "form/control.h"

namespace varek::form {

const Window& Form1Window();

// Parents come before their children; siblings from bottom to top.
std::span<const Control> Form1Controls();

// The row named `name`, or nullptr.
const Control* FindControl(std::string_view name);

// The focusable controls of an edition in the order Tab visits them: the
// window's children by their tab order, a panel's children in its place, by
// theirs.
std::vector<std::string_view> TabChain(Edition edition = Edition::Desktop);

// Whether `edition` shows the control, or what is meant for `shown`. The
// touch arrangement shows all that the page shows; the page shows what is
// meant for its touch arrangement (there only).
bool ShownIn(const Control& control, Edition edition);
bool ShownIn(Edition shown, Edition edition);

}  // namespace varek::form
