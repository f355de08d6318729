// Text of the data export files: the grid file and the point file with its
// optional header, in the column order, delimiter and number formats the
// export offers.  Plain functions over the document; no widget is touched.
#pragma once

#include "document/Document.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace exportfmt {

// Whether a three-letter column code writes rows ("xyz", "yxz", "zxy",
// "zyx", "xy0", "yx0").
bool isRowCode(const QString& code);

// The grid file of the document's ContourGrid: one print-zone line per node
// the gridding computed, columns 1 to GridCols outside, rows 1 to GridRows
// inside; X, Y and Z formatted "0.0".  On a map in degrees the nodes are
// written as the points are, longitude and latitude with five decimals: the
// projection's map units mean nothing to another program (nor to Import,
// which reads degrees there), and lie far less than a tenth apart.  Nodes
// the gridding did not compute (outside the data window, or not reached),
// or that have no longitude and latitude, are left out: their 0 is no
// value.  CR LF line ends.
QByteArray gridExportText(Document& doc);

// The x (longitude or easting) and y (latitude or northing) a point is
// exported with under the document's projection; false when the inverse
// projection failed for either (its value is then 0).
bool exportedXY(Document& doc, const DataPoint& p, double& x, double& y);

// The choices of one point export.
struct PointExportOptions {
    QString columnOrder;       // the three-letter code
    bool header = false;       // the header block is written
    bool tab = true;           // print-zone rows; false: comma rows
    QString dataText = QStringLiteral("Data");
    bool contacts = false;     // the document holds contact data
    std::optional<QString> contact; // one contact chosen; empty: all contacts
};

// The lines of the header block.  Throws legacy::Error when the project file
// name is too short to give the title.
QStringList headerLines(const Document& doc, const PointExportOptions& o);

// One point row: the values formatted and joined in the chosen delimiter.
// Empty for a code that writes no rows.
QString pointRow(const Document& doc, const PointExportOptions& o, double x, double y, float z);

// The lines of the whole point file (CR LF are added on writing).  Throws
// legacy::Error.
QStringList buildPointExport(Document& doc, const PointExportOptions& o);

} // namespace exportfmt
