// The label file (.lab): one quoted-field line per text label, and the
// reader that appends labels in groups of ten items.
#pragma once

#include "document/Document.h"

#include <QByteArray>
#include <QString>
#include <vector>

// The label file's path beside a project file: the project's path without
// its last four characters, followed by ".lab".
QString labelFilePath(const QString& DataFileName);

// Lines for labels 1..LabelCount of the document, CR LF line ends, in the
// code page or, when its text needs it, UTF-8 (legacy::encodeText).
// Colours are written as whole numbers.  A double quote inside a text would
// end the quoted field early, so it is written as two single quotes.
QByteArray writeLabelFile(const Document& doc);

// What reading a label file gave: every label whose ten items were read,
// and, when reading stopped before the end, the reason.
struct LabelReadResult {
    std::vector<MapLabel> labels;
    bool failed = false;
    QString errorDescription;
};

// Reads labels until the end of the file.  A label whose items cannot all be
// read ends the reading; it is dropped and the labels before it stay.
// `existingCount` labels are already in the document: the total may not pass
// the 16-bit count limit ("Overflow").  Colours of the old Single form that
// rounded white above the largest colour number are read as white.
LabelReadResult readLabelFile(const QByteArray& bytes, int existingCount = 0);

// Appends labels to the document's array and count.
void appendLabels(Document& doc, const std::vector<MapLabel>& labels);
