#pragma once

#include <QString>
#include <QVector>

#include <utility>

namespace velmora {

// A small INI file: "[section]" headers and "key=value" lines in UTF-8, keys compared without
// case. Saved atomically and readable only by the user. Booleans are written as 1 and 0.
class IniFile {
public:
    explicit IniFile(const QString& path);

    bool exists() const;
    QString readString(const QString& section, const QString& key, const QString& defaultValue = {}) const;
    bool readBool(const QString& section, const QString& key, bool defaultValue) const;
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeBool(const QString& section, const QString& key, bool value);
    // Writes the file; throws std::runtime_error with the reason when it cannot.
    void save() const;

private:
    struct Section {
        QString name;
        QVector<std::pair<QString, QString>> entries;
    };
    const QString* find(const QString& section, const QString& key) const;

    QString m_path;
    QVector<Section> m_sections;
};

} // namespace velmora
