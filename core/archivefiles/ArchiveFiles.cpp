#include "ArchiveFiles.h"

#include <QDate>
#include <QDir>

namespace plax::archive {

QString archiveFolder(const QString& appPath) {
    return appPath + QStringLiteral("Archive");
}

QString archiveFileName(CalDate first) {
    return first.format(QStringLiteral("MMddyyyy")) + QStringLiteral(".mdb");
}

QString archivePath(const QString& appPath, CalDate first) {
    return archiveFolder(appPath) + QLatin1Char('/') + archiveFileName(first);
}

std::vector<ListedArchive> listedArchives(const QString& folder, const CompanySettings& s) {
    const int k = s.DayStartTime.minutes() != 0 ? 7 : 6;
    std::vector<ListedArchive> out;
    const QDir dir(folder);
    for (const QString& name : dir.entryList({QStringLiteral("????????.mdb")}, QDir::Files, QDir::Name)) {
        bool ok = false;
        name.left(8).toInt(&ok);
        if (!ok || name.left(8).contains(QLatin1Char('-')) || name.left(8).contains(QLatin1Char('+')))
            continue;
        // Month and day are counted on from 1 January, as the name was read.
        const QDate q = QDate(name.mid(4, 4).toInt(), 1, 1)
                            .addMonths(name.left(2).toInt() - 1)
                            .addDays(name.mid(2, 2).toInt() - 1);
        if (!q.isValid())
            continue;
        const CalDate d = CalDate::ymd(q.year(), q.month(), q.day());
        out.push_back({dir.filePath(name), d, d.addDays(k)});
    }
    return out;
}

QStringList archiveEntries(const QString& appPath, const CompanySettings& s) {
    QStringList out;
    for (const ListedArchive& a : listedArchives(archiveFolder(appPath), s))
        out << a.first.toShortDate() + QStringLiteral(" --> ") + a.last.toShortDate();
    return out;
}

} // namespace plax::archive
