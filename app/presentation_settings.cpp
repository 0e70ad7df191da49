// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/presentation_settings.h"

#include <QSettings>
#include <QString>

#include "app/screen_fit.h"

namespace varek {

namespace {
const QString kZoomKey = QStringLiteral("presentation/zoom");
const QString kFullScreenKey = QStringLiteral("presentation/full_screen");
}  // namespace

PresentationSettings LoadPresentationSettings(QSettings& store) {
  PresentationSettings settings;
  if (store.status() != QSettings::NoError) return settings;

  bool ok = false;
  const double zoom = store.value(kZoomKey).toString().toDouble(&ok);
  if (ok && (zoom == kFillWindow || IsZoomStep(zoom))) settings.zoom = zoom;

  const QString full_screen = store.value(kFullScreenKey).toString();
  if (full_screen == QLatin1String("true")) settings.full_screen = true;
  return settings;
}

void SavePresentationSettings(QSettings& store, const PresentationSettings& settings) {
  store.setValue(kZoomKey, QString::number(settings.zoom));
  store.setValue(kFullScreenKey,
                 settings.full_screen ? QStringLiteral("true") : QStringLiteral("false"));
  store.sync();
}

}  // namespace varek
