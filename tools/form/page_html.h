// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of the explanation and data pages (form/page_texts.h) as HTML
// for the browser edition, formulas as MathML.
#pragma once

#include <string>
#include <string_view>

#include "form/formula_markup.h"

namespace varek::form {

// <math display="block"|"inline"> with the formula's MathML inside.
std::string FormulaMathMl(const FormulaNode& formula, bool block);

// The explanation page: title, subtitle and the two columns (div.column).
std::string InformationHtml();

// The data page: its heading and a definition list of the data.
std::string DataHtml();

}  // namespace varek::form
