#include "exchange/ExportCommands.h"

#include "app/MainWindow.h"
#include "app/Twips.h"
#include "document/Legacy.h"
#include "exchange/ColumnDialog.h"
#include "exchange/Combination.h"
#include "exchange/ConverterExchange.h"
#include "exchange/ExportFormat.h"
#include "exchange/SecondDataSet.h"
#include "map/MapView.h"
#include "platform/Dialogs.h"
#include "platform/FileService.h"
#include "platform/ImagingObject.h"
#include "platform/Printers.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryFile>
#include <QTimer>

using namespace legacy;

namespace {

QString withoutLastFour(const QString& s) { return s.left(s.size() - 4); }

} // namespace

ExportCommands::ExportCommands(MainWindow& main) : QObject(&main), w(main) {
    converterFolder = QCoreApplication::applicationDirPath() + QStringLiteral("/CorpsCon/");

    w.cmdConDat[0]->setText(QStringLiteral("-"));
    w.cmdConDat[1]->setText(QStringLiteral("+"));
    w.cmdConRun->setToolTip(QStringLiteral("Convert data to new scale (e.g., state plane grid to UTM)"));
    w.cmdConSave->setToolTip(QStringLiteral("Save converted data to \".dat\" file"));

    labCalc = new QLabel(QStringLiteral("Calculating..."), w.Frame1);
    labCalc->setObjectName(QStringLiteral("labCalc_1"));
    labCalc->setAutoFillBackground(true);
    labCalc->adjustSize();
    labCalc->setVisible(false);

    m_outputPoll = new QTimer(this);
    m_outputPoll->setInterval(1000);
    connect(m_outputPoll, &QTimer::timeout, this, &ExportCommands::checkConverterOutput);

    connect(w.mnuFileExportData, &QAction::triggered, this, [this] { mnuFileExportData_Click(); });
    connect(w.mnuFileExportMap, &QAction::triggered, this, [this] { mnuFileExportMap_Click(); });
    connect(w.mnuFileOpenDat, &QAction::triggered, this, [this] { mnuFileOpenDat_Click(); });
    connect(w.cmdConDat[0], &QPushButton::clicked, this, [this] { cmdConDat_Click(0); });
    connect(w.cmdConDat[1], &QPushButton::clicked, this, [this] { cmdConDat_Click(1); });
    connect(w.cmdConRun, &QPushButton::clicked, this, [this] { cmdConRun_Click(); });
    connect(w.cmdConSave, &QPushButton::clicked, this, [this] { cmdConSave_Click(); });
}

// ---------------------------------------------------------------------------
// File > Export > Data: the grid while the contour plot is on screen, the
// points otherwise.
void ExportCommands::mnuFileExportData_Click() {
    Document& d = w.doc;
    const auto gridExport = [this] { return w.picMap->isVisible() && !w.optRock->isChecked(); };
    if (d.DataFileName.size() >= 4)
        d.ExportFileName = withoutLastFour(d.DataFileName) +
                           (gridExport() ? QStringLiteral("-Contours.dat") : QStringLiteral(".dat"));

    dlg::CommonDialog cd;
    cd.CancelError = true;
    cd.DialogTitle = QStringLiteral("Export Data");
    cd.FileName = d.ExportFileName;
    cd.Flags = 2;
    cd.Filter = QStringLiteral("Dat Files|*.dat|");
    cd.InitDir = w.DialogInitDir;
    if (!dlg::showSave(cd)) return;
    w.DialogFileName = cd.FileName;
    w.DialogFileTitle = cd.FileTitle;
    d.ExportFileName = cd.FileName;
    d.ColumnOrder.clear();
    if (ExportDataText.isEmpty()) ExportDataText = QStringLiteral("Data");

    const auto failed = [](const Error& e) {
        dlg::msgBox(QStringLiteral("Error exporting data: ") + e.description(),
                    {dlg::Buttons::OK, dlg::Icon::Exclamation});
    };
    if (gridExport()) {
        // A grid that could not be written is reported: saying nothing would
        // leave the user believing the file holds it.
        try {
            writeFileAtomically(d.ExportFileName, exportfmt::gridExportText(d));
        } catch (const Error& e) {
            failed(e);
        }
        return;
    }

    ColumnDialog& f = ColumnDialog::frmImEx(w);
    f.prepareExportFace(FileService::SplitPath(d.ExportFileName, false), ExportDataText);
    f.showModal();
    if (d.ColumnOrder.isEmpty()) return;
    ExportDataText = f.txtLine->text();

    exportfmt::PointExportOptions o;
    o.columnOrder = d.ColumnOrder;
    o.header = f.chkHead->isChecked();
    o.tab = f.optTab->isChecked();
    o.dataText = ExportDataText;
    o.contacts = w.optRock->isChecked();
    if (!d.ContactShown.isEmpty() && d.ContactShown != QStringLiteral("All")) {
        const QString answer = dlg::inputBox(QStringLiteral("Enter contact number to export:\r\n"
                                                            "(Enter 'All' or hit cancel to export all contacts)"),
                                             QStringLiteral("Vexolan Export"), d.ContactShown);
        if (!answer.isEmpty() && answer != QStringLiteral("All")) o.contact = answer;
    }

    // The whole text is built before the file is touched: an export that
    // fails half-way leaves an earlier export of that name whole.
    try {
        writeFileAtomically(d.ExportFileName, joinLinesCrLf(exportfmt::buildPointExport(d, o)));
    } catch (const Error& e) {
        failed(e);
    }
}

// ---------------------------------------------------------------------------
// File > Export > Map: the plot picture, or the part of the map panel the map
// covers, captured before the save dialog can cover it.
void ExportCommands::mnuFileExportMap_Click() {
    Document& d = w.doc;
    try {
        if (w.picMap->isVisible()) {
            w.picExImgX->takePicture(w.picMap->picture());
        } else {
            // The panel's inside, less its border on each side.
            const int border = twips::toPx(90);
            const QRect inner(border, border, w.Frame1->width() - 2 * border, w.Frame1->height() - 2 * border);
            const QPoint mapAt = w.imPoints->mapTo(w.Frame1, QPoint(0, 0));
            QRect area;
            if (inner.width() >= w.imPoints->width()) {
                area.setLeft(mapAt.x());
                area.setWidth(w.imPoints->width());
            } else {
                area.setLeft(inner.left());
                area.setWidth(inner.width());
            }
            if (inner.height() >= w.imPoints->height()) {
                area.setTop(mapAt.y());
                area.setHeight(w.imPoints->height());
            } else {
                area.setTop(inner.top());
                area.setHeight(inner.height());
            }
            if (area.width() <= 0 || area.height() <= 0) raise(ErrorCode::InvalidCall);
            const QPixmap shot = w.Frame1->grab(area);
            w.picPrint->resize(shot.size());
            w.picPrint->setPixmap(shot);
            if (QClipboard* clip = QGuiApplication::clipboard()) clip->setPixmap(shot);
            w.picExImgX->takePicture(shot.toImage());
        }
    } catch (const Error& e) {
        w.reportError(QStringLiteral("mnuFileExport error: "), e.description());
        return;
    }

    dlg::CommonDialog cd;
    cd.CancelError = true;
    cd.DialogTitle = QStringLiteral("Save Map Image File");
    cd.Flags = 2;
    cd.Filter = QStringLiteral("JPEG Image File (*.jpg)|*.jpg");
    cd.DefaultExt = QStringLiteral("jpg");
    cd.InitDir = w.DialogInitDir;
    cd.FileName = d.DataFileName.size() >= 4 ? withoutLastFour(d.DataFileName) + QStringLiteral(".jpg")
                                              : w.DialogFileName;
    if (!dlg::showSave(cd)) return;
    w.DialogFileName = cd.FileName;
    w.DialogFileTitle = cd.FileTitle;
    try {
        w.picExImgX->save(cd.FileName, ImagingObject::FormatJpeg, 24);
    } catch (const Error& e) {
        w.reportError(QStringLiteral("mnuFileExport error: "), e.description());
    }
}

// ---------------------------------------------------------------------------
// File > Open > VexoData File: the second data set.
void ExportCommands::mnuFileOpenDat_Click() {
    Document& d = w.doc;
    dlg::CommonDialog cd;
    cd.CancelError = true;
    cd.DialogTitle = QStringLiteral("Open Data File");
    cd.FileName = QString();
    cd.Flags = 4096;
    cd.Filter = QStringLiteral("Map Data Files (*.vlm)|*.vlm|");
    cd.InitDir = w.DialogInitDir;
    if (!dlg::showOpen(cd)) return;
    w.DialogFileName = cd.FileName;
    w.DialogFileTitle = cd.FileTitle;
    const QString path = cd.FileName;
    if (!d.OtherDataFileName.isEmpty() && path == d.OtherDataFileName) {
        dlg::msgBox(QStringLiteral("File already open"), {dlg::Buttons::OK, dlg::Icon::None});
        return;
    }

    w.setBusyPointers(true);
    try {
        // The file is read whole before anything changes: a damaged file
        // opens nothing, and a set opened before stays open as it was, with
        // its name, its combined points and its status text.
        seconddata::readSecondDataSet(readFileBytes(path), d);
        if (!d.OtherDataFileName.isEmpty()) {
            for (int i = 1; i <= d.DatCount; ++i) d.DatumPoints[size_t(i)].Combined = false;
            for (int i = 1; i <= d.ConCount; ++i) d.ContourPoints[size_t(i)].Combined = false;
        }
        d.OtherDataFileName = path;
        const bool iso = w.optIso->isChecked();
        for (int b = 0; b < 2; ++b)
            w.cmdConDat[size_t(b)]->setToolTip(seconddata::combineToolTip(iso, d.OtherStructural, b));
        d.OtherDataOpen = true;
        for (QWidget* c : std::initializer_list<QWidget*>{w.optDat, w.optCon, w.labDatCol, w.labConCol, w.labConDat,
                                                          w.cmdConDat[0], w.cmdConDat[1]})
            c->setEnabled(true);
        w.setPanel(2, QStringLiteral("Data:  ") + d.DataTitle + QStringLiteral(" (") +
                          FileService::SplitPath(path, false) + QStringLiteral(" data open)"));
        w.enablePrinting();
        w.DialogFileName = d.DataFileName;
    } catch (const Error& e) {
        w.setBusyPointers(false);
        w.reportError(QStringLiteral("mnuFileOpenDat error: "),
                      FileService::SplitPath(path, false) + QStringLiteral(": ") + e.description());
        return;
    }
    w.setBusyPointers(false);
}

// ---------------------------------------------------------------------------
// Combine Data "-" (0) and "+" (1).
void ExportCommands::cmdConDat_Click(int index) {
    Document& d = w.doc;
    // A command already working through the points (a contour plot being
    // gridded, this combination itself) lets the window repaint; combining
    // then would change the points under it.
    if (d.MapBusy) return;
    bool scrollHidden = false;
    // While the command lets the window repaint, no other command may change
    // the points it is working through.
    d.MapBusy = true;
    w.cmdConDat[0]->setEnabled(false);
    w.cmdConDat[1]->setEnabled(false);
    const auto handBack = [&] {
        labCalc->setVisible(false);
        w.ProgressBar1->setVisible(false);
        w.labProg->setVisible(false);
        if (scrollHidden) w.HScroll1->setVisible(true);
        w.labConDat->setEnabled(false);
        w.cmdConDat[0]->setEnabled(false);
        w.cmdConDat[1]->setEnabled(false);
        d.ContoursCurrent = false;
        w.cmdShow->setEnabled(true);
        w.mnuViewShow->menuAction()->setEnabled(true);
        w.cmdConRun->setEnabled(true);
        d.MapBusy = false;
    };
    try {
        w.setBusyPointers(true);
        w.cmdShow->setEnabled(false);
        w.cmdConRun->setEnabled(false);
        w.ProgressBar1->setRange(0, 100);
        w.ProgressBar1->setValue(0);
        w.ProgressBar1->setVisible(true);
        w.labProg->setText(Format(w.ProgressBar1->value(), QStringLiteral("0")) + QStringLiteral(" %"));
        w.labProg->setVisible(true);
        const QPoint mapAt = w.imPoints->mapTo(w.Frame1, QPoint(0, 0));
        labCalc->move(mapAt.x() + (w.imPoints->width() - labCalc->width()) / 2,
                      mapAt.y() + (w.imPoints->height() - labCalc->height()) / 2);
        labCalc->setVisible(true);
        labCalc->raise();
        if (w.HScroll1->isVisible()) {
            w.HScroll1->setVisible(false);
            scrollHidden = true;
        }
        MainWindow::DoEvents();

        const bool iso = w.optIso->isChecked();
        int shown = -1;
        combination::combinePoints(d, iso, index, [&](int handled, int total) {
            const float pct = ToSingle(Div(double(handled), double(total)) * 100.0);
            const int value = int(pct);
            // The window repaints when the shown percentage moves, not for
            // every point: with a small second set the pumping would cost
            // more than the combining.
            if (value != shown) {
                shown = value;
                w.ProgressBar1->setValue(value);
                w.labProg->setText(Format(pct, QStringLiteral("0")) + QStringLiteral(" %"));
                MainWindow::DoEvents();
            }
        });

        combination::rescanRange(d);
        if (NumVal(w.txtMin->text()) > d.ZMin) w.txtMin->setText(GeneralText(d.ZMin));
        if (NumVal(w.txtMax->text()) < d.ZMax) w.txtMax->setText(GeneralText(d.ZMax));
        d.DataTitle += QStringLiteral("--converted");
        const combination::ResultKind kind = combination::resultKind(iso, d.OtherStructural, index);
        OptionButton* chosen = kind.isopachs ? w.optIso : w.optStruc;
        OptionButton* other = kind.isopachs ? w.optStruc : w.optIso;
        chosen->setEnabled(true);
        chosen->setValue(true);
        other->setEnabled(false);
        w.setPanel(2, QStringLiteral("Data:  ") + d.DataTitle + kind.statusSuffix + QStringLiteral(" (") +
                          w.DialogFileTitle + QStringLiteral(" data open)"));
    } catch (const Error& e) {
        w.reportError(QStringLiteral("cmdConDat error: "), e.description());
    } catch (...) {
        // A failure no handler here expects still hands the window back
        // usable on its way out.
        handBack();
        w.setBusyPointers(false);
        throw;
    }
    handBack();
    w.mapView->MapReplot();
    w.setBusyPointers(false);
}

// ---------------------------------------------------------------------------
// Run CorpsCon: the points go to the converter's input file and the
// converter is started; the user converts there.

namespace {

// A missing file or folder is named in the message, so the user knows what
// to put right.
[[noreturn]] void raisePath(ErrorCode code, const QString& path) {
    throw Error(code, errorText(code) + QStringLiteral(": ") + QDir::toNativeSeparators(path));
}

// The last lines a converter wrote to its error output, from its log file.
QStringList lastErrorLines(const QProcess* p, int count) {
    QStringList lines;
    const auto* log = p->findChild<QTemporaryFile*>(QStringLiteral("errorLog"));
    if (!log) return lines;
    QFile f(log->fileName());
    if (!f.open(QIODevice::ReadOnly)) return lines;
    constexpr qint64 tail = 4096;
    if (f.size() > tail) f.seek(f.size() - tail);
    const QStringList all = QString::fromLocal8Bit(f.readAll()).split(u'\n');
    for (const QString& line : all)
        if (!line.trimmed().isEmpty()) lines << line.trimmed();
    return lines.mid(std::max<qsizetype>(0, lines.size() - count));
}

} // namespace

void ExportCommands::cmdConRun_Click() {
    const Document& d = w.doc;
    const QString outPath = converterFolder + converter::OutputFileName;
    try {
        if (!QFileInfo(converterFolder).isDir()) raisePath(ErrorCode::PathNotFound, converterFolder);
        if (QFileInfo::exists(outPath) && !QFile::remove(outPath))
            raise(QStringLiteral("Permission denied: ") + QDir::toNativeSeparators(outPath));
        writeFileAtomically(converterFolder + converter::InputFileName, converter::inputFileText(d));
        const QString program = converterFolder + converter::ProgramFileName;
        if (!QFileInfo::exists(program))
            raise(QStringLiteral("The coordinate converter is not installed: ") + QDir::toNativeSeparators(program));
        m_outputPoll->stop();
        startConverter(program);
    } catch (const Error& e) {
        w.reportError(QStringLiteral("cmdConRun error: "), e.description());
    }
}

void ExportCommands::startConverter(const QString& program) {
    // An earlier converter the user still has open is left running; only the
    // latest one's end counts.
    auto* p = new QProcess(this);
    // The error output goes to a file rather than a pipe: the converter may
    // outlive this program and must not fail writing to it then.
    auto* log = new QTemporaryFile(QDir::tempPath() + QStringLiteral("/vexolan-converter-XXXXXX.log"), p);
    log->setObjectName(QStringLiteral("errorLog"));
    if (log->open()) {
        p->setStandardErrorFile(log->fileName());
        log->close();
    }
    p->setProcessChannelMode(QProcess::ForwardedOutputChannel);
    // The converter works in its own folder; the program's current folder,
    // where its dialogs start, stays as it was.
    p->setWorkingDirectory(converterFolder);
    p->setProgram(program);
    connect(p, &QProcess::finished, this, [this, p](int code, QProcess::ExitStatus status) {
        converterFinished(p, code, status);
    });
    p->start();
    if (!p->waitForStarted()) {
        const QString why = p->errorString();
        delete p;
        raise(QStringLiteral("The coordinate converter could not be started: ") + QDir::toNativeSeparators(program) +
              QStringLiteral(": ") + why);
    }
    m_converter = p;
}

// The converter has ended.  Its output is complete only now; a converter
// that ended at once and left no output has handed the work to another
// program, whose output is waited for by the poll.
void ExportCommands::converterFinished(QProcess* p, int code, QProcess::ExitStatus status) {
    p->deleteLater();
    if (p != m_converter) return;
    m_converter = nullptr;
    if (status != QProcess::NormalExit || code != 0) {
        QString why = status != QProcess::NormalExit
                          ? QStringLiteral("The coordinate converter stopped unexpectedly.")
                          : QStringLiteral("The coordinate converter ended with exit code %1.").arg(code);
        const QStringList lines = lastErrorLines(p, 5);
        if (!lines.isEmpty()) why += QLatin1Char('\n') + lines.join(QLatin1Char('\n'));
        w.reportError(QStringLiteral("cmdConRun error: "), why);
        return;
    }
    checkConverterOutput();
    if (!w.cmdConSave->isEnabled() && w.doc.DatCount + w.doc.ConCount > 0) m_outputPoll->start();
}

ExportCommands::~ExportCommands() {
    // A converter the user still works in is not ended with the program.
    for (QProcess* p : findChildren<QProcess*>(Qt::FindDirectChildrenOnly)) {
        if (p->state() == QProcess::NotRunning) continue;
        disconnect(p, nullptr, this, nullptr);
        delete p->findChild<QTemporaryFile*>(QStringLiteral("errorLog"));
        p->setParent(nullptr);
    }
}

void ExportCommands::checkConverterOutput() {
    if (w.doc.DatCount + w.doc.ConCount == 0) {
        m_outputPoll->stop();
        return;
    }
    // A converter still running may still be writing its output.
    if (m_converter) return;
    if (QFileInfo::exists(converterFolder + converter::OutputFileName)) {
        m_outputPoll->stop();
        w.cmdConSave->setEnabled(true);
    }
}

// Save Conversion: the converter's output as a table in "Dat Files".
void ExportCommands::cmdConSave_Click() {
    const Document& d = w.doc;
    try {
        const bool latLong = dlg::msgBox(QStringLiteral("Save Lat-Long data <yes> or meter/feet data <no>?"),
                                         {dlg::Buttons::YesNo, dlg::Icon::Question}) == dlg::Answer::Yes;
        const int n = ToInteger(d.DatCount + d.ConCount);
        const QString inPath = converterFolder + converter::InputFileName;
        const QString outPath = converterFolder + converter::OutputFileName;
        if (!QFileInfo::exists(inPath)) raisePath(ErrorCode::FileNotFound, inPath);
        if (!QFileInfo::exists(outPath)) raisePath(ErrorCode::FileNotFound, outPath);
        const converter::Records records = converter::readOutput(readFileBytes(outPath), n);
        // The exchange files go only once the result is written: a result
        // that cannot be written must not cost the user the conversion.
        // The folder of converted data is made on first use.
        const QString folder = w.app.DataFolder + QStringLiteral("Dat Files");
        if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder)) raisePath(ErrorCode::PathNotFound, folder);
        // The title names the file; a separator in it must not lead elsewhere.
        QString name = d.DataTitle;
        name.replace(u'/', u'_');
        name.replace(u'\\', u'_');
        writeFileAtomically(folder + u'/' + name + QStringLiteral(".dat"),
                            converter::resultFileText(d.DataTitle, records, latLong));
        QFile::remove(inPath);
        QFile::remove(outPath);
        w.DialogFileName = d.DataFileName;
        w.cmdConSave->setEnabled(false);
    } catch (const Error& e) {
        w.reportError(QStringLiteral("cmdConSave error: "), e.description());
    }
}
