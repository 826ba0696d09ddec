#include "xls_writer.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QSaveFile>

#include <algorithm>
#include <cstring>
#include <stdexcept>

// The file is a compound document (a small FAT file system in 512-byte sectors) holding one
// stream, "Workbook", with the records of the workbook: the globals (fonts, cell formats, the
// sheet list, the shared strings), then the one sheet with its cells.

namespace velmora {
namespace {

// Record identifiers.
constexpr quint16 kBof = 0x0809;
constexpr quint16 kEof = 0x000A;
constexpr quint16 kCodePage = 0x0042;
constexpr quint16 kWindow1 = 0x003D;
constexpr quint16 kDateMode = 0x0022;
constexpr quint16 kFont = 0x0031;
constexpr quint16 kXf = 0x00E0;
constexpr quint16 kStyle = 0x0293;
constexpr quint16 kBoundSheet = 0x0085;
constexpr quint16 kSst = 0x00FC;
constexpr quint16 kContinue = 0x003C;
constexpr quint16 kExtSst = 0x00FF;
constexpr quint16 kColInfo = 0x007D;
constexpr quint16 kDimension = 0x0200;
constexpr quint16 kNumber = 0x0203;
constexpr quint16 kLabelSst = 0x00FD;
constexpr quint16 kBoolErr = 0x0205;
constexpr quint16 kWindow2 = 0x023E;

constexpr int kMaxRecordData = 8224; // a record's body never exceeds this
constexpr int kMaxRows = 65536;
constexpr int kMaxColumns = 256;
constexpr int kMaxTextLength = 32767;

// Cell formats (indexes into the XF list): 0-14 are the style formats every workbook carries.
constexpr quint16 kXfCell = 15;
constexpr quint16 kXfDate = 16;
constexpr quint16 kXfDateTime = 17;
constexpr quint16 kXfHeader = 18;

// Built-in number formats.
constexpr quint16 kFormatGeneral = 0;
constexpr quint16 kFormatDate = 14;     // short date in the reader's locale
constexpr quint16 kFormatDateTime = 22; // short date and time

void put8(QByteArray& b, quint8 v)
{
    b.append(static_cast<char>(v));
}

void put16(QByteArray& b, quint16 v)
{
    put8(b, v & 0xFF);
    put8(b, v >> 8);
}

void put32(QByteArray& b, quint32 v)
{
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

void putDouble(QByteArray& b, double v)
{
    quint64 bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    put32(b, static_cast<quint32>(bits));
    put32(b, static_cast<quint32>(bits >> 32));
}

void set32(QByteArray& b, qsizetype at, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

void putRecord(QByteArray& out, quint16 id, const QByteArray& body)
{
    Q_ASSERT(body.size() <= kMaxRecordData);
    put16(out, id);
    put16(out, static_cast<quint16>(body.size()));
    out.append(body);
}

bool needsWideChars(const QString& text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() > 0xFF; });
}

void putChars(QByteArray& b, const QString& text, qsizetype from, qsizetype count, bool wide)
{
    for (qsizetype i = from; i < from + count; ++i) {
        const char16_t c = text.at(i).unicode();
        if (wide)
            put16(b, c);
        else
            put8(b, static_cast<quint8>(c));
    }
}

// A string with a one-byte length, as fonts and sheet names carry it.
void putShortString(QByteArray& b, const QString& text)
{
    const bool wide = needsWideChars(text);
    put8(b, static_cast<quint8>(text.size()));
    put8(b, wide ? 1 : 0);
    putChars(b, text, 0, text.size(), wide);
}

QByteArray bof(quint16 substream)
{
    QByteArray b;
    put16(b, 0x0600); // this format's version
    put16(b, substream);
    put16(b, 0x0DBB); // build
    put16(b, 0x07CC); // year
    put32(b, 0);      // file history
    put32(b, 0x0006); // lowest version that can read it
    return b;
}

QByteArray font(bool bold)
{
    QByteArray b;
    put16(b, 200);              // height in twips: 10 points
    put16(b, 0);                // attributes
    put16(b, 0x7FFF);           // automatic colour
    put16(b, bold ? 700 : 400); // weight
    put16(b, 0);                // no super- or subscript
    put8(b, 0);                 // no underline
    put8(b, 0);                 // family
    put8(b, 162);               // character set: Turkish
    put8(b, 0);
    putShortString(b, QStringLiteral("Arial"));
    return b;
}

QByteArray styleXf(quint16 fontIndex, quint8 usedAttributes)
{
    QByteArray b;
    put16(b, fontIndex);
    put16(b, kFormatGeneral);
    put16(b, 0xFFF5); // locked, a style format, no parent
    put8(b, 0x20);    // bottom aligned
    put8(b, 0);
    put8(b, 0);
    put8(b, usedAttributes);
    put32(b, 0); // no borders
    put32(b, 0);
    put16(b, 0x20C0); // automatic pattern colours
    return b;
}

QByteArray cellXf(quint16 fontIndex, quint16 format, quint8 usedAttributes)
{
    QByteArray b;
    put16(b, fontIndex);
    put16(b, format);
    put16(b, 0x0001); // locked, parent: the Normal style
    put8(b, 0x20);
    put8(b, 0);
    put8(b, 0);
    put8(b, usedAttributes);
    put32(b, 0);
    put32(b, 0);
    put16(b, 0x20C0);
    return b;
}

QByteArray window1()
{
    QByteArray b;
    put16(b, 0x0168); // position and size in twips
    put16(b, 0x001E);
    put16(b, 0x4000);
    put16(b, 0x2000);
    put16(b, 0x0038); // horizontal and vertical scroll bars, sheet tabs
    put16(b, 0);      // active sheet
    put16(b, 0);      // first visible tab
    put16(b, 1);      // selected tabs
    put16(b, 0x0258); // tab bar width ratio
    return b;
}

QByteArray window2()
{
    QByteArray b;
    put16(b, 0x06B6); // grid lines, headings, zeros, automatic colour, outline, selected, active
    put16(b, 0);      // top row
    put16(b, 0);      // left column
    put32(b, 0x40);   // automatic grid line colour
    put16(b, 0);      // zoom factors: default
    put16(b, 0);
    put32(b, 0);
    return b;
}

// The shared string table: every text cell refers to its string by index.
class SharedStrings {
public:
    quint32 add(const QString& text)
    {
        ++m_total;
        auto it = m_index.constFind(text);
        if (it != m_index.cend())
            return *it;
        const quint32 index = static_cast<quint32>(m_strings.size());
        m_index.insert(text, index);
        m_strings.append(text);
        return index;
    }

    bool isEmpty() const { return m_strings.isEmpty(); }

    // Appends the table and its lookup index to `out`, which holds the stream from its start.
    // A record that fills up goes on in a continuation record; a string never splits inside its
    // length and flags, nor inside a character, and its continued part repeats the flags byte.
    void write(QByteArray& out) const
    {
        const qsizetype unique = m_strings.size();
        const quint16 perBucket = static_cast<quint16>(std::max<qsizetype>(8, unique / 128 + 1));
        struct BucketStart {
            quint32 streamPos;
            quint16 recordOffset;
        };
        QVector<BucketStart> buckets;

        quint16 recordId = kSst;
        QByteArray body;
        put32(body, m_total);
        put32(body, static_cast<quint32>(unique));
        auto flush = [&] {
            putRecord(out, recordId, body);
            body.clear();
            recordId = kContinue;
        };

        for (qsizetype i = 0; i < unique; ++i) {
            const QString& text = m_strings[i];
            const bool wide = needsWideChars(text);
            const int charSize = wide ? 2 : 1;
            if (body.size() + 3 + (text.isEmpty() ? 0 : charSize) > kMaxRecordData)
                flush();
            if (i % perBucket == 0)
                buckets.append(
                    {static_cast<quint32>(out.size() + 4 + body.size()), static_cast<quint16>(4 + body.size())});
            put16(body, static_cast<quint16>(text.size()));
            put8(body, wide ? 1 : 0);
            qsizetype done = 0;
            while (done < text.size()) {
                qsizetype room = (kMaxRecordData - body.size()) / charSize;
                if (room == 0) {
                    flush();
                    put8(body, wide ? 1 : 0);
                    room = (kMaxRecordData - 1) / charSize;
                }
                const qsizetype count = std::min(room, text.size() - done);
                putChars(body, text, done, count, wide);
                done += count;
            }
        }
        flush();

        QByteArray ext;
        put16(ext, perBucket);
        for (const BucketStart& bucket : buckets) {
            put32(ext, bucket.streamPos);
            put16(ext, bucket.recordOffset);
            put16(ext, 0);
        }
        putRecord(out, kExtSst, ext);
    }

private:
    QHash<QString, quint32> m_index;
    QStringList m_strings;
    quint32 m_total = 0;
};

QString sheetNameFor(const QString& requested)
{
    QString name = requested;
    for (QChar& c : name) {
        if (QStringLiteral("[]:*?/\\").contains(c))
            c = QLatin1Char('_');
    }
    name = name.left(31);
    if (name.trimmed().isEmpty())
        name = QStringLiteral("Sayfa1");
    return name;
}

double daysSinceExcelEpoch(const QDate& date)
{
    return static_cast<double>(QDate(1899, 12, 30).daysTo(date));
}

void putCellHeader(QByteArray& b, int row, int column, quint16 xf)
{
    put16(b, static_cast<quint16>(row));
    put16(b, static_cast<quint16>(column));
    put16(b, xf);
}

void putNumberCell(QByteArray& out, int row, int column, quint16 xf, double value)
{
    QByteArray b;
    putCellHeader(b, row, column, xf);
    putDouble(b, value);
    putRecord(out, kNumber, b);
}

bool isNumber(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        return true;
    default:
        return false;
    }
}

// Appends one cell's record; an empty cell has none.
void putCell(QByteArray& out, SharedStrings& strings, int row, int column, const QVariant& value, quint16 textXf)
{
    if (!value.isValid() || value.isNull())
        return;
    if (isNumber(value)) {
        putNumberCell(out, row, column, kXfCell, value.toDouble());
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Bool: {
        QByteArray b;
        putCellHeader(b, row, column, kXfCell);
        put8(b, value.toBool() ? 1 : 0);
        put8(b, 0); // a Boolean, not an error
        putRecord(out, kBoolErr, b);
        return;
    }
    case QMetaType::QDate:
        putNumberCell(out, row, column, kXfDate, daysSinceExcelEpoch(value.toDate()));
        return;
    case QMetaType::QDateTime: {
        const QDateTime when = value.toDateTime();
        const double day = daysSinceExcelEpoch(when.date()) + when.time().msecsSinceStartOfDay() / 86400000.0;
        putNumberCell(out, row, column, kXfDateTime, day);
        return;
    }
    default:
        break;
    }
    const QString text = value.toString().left(kMaxTextLength);
    if (text.isEmpty())
        return;
    QByteArray b;
    putCellHeader(b, row, column, textXf);
    put32(b, strings.add(text));
    putRecord(out, kLabelSst, b);
}

QByteArray workbookStream(const QString& sheetName, const QStringList& header, const QVector<QVector<QVariant>>& rows)
{
    qsizetype columnCount = header.size();
    for (const auto& row : rows)
        columnCount = std::max(columnCount, row.size());
    const qsizetype rowCount = rows.size() + (header.isEmpty() ? 0 : 1);
    if (rowCount > kMaxRows)
        throw std::invalid_argument("Excel sayfası en çok 65536 satır alabilir");
    if (columnCount > kMaxColumns)
        throw std::invalid_argument("Excel sayfası en çok 256 sütun alabilir");

    // The sheet's cells first: they fill the shared string table.
    SharedStrings strings;
    QByteArray cells;
    int rowNumber = 0;
    if (!header.isEmpty()) {
        for (int c = 0; c < header.size(); ++c)
            putCell(cells, strings, rowNumber, c, header[c], kXfHeader);
        ++rowNumber;
    }
    for (const auto& row : rows) {
        for (int c = 0; c < row.size(); ++c)
            putCell(cells, strings, rowNumber, c, row[c], kXfCell);
        ++rowNumber;
    }

    QByteArray out;
    putRecord(out, kBof, bof(0x0005));
    {
        QByteArray b;
        put16(b, 1200); // texts are UTF-16
        putRecord(out, kCodePage, b);
    }
    putRecord(out, kWindow1, window1());
    {
        QByteArray b;
        put16(b, 0); // dates count from 1900
        putRecord(out, kDateMode, b);
    }
    // Fonts 0-3, then 5 (the index 4 does not exist in this format): the bold one of the header.
    for (int i = 0; i < 4; ++i)
        putRecord(out, kFont, font(false));
    putRecord(out, kFont, font(true));
    constexpr quint16 kBoldFont = 5;

    putRecord(out, kXf, styleXf(0, 0x00));
    for (int i = 1; i < 15; ++i)
        putRecord(out, kXf, styleXf(i <= 2 ? 1 : (i <= 4 ? 2 : 0), 0xF4));
    putRecord(out, kXf, cellXf(0, kFormatGeneral, 0x00));
    putRecord(out, kXf, cellXf(0, kFormatDate, 0x04)); // number format differs from the style
    putRecord(out, kXf, cellXf(0, kFormatDateTime, 0x04));
    putRecord(out, kXf, cellXf(kBoldFont, kFormatGeneral, 0x08)); // font differs from the style
    {
        QByteArray b;
        put16(b, 0x8000); // built-in style on format 0
        put8(b, 0);       // "Normal"
        put8(b, 0xFF);
        putRecord(out, kStyle, b);
    }
    qsizetype sheetPositionAt = 0;
    {
        QByteArray b;
        put32(b, 0); // the sheet's stream position, filled in below
        put8(b, 0);  // visible
        put8(b, 0);  // a worksheet
        putShortString(b, sheetNameFor(sheetName));
        sheetPositionAt = out.size() + 4;
        putRecord(out, kBoundSheet, b);
    }
    if (!strings.isEmpty())
        strings.write(out);
    putRecord(out, kEof, {});

    set32(out, sheetPositionAt, static_cast<quint32>(out.size()));
    putRecord(out, kBof, bof(0x0010));
    for (int c = 0; c < columnCount; ++c) {
        QByteArray b;
        const qsizetype chars = c < header.size() ? header[c].size() : 0;
        put16(b, static_cast<quint16>(c));
        put16(b, static_cast<quint16>(c));
        put16(b, static_cast<quint16>(std::clamp<qsizetype>(chars + 3, 10, 60) * 256));
        put16(b, kXfCell);
        put16(b, 0);
        put16(b, 0);
        putRecord(out, kColInfo, b);
    }
    {
        QByteArray b;
        put32(b, 0);
        put32(b, static_cast<quint32>(rowCount));
        put16(b, 0);
        put16(b, static_cast<quint16>(columnCount));
        put16(b, 0);
        putRecord(out, kDimension, b);
    }
    out.append(cells);
    putRecord(out, kWindow2, window2());
    putRecord(out, kEof, {});
    return out;
}

// Compound document container.
constexpr int kSectorSize = 512;
constexpr int kIdsPerSector = kSectorSize / 4;
constexpr int kHeaderFatSlots = 109;
constexpr quint32 kFreeSector = 0xFFFFFFFF;
constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr quint32 kFatSector = 0xFFFFFFFD;
constexpr quint32 kDifatSector = 0xFFFFFFFC;
constexpr quint32 kNoEntry = 0xFFFFFFFF;
constexpr int kMiniStreamCutoff = 4096; // smaller streams would live in the mini stream

void putDirectoryEntry(QByteArray& b, const QString& name, quint8 type, quint32 child, quint32 start, quint32 size)
{
    const qsizetype from = b.size();
    for (QChar c : name)
        put16(b, c.unicode());
    if (!name.isEmpty())
        put16(b, 0);
    b.append(QByteArray(64 - (b.size() - from), '\0'));
    put16(b, static_cast<quint16>(name.isEmpty() ? 0 : (name.size() + 1) * 2));
    put8(b, type);
    put8(b, type == 0 ? 0 : 1); // black in the red-black tree
    put32(b, kNoEntry);         // left sibling
    put32(b, kNoEntry);         // right sibling
    put32(b, child);
    b.append(QByteArray(16 + 4 + 8 + 8, '\0')); // class id, state bits, times
    put32(b, start);
    put32(b, size);
    put32(b, 0);
}

QByteArray compoundDocument(QByteArray stream)
{
    if (stream.size() < kMiniStreamCutoff)
        stream.append(QByteArray(kMiniStreamCutoff - stream.size(), '\0'));
    const quint32 streamSize = static_cast<quint32>(stream.size());
    const quint32 streamSectors = (streamSize + kSectorSize - 1) / kSectorSize;
    stream.append(QByteArray(streamSectors * kSectorSize - streamSize, '\0'));

    // The FAT must cover every sector, its own and those of the extra FAT list included.
    quint32 fatSectors = 1;
    quint32 difatSectors = 0;
    for (;;) {
        const quint32 total = streamSectors + 1 + fatSectors + difatSectors;
        const quint32 needFat = (total + kIdsPerSector - 1) / kIdsPerSector;
        const quint32 needDifat =
            needFat > kHeaderFatSlots ? (needFat - kHeaderFatSlots + kIdsPerSector - 2) / (kIdsPerSector - 1) : 0;
        if (needFat == fatSectors && needDifat == difatSectors)
            break;
        fatSectors = needFat;
        difatSectors = needDifat;
    }
    const quint32 directorySector = streamSectors;
    const quint32 firstFatSector = directorySector + 1;
    const quint32 firstDifatSector = firstFatSector + fatSectors;

    QByteArray header;
    header.append("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    header.append(QByteArray(16, '\0')); // class id
    put16(header, 0x003E);               // minor version
    put16(header, 0x0003);               // major version: 512-byte sectors
    put16(header, 0xFFFE);               // little-endian
    put16(header, 9);                    // sector size 2^9
    put16(header, 6);                    // mini sector size 2^6
    header.append(QByteArray(6, '\0'));
    put32(header, 0); // directory sector count (unused in version 3)
    put32(header, fatSectors);
    put32(header, directorySector);
    put32(header, 0); // transactions
    put32(header, kMiniStreamCutoff);
    put32(header, kEndOfChain); // no mini FAT
    put32(header, 0);
    put32(header, difatSectors ? firstDifatSector : kEndOfChain);
    put32(header, difatSectors);
    for (quint32 i = 0; i < kHeaderFatSlots; ++i)
        put32(header, i < fatSectors ? firstFatSector + i : kFreeSector);

    QByteArray directory;
    putDirectoryEntry(directory, QStringLiteral("Root Entry"), 5, 1, kEndOfChain, 0);
    putDirectoryEntry(directory, QStringLiteral("Workbook"), 2, kNoEntry, 0, streamSize);
    putDirectoryEntry(directory, {}, 0, kNoEntry, 0, 0);
    putDirectoryEntry(directory, {}, 0, kNoEntry, 0, 0);

    QByteArray fat;
    fat.reserve(fatSectors * kSectorSize);
    for (quint32 s = 0; s < streamSectors; ++s)
        put32(fat, s + 1 < streamSectors ? s + 1 : kEndOfChain);
    put32(fat, kEndOfChain); // directory
    for (quint32 s = 0; s < fatSectors; ++s)
        put32(fat, kFatSector);
    for (quint32 s = 0; s < difatSectors; ++s)
        put32(fat, kDifatSector);
    while (fat.size() < static_cast<qsizetype>(fatSectors) * kSectorSize)
        put32(fat, kFreeSector);

    QByteArray difat;
    for (quint32 d = 0; d < difatSectors; ++d) {
        for (quint32 i = 0; i < kIdsPerSector - 1; ++i) {
            const quint32 fatIndex = kHeaderFatSlots + d * (kIdsPerSector - 1) + i;
            put32(difat, fatIndex < fatSectors ? firstFatSector + fatIndex : kFreeSector);
        }
        put32(difat, d + 1 < difatSectors ? firstDifatSector + d + 1 : kEndOfChain);
    }

    QByteArray file;
    file.reserve(header.size() + stream.size() + directory.size() + fat.size() + difat.size());
    file.append(header);
    file.append(stream);
    file.append(directory);
    file.append(fat);
    file.append(difat);
    return file;
}

} // namespace

void writeXls(const QString& path, const QString& sheetName, const QStringList& header,
              const QVector<QVector<QVariant>>& rows)
{
    const QByteArray bytes = compoundDocument(workbookStream(sheetName, header, rows));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error(
            QStringLiteral("%1 dosyası yazılamıyor: %2").arg(path, file.errorString()).toStdString());
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw std::runtime_error(
            QStringLiteral("%1 dosyası yazılamıyor: %2").arg(path, file.errorString()).toStdString());
}

} // namespace velmora
