// Reads the records of a label file: groups of ten items (text, X, Y, bold,
// colour, italic, font name, size, strike-through, underline) in the old
// item syntax, where a record may run across lines and the flags are written
// #TRUE# or #FALSE#.
#pragma once

#include "document/Document.h"
#include "document/Legacy.h"

#include <QString>
#include <optional>
#include <vector>

struct LabelRecords {
    // Every record read completely, in file order.
    std::vector<MapLabel> labels;
    // The error that ended the reading early, if one did; the record it
    // broke off is not among `labels`.
    std::optional<legacy::Error> error;
};

// Reads records until the end of `text` or the first item that cannot be
// read or converted.
LabelRecords readLabelRecords(const QString& text);
