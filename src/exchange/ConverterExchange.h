// The files exchanged with the outside coordinate converter: the input file
// of the plotted points, the converter's output read back, and the result
// table written from it.  Plain functions; no widget or process here.
#pragma once

#include "document/Document.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace converter {

// The converter's own files, in its folder.
inline const QString InputFileName = QStringLiteral("Data-in.dat");
inline const QString OutputFileName = QStringLiteral("DATA-OUT.DAT");
inline const QString ProgramFileName = QStringLiteral("corpscon.exe");
// Records the result table holds at most.
constexpr int MaxRecords = 2000;

// One comma line per point (number, X, Y, Z as stored, in plain decimals),
// datum points first.
QByteArray inputFileText(const Document& doc);

// The records read from the converter's output: the first and second
// coordinate and the value of each, as texts already formatted "0.00000",
// "0.00000" and "0.000000" (a field that is no number is kept as read).
struct Records {
    QStringList first, second, value;
};
// Skips eight leading fields, then reads `count` records of four fields.
// Throws legacy::Error when the output is short or `count` exceeds the room
// of the tables.
Records readOutput(const QByteArray& bytes, int count);

// The result table: title, heading, and one row per record with the
// lat-long ("0.0000") or the metre/feet ("0.0") coordinate format.
QByteArray resultFileText(const QString& title, const Records& records, bool latLong);

} // namespace converter
