#include "app/protocol/protocol_texts.h"

#include "measurement/amplitude_advice.h"
#include "measurement/constants.h"
#include "measurement/decimal_text.h"

namespace varek {

namespace {
QString Text(const std::string& text) { return QString::fromStdString(text); }
}  // namespace

QStringList ProtocolColumnTitles() {
  return {QStringLiteral("Nr."),       QStringLiteral("U in V"), QStringLiteral("I in A"),
          QStringLiteral("k"),         QStringLiteral("Amplitude"), QStringLiteral("B in mT"),
          QStringLiteral("e/m in 10¹¹ C/kg")};
}

QStringList ProtocolCells(int number, const Measurement& row) {
  return {QString::number(number),
          Text(DecimalText(row.voltage)),
          Text(FixedText(row.current, 3)),
          QString::number(row.order),
          row.amplitude ? QString::number(*row.amplitude) : QStringLiteral("–"),
          Text(FixedText(FieldOf(row.current) * 1e3, 3)),
          Text(FixedText(SpecificChargeOf(row) / 1e11, 4))};
}

QString ProtocolResultText(const std::optional<SeriesResult>& result) {
  if (!result) return QStringLiteral("Noch keine Messwerte: Fokus einstellen, dann „Messwert übernehmen“.");
  QString text = QStringLiteral("e/m = ") +
                 Text(ValueWithUncertainty(result->specific_charge, result->uncertainty, "C/kg"));
  if (!result->uncertainty) text += QStringLiteral(" (ein Messwert: keine Unsicherheit)");
  const std::string sign = result->deviation_percent >= 0 ? "+" : "";
  text += QStringLiteral("\nAbweichung vom Literaturwert ") +
          Text(ValueWithUncertainty(LiteratureSpecificCharge, std::nullopt, "C/kg", 6)) +
          QStringLiteral(": ") + Text(sign + FixedText(result->deviation_percent, 2)) +
          QStringLiteral(" %");
  return text;
}

QString ProtocolWarningText(std::span<const Measurement> rows) {
  QStringList lines;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (!rows[i].amplitude) continue;
    const QString where = QStringLiteral("Zeile %1: Amplitude %2 bei %3 V")
                              .arg(i + 1)
                              .arg(*rows[i].amplitude)
                              .arg(Text(DecimalText(rows[i].voltage)));
    switch (AdviceFor(rows[i].voltage, *rows[i].amplitude)) {
      case AmplitudeAdvice::Fine:
        break;
      case AmplitudeAdvice::NearPlates:
        lines << where + QStringLiteral(" ist zu groß: die Elektronen streifen die Ablenkplatten, "
                                        "der Fokus verschiebt sich oder fehlt.");
        break;
      case AmplitudeAdvice::TooSmall:
        lines << where + QStringLiteral(" ist zu klein: die Marken liegen über viele mA "
                                        "aufeinander, der Strom ist unsicher.");
        break;
    }
  }
  return lines.join('\n');
}

}  // namespace varek
