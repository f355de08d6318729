// Reading a second project file's points as the second data set, in the
// coordinate system of the open document, and the wording of the Combine
// Data buttons that follows from the two data kinds.
#pragma once

#include "document/Document.h"

#include <QByteArray>
#include <QString>

namespace seconddata {

// Reads the data-kind line, the counts and the two point tables of a project
// file into doc.OtherPoints, OtherDatCount, OtherConCount, OtherCount and
// OtherStructural.  Rows are converted with doc's projection.  Throws
// legacy::Error when the file is not read to its last expected row; what was
// read before the failure stays in the document.  OtherDataOpen is left to
// the caller.
void readSecondDataSet(const QByteArray& bytes, Document& doc);

// Tool tip of a Combine Data button (0: "-", 1: "+").
QString combineToolTip(bool plottedIsopachs, bool otherStructural, int button);

} // namespace seconddata
