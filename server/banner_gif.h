#pragma once

#include <QByteArray>
#include <QImage>
#include <QVector>

namespace velmora::server {

// Writes an animated GIF89a that loops forever: every frame with its own colour table (at most
// 256 colours, Qt's reduction when a frame has more), LZW-compressed, frame i shown for
// delaysCentiseconds[i] (a single delay serves every frame). All frames must have the size of
// the first. Throws std::invalid_argument for no frames or frames of different sizes.
QByteArray encodeGif(const QVector<QImage>& frames, const QVector<int>& delaysCentiseconds);

// The header banner (409 x 100 pixels): the distributor's name and its current messages.
QByteArray drawBannerGif();

} // namespace velmora::server
