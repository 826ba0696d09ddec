#pragma once

#include <QPixmap>
#include <QString>
#include <QVector>

// Pictures of the grids, drawn by us: availability states 0 to 6 (index = DURUM), and the
// yes/no, picture-exists and campaign marks. 24 x 24 pixels.
const QVector<QPixmap>& durumResimleri();
QString durumAciklamasi(int durum);           // "Yok", "Var", ... ; empty for unknown states
QString durumLejantBasligi(int durum);        // the legend's captions
const QVector<QPixmap>& evetHayirResimleri(); // 0 "Hayır", 1 "Evet"
const QVector<QPixmap>& resimVarResimleri();  // 0 nothing, 1 a camera
const QVector<QPixmap>& kampanyaResimleri();  // 0 plain, 1 campaign tag
