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
// OtherStructural.  Rows are converted with doc's projection.  The reading is
// strict: a count or row field that is not a number, or a table cut short,
// throws legacy::Error naming the failure, and then nothing of the second set
// held before has changed.  OtherDataOpen is left to the caller.
void readSecondDataSet(const QByteArray& bytes, Document& doc);

// Tool tip of a Combine Data button (0: "-", 1: "+").
QString combineToolTip(bool plottedIsopachs, bool otherStructural, int button);

} // namespace seconddata
