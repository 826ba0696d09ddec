#include "banner_gif.h"

#include <QFont>
#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QStringList>

#include <algorithm>
#include <stdexcept>

namespace velmora::server {

namespace {

void put16(QByteArray& out, int value)
{
    out.append(static_cast<char>(value & 0xff));
    out.append(static_cast<char>((value >> 8) & 0xff));
}

// Codes of variable width, least significant bit first, cut into data sub-blocks.
class CodeWriter {
public:
    void write(int code, int width)
    {
        m_bits |= static_cast<quint32>(code) << m_count;
        m_count += width;
        while (m_count >= 8) {
            m_bytes.append(static_cast<char>(m_bits & 0xff));
            m_bits >>= 8;
            m_count -= 8;
        }
    }
    void appendBlocks(QByteArray& out)
    {
        if (m_count > 0)
            m_bytes.append(static_cast<char>(m_bits & 0xff));
        for (qsizetype at = 0; at < m_bytes.size(); at += 255) {
            const qsizetype length = std::min<qsizetype>(255, m_bytes.size() - at);
            out.append(static_cast<char>(length));
            out.append(m_bytes.constData() + at, length);
        }
        out.append('\0');
    }

private:
    QByteArray m_bytes;
    quint32 m_bits = 0;
    int m_count = 0;
};

// GIF's LZW with 8-bit pixels: clear code 256, end code 257, codes of 9 to 12 bits; a full
// table of 4096 entries is started afresh with a clear code.
void compress(const QImage& indexed, QByteArray& out)
{
    constexpr int minCodeSize = 8;
    constexpr int clearCode = 1 << minCodeSize;
    constexpr int endCode = clearCode + 1;
    constexpr int maxCodes = 4096;

    out.append(static_cast<char>(minCodeSize));
    CodeWriter writer;
    QHash<quint32, int> table; // (prefix code << 8 | next pixel) -> code
    int width = minCodeSize + 1;
    int next = endCode + 1;
    writer.write(clearCode, width);

    int prefix = -1;
    for (int y = 0; y < indexed.height(); ++y) {
        const uchar* line = indexed.constScanLine(y);
        for (int x = 0; x < indexed.width(); ++x) {
            const int pixel = line[x];
            if (prefix < 0) {
                prefix = pixel;
                continue;
            }
            const quint32 key = (static_cast<quint32>(prefix) << 8) | static_cast<quint32>(pixel);
            const auto found = table.constFind(key);
            if (found != table.constEnd()) {
                prefix = found.value();
                continue;
            }
            writer.write(prefix, width);
            if (next < maxCodes) {
                table.insert(key, next++);
                // The decoder adds its entry one code later and widens after it: the next code
                // is read one bit wider once the table holds 2^width entries.
                if (next > (1 << width) && width < 12)
                    ++width;
            } else {
                writer.write(clearCode, width);
                table.clear();
                width = minCodeSize + 1;
                next = endCode + 1;
            }
            prefix = pixel;
        }
    }
    if (prefix >= 0)
        writer.write(prefix, width);
    writer.write(endCode, width);
    writer.appendBlocks(out);
}

} // namespace

QByteArray encodeGif(const QVector<QImage>& frames, const QVector<int>& delaysCentiseconds)
{
    if (frames.isEmpty() || frames.first().isNull())
        throw std::invalid_argument("encodeGif: no frames");
    const QSize size = frames.first().size();
    if (size.width() > 0xffff || size.height() > 0xffff)
        throw std::invalid_argument("encodeGif: frame too large");
    if (delaysCentiseconds.size() != 1 && delaysCentiseconds.size() != frames.size())
        throw std::invalid_argument("encodeGif: one delay, or one per frame");

    QByteArray out("GIF89a");
    put16(out, size.width());
    put16(out, size.height());
    out.append('\0'); // no global colour table
    out.append('\0'); // background colour
    out.append('\0'); // pixel aspect ratio
    // Loop forever.
    out.append("\x21\xff\x0bNETSCAPE2.0\x03\x01", 16);
    put16(out, 0);
    out.append('\0');

    for (qsizetype i = 0; i < frames.size(); ++i) {
        const QImage& frame = frames.at(i);
        const int delay = delaysCentiseconds.size() == 1 ? delaysCentiseconds.first() : delaysCentiseconds.at(i);
        if (frame.size() != size)
            throw std::invalid_argument("encodeGif: frames differ in size");
        const QImage indexed = frame.convertToFormat(QImage::Format_RGB32)
                                   .convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
        // Graphic control: no transparency, the frame stays until the next replaces it.
        out.append("\x21\xf9\x04\x04", 4);
        put16(out, std::clamp(delay, 0, 0xffff));
        out.append('\0');
        out.append('\0');
        // Image descriptor with a local colour table of 256 entries.
        out.append('\x2c');
        put16(out, 0);
        put16(out, 0);
        put16(out, size.width());
        put16(out, size.height());
        out.append('\x87');
        const QVector<QRgb> colours = indexed.colorTable();
        for (int i = 0; i < 256; ++i) {
            const QRgb c = i < colours.size() ? colours.at(i) : qRgb(0, 0, 0);
            out.append(static_cast<char>(qRed(c)));
            out.append(static_cast<char>(qGreen(c)));
            out.append(static_cast<char>(qBlue(c)));
        }
        compress(indexed, out);
    }
    out.append('\x3b');
    return out;
}

QByteArray drawBannerGif()
{
    const QSize size(409, 100);
    const QStringList messages{
        QStringLiteral("Fren ve süspansiyonda\nsezon kampanyası"),
        QStringLiteral("16:00'ya kadar verilen siparişler\naynı gün kargoda"),
        QStringLiteral("Yeni gelen ürünler için\n\"Yeni Stoklar\" sekmesine bakınız"),
    };
    QVector<QImage> frames;
    QVector<int> delays;
    for (const QString& message : messages) {
        // Each message slides in over four frames, then stands.
        for (int step = 0; step <= 4; ++step) {
            QImage image(size, QImage::Format_RGB32);
            QPainter p(&image);
            QLinearGradient background(0, 0, size.width(), 0);
            background.setColorAt(0, QColor(0x8e, 0x12, 0x12));
            background.setColorAt(1, QColor(0x3a, 0x06, 0x06));
            p.fillRect(image.rect(), background);
            p.setPen(QColor(0xf5, 0xc5, 0x18));
            QFont brand(QStringLiteral("DejaVu Sans"));
            brand.setPixelSize(18);
            brand.setBold(true);
            p.setFont(brand);
            p.drawText(QRect(12, 6, size.width() - 24, 24), Qt::AlignLeft | Qt::AlignVCenter,
                       QStringLiteral("VELMORA OTOMOTİV"));
            p.fillRect(QRect(12, 32, size.width() - 24, 2), QColor(0xf5, 0xc5, 0x18));
            QFont text(QStringLiteral("DejaVu Sans"));
            text.setPixelSize(16);
            p.setFont(text);
            p.setPen(Qt::white);
            const int offset = (4 - step) * size.width() / 4;
            p.drawText(QRect(12 + offset, 38, size.width() - 24, 58), Qt::AlignLeft | Qt::AlignVCenter, message);
            p.end();
            frames.append(image);
            delays.append(step < 4 ? 8 : 300);
        }
    }
    return encodeGif(frames, delays);
}

} // namespace velmora::server
