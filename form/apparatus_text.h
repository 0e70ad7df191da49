// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The data page's lines (page_texts.h) as one line of plain text, for the
// printed protocol of both editions: "Spule: Windungszahl n = 2000, Länge
// L = 0,4 m; Abstand Mitte der Ablenkplatten – Schirm: s = 0,095 m; …".
#pragma once

#include <string>

namespace varek::form {

std::string ApparatusText();

}  // namespace varek::form
