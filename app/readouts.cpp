// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/readouts.h"

#include <QLocale>
#include <charconv>

#include "model/constants.h"

namespace varek {

namespace {
constexpr int kGeneralDigits = 15;  // significant digits of the general number format
}  // namespace

QString IntegerText(int value) { return QString::number(value); }

QString CoilCurrentText(int milliamperes) {
  const Extended amperes = static_cast<Extended>(milliamperes) / MilliampsPerAmp;
  // to_chars ignores the C locale, which the application object sets from the environment.
  char text[64];
  const auto written =
      std::to_chars(text, text + sizeof text, amperes, std::chars_format::general, kGeneralDigits);
  QString result = QString::fromLatin1(text, static_cast<int>(written.ptr - text));
  result.replace(QLatin1Char('.'), QLocale().decimalPoint());
  return result;
}

QString ReadoutText(form::ValueFormat format, int position) {
  switch (format) {
    case form::ValueFormat::Integer: return IntegerText(position);
    case form::ValueFormat::NegatedInteger: return IntegerText(-position);
    case form::ValueFormat::Thousandths: return CoilCurrentText(position);
  }
  return {};
}

}  // namespace varek
