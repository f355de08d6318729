// Commands of the main window for importing points from column text files
// through the column dialog: File > Import > Data.
#pragma once

#include "exchange/ImportParser.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <unordered_map>

class MainWindow;

class ImportCommands : public QObject {
    Q_OBJECT
public:
    explicit ImportCommands(MainWindow& w);

    // The whole command: open dialog, column dialog, reading, appending and
    // the completion of the window.
    void mnuFileImportData_Click();

    // How the records of one import are appended.
    struct AppendOptions {
        bool datum = true;          // datum points, else contour points
        bool contact = false;       // contact data
        QString designator;         // the contact designator typed, if any
        bool designatorSet = false; // a designator was typed
    };

    // Appends one record as a point of the document with its marker
    // (placed by the next MapReplot).  Throws legacy::Error ("Overflow")
    // beyond 32767 points of one kind, and a position the map cannot hold,
    // named with the record's `line`; either changes nothing.
    void appendRecord(const importer::Record& r, AppendOptions& options, int line);
    // Brings the window up to date after the records were appended.
    void completeImport();

private:
    void showFailure(const QString& description);
    void forgetNumbers() { m_nextNumber.clear(); m_numbersKnown = false; }

    MainWindow& w;
    // The largest point number of each contact among the datum points, so
    // that numbering an imported contact point does not rescan the list.
    std::unordered_map<float, int32_t> m_nextNumber;
    bool m_numbersKnown = false;
};
