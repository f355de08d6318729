// The project file (.vlm): the writer of the current layout and the reader of
// the current and the older layout, as plain functions over the document and
// the few control values the file also holds.  No widget is touched here; the
// Open and Save commands copy these values to and from the window.
#pragma once

#include "document/Document.h"
#include "map/CoordinateMenu.h"
#include "map/MarkerPlacement.h"
#include "map/Registration.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

// The window values stored in the project file besides the document.
struct ProjectControls {
    // Writing: the texts of the colour-scale limit boxes as typed; their
    // value is what is written.  Reading: the values read, in general form.
    QString txtMin;
    QString txtMax;
    // The data kind chosen by the three kind options; none chosen: empty.
    std::optional<DataKind> kind;
};

// The line that names the data kind.
QString dataKindLine(std::optional<DataKind> kind);
// The kind a data-kind line names, by its first letter; empty for none.
std::optional<DataKind> dataKindOf(const QString& line);

// The whole project file in the current layout, CR LF line ends, in the
// code page or, when its text needs it, UTF-8 (legacy::encodeText).
// Under a projection each point is written as latitude/longitude through the
// inverse projection (which may set doc.ProjectionFailed; nothing else of the
// document changes).  Throws legacy::Error when a value cannot be written
// (a non-finite number).
QByteArray writeProjectFile(Document& doc, const ProjectControls& controls);

// How far reading a project file got, so that the Open command can apply to
// the window what was read even when a later line failed.
struct ProjectReadState {
    // Given by the caller: every count and row must read as numbers and
    // every table to its last row, or the reading throws (a second data set
    // is taken whole or not at all).  Otherwise a table ends quietly.
    bool strictTables = false;
    bool limitsRead = false;        // line 4 read: controls.txtMin/txtMax, projectionItem
    bool olderLayout = false;
    QString projectionItem;
    // The Coordinates menu clicks that restore the stored system, in order.
    // The reader has already applied them to doc.ProjectionName/CoordUnits
    // the way the menu handlers do.
    std::vector<CoordItem> coordClicks;
    bool registrationRead = false;  // origins and reference values read, cone constants computed
    // How the map units of a project saved with the Mercators' earlier
    // scales were changed on reading; positions kept in map units beside
    // the project (the labels) need the same factors.
    MapUnitFactors unitFactors;
    bool kindRead = false;          // data-kind line read: controls.kind
    bool countsRead = false;        // counts line read (the tables follow)
    int declaredDatCount = 0;       // the counts as the counts line gives them
    int declaredConCount = 0;
    ProjectControls controls;
};

// Reads a project file into a document that the caller has reset.  Lines 1
// to 9 must all read: a failure there throws legacy::Error, and what was read
// before it stays in the document and in `state`.  A table ends quietly at
// its first row that cannot be read completely; its count becomes the number
// of rows read.  Latitude/longitude rows are converted to map units; with
// `rowSystem` given, every row of the current layout is converted with that
// document's projection instead of the file's own (a second data set is
// taken to be in the coordinate system of the open document).
void readProjectFile(const QByteArray& bytes, Document& doc, ProjectReadState& state,
                     Document* rowSystem = nullptr);
