#include "ini_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <stdexcept>

namespace velmora {

IniFile::IniFile(const QString& path)
    : m_path(path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    Section* current = nullptr;
    for (const QByteArray& rawLine : file.readAll().split('\n')) {
        QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.startsWith(QChar(0xFEFF)))
            line.remove(0, 1);
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            m_sections.append({line.mid(1, line.size() - 2).trimmed(), {}});
            current = &m_sections.last();
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0 || !current)
            continue;
        current->entries.append({line.left(eq).trimmed(), line.mid(eq + 1).trimmed()});
    }
}

bool IniFile::exists() const
{
    return QFileInfo::exists(m_path);
}

const QString* IniFile::find(const QString& section, const QString& key) const
{
    for (const Section& s : m_sections) {
        if (s.name.compare(section, Qt::CaseInsensitive) != 0)
            continue;
        for (const auto& [k, v] : s.entries) {
            if (k.compare(key, Qt::CaseInsensitive) == 0)
                return &v;
        }
    }
    return nullptr;
}

QString IniFile::readString(const QString& section, const QString& key, const QString& defaultValue) const
{
    const QString* value = find(section, key);
    return value ? *value : defaultValue;
}

bool IniFile::readBool(const QString& section, const QString& key, bool defaultValue) const
{
    const QString* value = find(section, key);
    if (!value)
        return defaultValue;
    bool isNumber = false;
    const int number = value->toInt(&isNumber);
    if (isNumber)
        return number != 0;
    if (value->compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (value->compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    return defaultValue;
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value)
{
    // Line breaks would split the entry; a single line keeps the file readable by any reader.
    QString flat = value;
    flat.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    Section* target = nullptr;
    for (Section& s : m_sections) {
        if (s.name.compare(section, Qt::CaseInsensitive) == 0)
            target = &s;
    }
    if (!target) {
        m_sections.append({section, {}});
        target = &m_sections.last();
    }
    for (auto& [k, v] : target->entries) {
        if (k.compare(key, Qt::CaseInsensitive) == 0) {
            v = flat;
            return;
        }
    }
    target->entries.append({key, flat});
}

void IniFile::writeBool(const QString& section, const QString& key, bool value)
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::save() const
{
    QByteArray text;
    for (const Section& s : m_sections) {
        text += '[' + s.name.toUtf8() + "]\n";
        for (const auto& [k, v] : s.entries)
            text += k.toUtf8() + '=' + v.toUtf8() + '\n';
        text += '\n';
    }
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error(file.errorString().toStdString());
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    file.write(text);
    if (!file.commit())
        throw std::runtime_error(file.errorString().toStdString());
}

} // namespace velmora
