#include "exchange/ImportCommands.h"

#include "app/MainWindow.h"
#include "app/WindowStates.h"
#include "document/Legacy.h"
#include "digitize/PointRecords.h"
#include "exchange/ColumnDialog.h"
#include "exchange/Combination.h"
#include "map/MapView.h"
#include "platform/Dialogs.h"
#include "platform/FileService.h"

#include <QLineEdit>
#include <algorithm>
#include <optional>

namespace {

constexpr long DatumImportColor = 0xFF00FF;   // magenta
constexpr long ContourImportColor = 0x00FF00; // green

} // namespace

ImportCommands::ImportCommands(MainWindow& main) : QObject(&main), w(main) {
    connect(w.mnuFileImportData, &QAction::triggered, this, &ImportCommands::mnuFileImportData_Click);
}

void ImportCommands::showFailure(const QString& description) {
    dlg::msgBox(QStringLiteral("Error importing data: ") + description, {dlg::Buttons::OK, dlg::Icon::Exclamation},
                w.app.ProgramTitle);
}

void ImportCommands::mnuFileImportData_Click() {
    Document& doc = w.doc;
    dlg::CommonDialog cd;
    cd.CancelError = true;
    cd.DialogTitle = QStringLiteral("Import Data");
    cd.FileName = doc.ImportFile;
    cd.Flags = 0x1000;
    cd.Filter = QStringLiteral("All Files|*.*|");
    if (!dlg::showOpen(cd)) return;

    w.setBusyPointers(true);
    MainWindow::DoEvents();
    forgetNumbers();
    const int oldDatCount = doc.DatCount;
    const int oldConCount = doc.ConCount;
    const size_t oldDatSize = doc.DatumPoints.size();
    const size_t oldConSize = doc.ContourPoints.size();
    bool reading = false;
    std::optional<WindowStates> before;
    try {
        doc.ImportFile = cd.FileName;
        doc.ImportOrder.clear();
        ColumnDialog& d = ColumnDialog::frmImEx(w);
        d.prepareImportFace(FileService::SplitPath(doc.ImportFile, false), w.optRock->isEnabled(),
                            w.optStruc->isEnabled(), w.optIso->isEnabled());
        d.ShowFile();
        w.setBusyPointers(false);
        d.showModal();
        if (doc.ImportOrder.isEmpty()) return;
        // What the dialog says, read before events run again.
        const QString code = doc.ImportOrder;
        const QString head = d.txtHead->text();
        const QString last = d.txtLine->text();
        const bool tabMode = d.optTab->isChecked();
        AppendOptions options;
        options.datum = d.optPointDat->isChecked();
        options.contact = d.optRock->isChecked();
        const bool structural = d.optStruc->isChecked();

        w.setBusyPointers(true);
        MainWindow::DoEvents();
        // A code outside the table names no coordinate column to read: it
        // would append points at 0, 0.  Refuse it before anything changes.
        if (!importer::isAcceptedCode(code))
            throw legacy::Error(legacy::ErrorCode::Custom,
                                QStringLiteral("The column order \"%1\" cannot be imported. Choose one "
                                               "Latitude/Northing and one Longitude/Easting column.")
                                    .arg(code));
        const int header = importer::headerLines(head);
        const int lineCount = importer::lineCount(last, header);

        // From here the import changes the window; a failed reading puts it
        // back as it was, with the points.
        before.emplace(w);
        if (options.contact) {
            w.optRock->setEnabled(true);
            w.optRock->setValue(true);
            w.optStruc->setEnabled(false);
            w.optIso->setEnabled(false);
            if (!code.contains(u'z')) {
                options.designator = dlg::inputBox(QStringLiteral("Enter a contact designator number for these data"),
                                                   w.app.ProgramTitle, QString());
                options.designatorSet = !options.designator.isEmpty();
            }
        } else if (structural) {
            w.optRock->setEnabled(false);
            w.optStruc->setEnabled(true);
            w.optStruc->setValue(true);
            w.optIso->setEnabled(false);
        } else {
            w.optRock->setEnabled(false);
            w.optStruc->setEnabled(false);
            w.optIso->setEnabled(true);
            w.optIso->setValue(true);
        }

        reading = true;
        const importer::TextLines lines = importer::TextLines::fromFile(doc.ImportFile);
        importer::RecordReader reader(lines, code,
                                      tabMode ? importer::RecordReader::Mode::Stream
                                              : importer::RecordReader::Mode::Comma);
        if (header > 0) reader.skipLines(header);
        // Blank lines hold no record: a blank line at the end of the file is
        // no record the file lacks.
        const int records = std::min(reader.dataLinesAhead(lineCount), importer::MaxRecords);
        const auto formatError = [this] {
            dlg::msgBox(QStringLiteral("Data format error"), {dlg::Buttons::OK, dlg::Icon::Information},
                        w.app.ProgramTitle);
        };
        for (int i = 1; i <= records; ++i) {
            if (reader.atEnd()) {
                formatError();
                break;
            }
            int missing = 0;
            const importer::Record r = reader.read(missing);
            for (int m = 0; m < missing; ++m) formatError();
            appendRecord(r, options, reader.linesRead());
        }
        reading = false;
        // What the limit kept out of the lines chosen.
        const int read = reader.linesRead();
        const int rangeEnd = int(std::min<long long>(static_cast<long long>(header) + lineCount, lines.count()));
        const int left = std::max(0, rangeEnd - read);
        const bool cut = records == importer::MaxRecords && reader.dataLinesAhead(left) > 0;
        completeImport();
        if (cut) {
            // Say so, or the user takes half a file for the whole.
            dlg::msgBox(QStringLiteral("Only the first %1 points were imported, the most one import takes: "
                                       "%2 lines were read and %3 lines were left.")
                            .arg(records)
                            .arg(read)
                            .arg(left),
                        {dlg::Buttons::OK, dlg::Icon::Information}, w.app.ProgramTitle);
        }
    } catch (const legacy::Error& e) {
        if (reading) {
            // A failed reading takes back the points it appended and the
            // data kind it fixed, so the document and the window are as they
            // were before the import.
            while (w.markers->labDat.count() > oldDatCount) w.markers->labDat.unloadLast();
            while (w.markers->labCon.count() > oldConCount) w.markers->labCon.unloadLast();
            doc.DatCount = oldDatCount;
            doc.ConCount = oldConCount;
            doc.DatumPoints.resize(oldDatSize);
            doc.ContourPoints.resize(oldConSize);
            if (before) before->restore();
        }
        showFailure(e.description());
    }
    forgetNumbers();
    w.setBusyPointers(false);
}

void ImportCommands::appendRecord(const importer::Record& r, AppendOptions& o, int line) {
    Document& doc = w.doc;
    float X = r.X;
    float Y = r.Y;
    // A position the map cannot hold fails the reading like any bad field.
    if (auto why = importer::toMapUnits(doc, X, Y))
        throw legacy::Error(legacy::ErrorCode::Custom, *why + QStringLiteral(" in line ") + QString::number(line));
    if (o.datum) {
        if (o.contact && !m_numbersKnown) {
            for (int i = 1; i <= doc.DatCount; ++i) {
                const DataPoint& p = doc.DatumPoints[size_t(i)];
                int32_t& n = m_nextNumber[p.Z];
                n = std::max<int32_t>(n, p.Number);
            }
            m_numbersKnown = true;
        }
        DataPoint& p = points::AppendPoint(doc.DatumPoints, doc.DatCount);
        Marker& m = w.markers->labDat.load(doc.DatCount);
        m.ForeColor = DatumImportColor;
        p.Z = o.designatorSet ? legacy::NumVal(o.designator) : r.Z;
        p.X = X;
        p.Y = Y;
        if (o.contact) {
            // The number within the contact: one more than the largest among
            // the earlier points of the same designator.
            int32_t& last = m_nextNumber[p.Z];
            p.Number = legacy::ToInteger(static_cast<long long>(last) + 1);
            last = p.Number;
        } else {
            p.Number = legacy::ToInteger(doc.DatCount);
        }
    } else {
        DataPoint& p = points::AppendPoint(doc.ContourPoints, doc.ConCount);
        Marker& m = w.markers->labCon.load(doc.ConCount);
        m.ForeColor = ContourImportColor;
        p.Z = r.Z;
        p.X = X;
        p.Y = Y;
        p.Number = legacy::ToInteger(doc.ConCount);
    }
}

void ImportCommands::completeImport() {
    Document& doc = w.doc;
    forgetNumbers();
    try {
        // The project's name without its ".vlm"; a name too short to have
        // one leaves it empty rather than failing the import.
        const QString name = FileService::SplitPath(doc.DataFileName, false);
        w.setDocumentCaption(name.left(std::max<qsizetype>(0, name.size() - 4)) + QStringLiteral(" (Imported - ") +
                             FileService::SplitPath(doc.ImportFile, false) + QStringLiteral(")"));
        w.enableSaving();
        w.enablePrinting();
        const std::initializer_list<QWidget*> plotControls{w.labCond, w.txtConDet, w.VScroll2, w.chkMan, w.chkLines};
        if (static_cast<long long>(doc.DatCount) + doc.ConCount > 0) {
            w.mnuFileOpenDat->setEnabled(true);
            w.cmdConRun->setEnabled(true);
            w.cmdShow->setEnabled(true);
            w.mnuViewShow->menuAction()->setEnabled(true);
            for (QWidget* c : std::initializer_list<QWidget*>{w.optLo, w.optMed, w.optHi}) c->setEnabled(true);
            const float hi = legacy::NumVal(w.txtMax->text());
            const float lo = legacy::NumVal(w.txtMin->text());
            if (w.optRock->isChecked() || hi == 0 || lo == 0 || hi == lo) {
                combination::rescanRange(doc);
                w.txtMax->setText(legacy::GeneralText(doc.ZMax));
                w.txtMin->setText(legacy::GeneralText(doc.ZMin));
            }
            if (!w.optRock->isChecked()) {
                for (QWidget* c : plotControls) c->setEnabled(true);
                w.txtConDet->setText(QString::number(doc.ContourDetail));
                if (w.chkMan->isChecked())
                    for (QWidget* c : std::initializer_list<QWidget*>{w.txtMax, w.txtMin, w.labMax, w.labMin})
                        c->setEnabled(true);
            }
        } else {
            w.mnuFileOpenDat->setEnabled(false);
            w.cmdConRun->setEnabled(false);
            w.cmdShow->setEnabled(false);
            w.mnuViewShow->menuAction()->setEnabled(false);
            for (QWidget* c : plotControls) c->setEnabled(false);
            for (QWidget* c : std::initializer_list<QWidget*>{w.optLo, w.optMed, w.optHi}) c->setEnabled(false);
        }
        doc.ContactShown = QStringLiteral("All");
        w.mnuViewShowContactShow->setText(QStringLiteral("Show (") + doc.ContactShown + QStringLiteral(")..."));
        w.mapView->MapReplot();
        doc.DataChanged = true;
        doc.ContoursCurrent = false;
    } catch (const legacy::Error& e) {
        showFailure(e.description());
    }
}
