#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

namespace velmora::server {

class Storage;

// One report request of the representative desk.
struct ReportRequest {
    qint32 number = 0;      // 6: account summary (one account) or receivables by due date (account 0);
                            // 7: purchases and sales of one account over a period
    qint32 account = 0;     // CARINO, 0: every account of the representative
    QString representative; // representative's name or his user name; "." or empty: everyone
    QDate from;
    QDate to;
};

// Renders the report as a PDF document (A4). The document's title names the report and its
// dates. Throws CallError 400 for an unknown report, an unknown account or a period that ends
// before it starts.
QByteArray renderReport(Storage& storage, const ReportRequest& request);

} // namespace velmora::server
