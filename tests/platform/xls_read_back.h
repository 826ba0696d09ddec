#pragma once

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>

// Reads the first sheet of an .xls file with an independent reader (python3-xlrd) and returns
// {"sheets": n, "name": "...", "rows": [[[type, value], ...], ...], "warnings": "..."}.
// Cell types: 0 empty, 1 text, 2 number, 3 date (value: [y, m, d, h, min, s]), 4 Boolean.
// On failure "error" holds the reader's complaint.
inline QJsonObject readXlsBack(const QString& path)
{
    static const char* script = R"(
import json, sys, xlrd
book = xlrd.open_workbook(sys.argv[1], logfile=sys.stderr)
sheet = book.sheet_by_index(0)
def cell(c):
    if c.ctype == xlrd.XL_CELL_DATE:
        return [c.ctype, list(xlrd.xldate_as_tuple(c.value, book.datemode))]
    return [c.ctype, c.value]
rows = [[cell(c) for c in sheet.row(r)] for r in range(sheet.nrows)]
json.dump({"sheets": book.nsheets, "name": sheet.name, "rows": rows}, sys.stdout)
)";
    // xlrd comes from the distribution's package, so its interpreter comes first.
    const QString interpreter = QFile::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3")
                                                                                  : QStringLiteral("python3");
    QProcess python;
    python.start(interpreter, {QStringLiteral("-c"), QString::fromLatin1(script), path});
    if (!python.waitForFinished(120000))
        return {{QStringLiteral("error"), QStringLiteral("python3 did not finish")}};
    const QString warnings = QString::fromUtf8(python.readAllStandardError());
    if (python.exitStatus() != QProcess::NormalExit || python.exitCode() != 0)
        return {{QStringLiteral("error"), warnings}};
    QJsonObject result = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    result.insert(QStringLiteral("warnings"), warnings);
    return result;
}
