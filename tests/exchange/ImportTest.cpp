// The column dialog shared by the import and the export (its codes, its two
// faces, its file list and its lifetime), reading column text files (codes,
// typed counts, degrees into map units), and File > Import > Data on the real
// window: both reading modes, appending with markers, the completion, the
// failures and a grid exported on a map in degrees read back.
#include "common/DigitizeSupport.h"
#include "common/MapSupport.h"
#include "common/TableRows.h"
#include "common/TestRegistry.h"
#include "digitize/PointRecords.h"
#include "exchange/ColumnDialog.h"
#include "exchange/ExportCommands.h"
#include "exchange/ImportCommands.h"
#include "exchange/ImportParser.h"
#include "map/Projections.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace importer;
using Setup = std::function<void(ColumnDialog&)>;

namespace {

QString show(const Record& r) { return QStringLiteral("(%1,%2,%3)").arg(r.X).arg(r.Y).arg(r.Z); }

// The bytes written with \r, \n, \t and \xHH escapes.
QByteArray unescape(const QString& text) {
    QByteArray out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i].toLatin1();
        if (c != '\\') {
            out += c;
            continue;
        }
        const char e = text[++i].toLatin1();
        if (e == 'x') out += char(text.mid(i + 1, 2).toInt(nullptr, 16)), i += 2;
        else out += e == 'r' ? '\r' : e == 'n' ? '\n' : e == 't' ? '\t' : e;
    }
    return out;
}

// The dialog set up as "kind code mode header [last line]": kind struc, rock,
// iso or con (contour points of the structural kind), mode comma or tab.
Setup how(const QString& text) {
    return [h = text.split(u' ')](ColumnDialog& d) {
        (h[0] == "rock" ? d.optRock : h[0] == "iso" ? d.optIso : d.optStruc)->setValue(true);
        (h[0] == "con" ? d.optPointCon : d.optPointDat)->setValue(true);
        for (int k = 0; k < 4; ++k) // the roles of the code's letters x y z - 0
            std::array{d.optLong, d.optLat, d.optData, d.optOther, d.optNone}[QStringLiteral("xyz-0").indexOf(h[1][k])][k]
                ->setValue(true);
        (h[2] == "comma" ? d.optComma : d.optTab)->setValue(true);
        d.txtHead->setText(h[3]);
        if (h.size() > 4) d.txtLine->setText(h[4]);
    };
}

// Runs the command on the file `name` holding `bytes`:
// the column dialog is set up by `setup` and accepted (or cancelled), a
// contact designator asked for is answered `designator`.
void runImport(MainWindow& w, const QTemporaryDir& dir, const char* name, const QByteArray& bytes,
               const Setup& setup, bool accept = true, const QString& designator = {}) {
    legacy::writeFileAtomically(dir.filePath(QLatin1String(name)), bytes);
    testsupport::dialogs().queue(dir.filePath(QLatin1String(name)));
    testsupport::dialogs().queue(dlg::WindowScript([setup, accept](QDialog* dialog) {
        auto* d = static_cast<ColumnDialog*>(dialog);
        if (setup) setup(*d);
        QTest::mouseClick(accept ? d->cmdOK : d->cmdCancel, Qt::LeftButton);
        return d->result();
    }));
    if (!designator.isNull()) testsupport::dialogs().queue(designator);
    w.importCommands->mnuFileImportData_Click();
}

// The points added: the datum points from the second on as "x,y,z:number",
// then the contour points with a "c" before each.
QString pointsText(const Document& d) {
    QStringList out;
    for (int i = 2; i <= d.DatCount + d.ConCount; ++i) {
        const bool con = i > d.DatCount;
        const DataPoint& p = con ? d.ContourPoints[size_t(i - d.DatCount)] : d.DatumPoints[size_t(i)];
        out << QStringLiteral("%1%2,%3,%4:%5").arg(con ? "c" : "").arg(p.X).arg(p.Y).arg(p.Z).arg(p.Number);
    }
    return out.join(u' ');
}

// The data-kind options and the point-type options, each with " off" when
// disabled and " chosen" when selected, then what the kind relabels: the
// Show button and View menu items (" off" when disabled), the range caption
// and status panel 2.
QString kindControls(const MainWindow& w) {
    QStringList out;
    for (const QAbstractButton* b : std::initializer_list<const QAbstractButton*>{w.optRock, w.optStruc, w.optIso,
                                                                                  w.optDat, w.optCon, w.cmdShow})
        out << b->text() + (b->isEnabled() ? "" : " off") + (b->isChecked() ? " chosen" : "");
    for (const QAction* a : {w.mnuViewShow->menuAction(), w.mnuViewShowCon, w.mnuViewShowContact->menuAction()})
        out << a->text() + (a->isEnabled() ? "" : " off");
    out << w.labMax->text() << w.panel(2);
    return out.join(u'|');
}

// Accepts the dialog through its OK button: the code built, then the other
// face's code (emptied).
QString accept(MainWindow& w, ColumnDialog& d) {
    w.doc.ImportOrder = w.doc.ColumnOrder = QStringLiteral("unchanged");
    QTest::mouseClick(d.cmdOK, Qt::LeftButton);
    return d.isImportFace() ? w.doc.ImportOrder + w.doc.ColumnOrder : w.doc.ColumnOrder + w.doc.ImportOrder;
}

// The visible labels, buttons and frames of a window whose text does not
// show whole: narrower than their text (a wrapped label: shorter than its
// lines), reaching out of their container or into another control.
QStringList cutCaptions(QWidget& window) {
    QStringList cut;
    const auto controls = window.findChildren<QWidget*>();
    for (QWidget* c : controls) {
        auto* l = qobject_cast<QLabel*>(c);
        if (!c->isVisibleTo(&window) || !(l || qobject_cast<QAbstractButton*>(c) || qobject_cast<QGroupBox*>(c)))
            continue;
        const QRect at = c->geometry();
        if (l && l->wordWrap() ? l->heightForWidth(at.width()) > at.height() : c->sizeHint().width() > at.width())
            cut << c->objectName();
        if (!c->parentWidget()->rect().contains(at)) cut << c->objectName() + QStringLiteral(" (outside)");
        for (QWidget* o : controls)
            if (o != c && o->parentWidget() == c->parentWidget() && o->isVisibleTo(&window) &&
                o->geometry().intersects(at) && c->objectName() < o->objectName())
                cut << c->objectName() + QStringLiteral(" over ") + o->objectName();
    }
    return cut;
}

} // namespace

class ImportParserTest : public QObject {
    Q_OBJECT
private slots:
    void codesAndCounts() {
        QCOMPARE(acceptedCodes().join(u' '), QStringLiteral("xyz0 yxz0 zxy0 zyx0 -xyz -yxz -zxy -zyx xyz- yxz- zxy- zyx- "
                                                           "--xy --yx -xy- -yx- xy-- yx-- -xy0 -yx0 xy-0 yx-0 xy00 yx00"));
        // Typed counts round halves to even; nothing is read below the header.
        QCOMPARE(lineCount(QStringLiteral("10.5"), headerLines(QStringLiteral("2.5"))), 8);
        QCOMPARE(lineCount(QStringLiteral("3"), headerLines(QStringLiteral("7"))), 0);
    }

    // Every accepted code reads its columns into the right roles, in both
    // modes, with text in the skipped columns.
    void everyCodeInBothModes_data() {
        QTest::addColumn<QString>("code");
        for (const QString& c : acceptedCodes()) QTest::newRow(qPrintable(c)) << c;
    }
    void everyCodeInBothModes() {
        QFETCH(QString, code);
        QStringList fields;
        for (QChar c : code)
            if (c != u'0') fields << (c == u'x' ? "1.5" : c == u'y' ? "-2.25" : c == u'z' ? "300" : "Well_7");
        const QString one = code.contains(u'z') ? "(1.5,-2.25,300)" : "(1.5,-2.25,0)";
        QCOMPARE(show(parseCommaLine(fields.join(u','), code, 1)), one);
        // Two records in a stream, the second split over two lines.
        const TextLines lines((fields.join(u'\t') + "\r\n" + fields[0] + "\n" + fields.mid(1).join("  ")).toLatin1());
        RecordReader reader(lines, code, RecordReader::Mode::Stream);
        int missing = 0;
        QCOMPARE(show(reader.read(missing)) + show(reader.read(missing)), one + one);
        QVERIFY(reader.atEnd() && missing == 0);
    }

    // Longitude -95 into map units of scale 1000, central meridian -100:
    // both coordinates from the values as read under a two-coordinate
    // projection, the latitude only under Standard Mercator; a latitude at
    // the pole is held at 89.99999 in degrees.  Unit-sphere values from PROJ,
    // scaled.
    void toMapUnits() {
        namespace pn = projection_names;
        Document doc;
        doc.ProjScaleX = doc.ProjScaleY = 1000;
        doc.CentralMeridian = float(DegRad(-100, true));
        QStringList got;
        for (const auto& [projection, degrees, lat] :
             {std::tuple{pn::TransverseMercator, true, 40.0f}, {pn::StandardMercator, true, 30.0f},
              {pn::StandardMercator, true, 90.0f}, {pn::CylindricalEquidistant, true, 95.0f}, {pn::Linear, false, 95.0f}}) {
            doc.ProjectionName = projection;
            doc.CoordUnits = degrees ? coord_units::Degrees : coord_units::Meters;
            float X = -95, Y = lat;
            const bool refused = importer::toMapUnits(doc, X, Y).has_value();
            got << QStringLiteral("%1,%2%3").arg(X, 0, 'g', 6).arg(Y, 0, 'g', 6).arg(refused ? "!" : "");
        }
        // At the pole: 1000 ln(tan 89.99999237° + sec 89.99999237°), the held latitude as a Single;
        // past it, in degrees, refused and left as read.
        QCOMPARE(got.join(u' '), "66.8646,700.01 -95,549.306 -95,16524.9 -95,95! -95,95");
    }
};

class ImportCommandTest : public QObject {
    Q_OBJECT
private slots:
    void init() { testsupport::dialogs().clear(); }

    // Closed through the window system, the window is unloaded and the next
    // use starts afresh.  OK builds the code of its face: a role clicked in
    // one column leaves the column that had it, "Other" may repeat and reads
    // as "0" in the export face.  Each face shows every caption whole; the
    // export face is the window without the list; the import face offers the
    // main window's kinds and lists the file, which is let go when the window
    // hides.
    void columnDialog() {
        QTemporaryDir dir;
        auto w = testsupport::startMainWindow();
        ColumnDialog::frmImEx(*w).txtHead->setText(QStringLiteral("4"));
        testsupport::dialogs().queue(dlg::WindowScript([](QDialog* d) { return d->close(), int(QDialog::Rejected); }));
        w->doc.ImportOrder.clear();
        ColumnDialog::frmImEx(*w).showModal();
        QVERIFY(w->doc.ImportOrder.isEmpty() && !ColumnDialog::isLoaded(*w));
        ColumnDialog& d = ColumnDialog::frmImEx(*w);
        QCOMPARE(d.txtHead->text(), "0");

        QCOMPARE(accept(*w, d), "xy00");
        for (QAbstractButton* b : {d.optData[0], d.optData[2]})
            QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
        QCOMPARE(accept(*w, d), "0yz0");
        for (int k : {0, 3}) d.optOther[k]->setChecked(true);
        QCOMPARE(accept(*w, d), "-yz-");
        d.prepareExportFace(QStringLiteral("pts.txt"), QStringLiteral("Depth"));
        QCOMPARE(accept(*w, d), "0yz");
        d.show();
        QCOMPARE(cutCaptions(d), QStringList());
        QCOMPARE(QStringList({d.windowTitle(), d.cmdOK->text(), d.labF->text(), d.labFile->text(),
                              d.labLineImport->text(), d.txtLine->text()}).join(u'|'),
                 "Vexolan: Export Data|Export|Exported file:|pts.txt|Data text:|Depth");
        QVERIFY(!d.List1->isVisibleTo(&d) && !d.txtHead->isEnabled() && d.chkHead->isVisibleTo(&d));
        QVERIFY(!d.optStruc->isEnabled() && !d.optPointDat->isEnabled() && !d.optOther[2]->isEnabled());
        const double exportWidth = d.windowWidthTwips();
        QVERIFY(exportWidth >= 7755);

        d.prepareImportFace(QStringLiteral("in.txt"), false, true, false);
        QCOMPARE(cutCaptions(d), QStringList());
        QCOMPARE(QStringList({d.windowTitle(), d.cmdOK->text(), d.labF->text(), d.labLineImport->text()}).join(u'|'),
                 "Vexolan: Import Data|Import|Imported file:|Import to Line Number:");
        QVERIFY(d.windowWidthTwips() >= 12450 && d.windowWidthTwips() > exportWidth);
        QVERIFY(d.List1->isVisibleTo(&d) && d.txtHead->isEnabled() && !d.chkHead->isVisibleTo(&d));
        // "Contact" is no longer offered: the structural kind takes its place.
        QVERIFY(!d.optRock->isEnabled() && !d.optIso->isEnabled() && d.optStruc->isChecked());
        QVERIFY(d.optPointCon->isEnabled() && d.optOther[3]->isEnabled() && d.optNone[3]->isEnabled());
        const QAbstractItemModel& list = *d.List1->model();
        // Text as the program's files hold it: UTF-8 when valid with a
        // multi-byte sequence, else the code page (0x92 is U+2019).
        w->doc.ImportFile = dir.filePath(QStringLiteral("utf8.txt"));
        legacy::writeFileAtomically(w->doc.ImportFile, "\xC5\x81\xC3\xB3" "d\xC5\xBA Exported Data: \r\n1 2\r\n");
        d.ShowFile();
        QCOMPARE(list.index(0, 0).data().toString(), "\u0141\u00F3d\u017A Exported Data: ");
        w->doc.ImportFile = dir.filePath(QStringLiteral("five.txt"));
        legacy::writeFileAtomically(w->doc.ImportFile, "East North\r\n1 2\n3 4\r5 6\r\n7 \xE9\x92");
        d.ShowFile();
        QCOMPARE(QString::number(list.rowCount()) + '|' + list.index(4, 0).data().toString() + '|' + d.labLines->text() +
                     '|' + d.txtLine->text(), "5|7 \u00E9\u2019|Number of lines: 5|5");
        // A click picks the first line read, with Ctrl the last one.
        QTest::mouseClick(d.List1->viewport(), Qt::LeftButton, {}, d.List1->visualRect(list.index(2, 0)).center());
        QTest::mouseClick(d.List1->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          d.List1->visualRect(list.index(3, 0)).center());
        QCOMPARE(d.txtHead->text() + '|' + d.txtLine->text() + '|' + d.labSel->text(), "2|4|Line Selected: 4");
        d.cmdCancel_Click();
        QCOMPARE(list.rowCount(), 0);
        w->doc.ImportFile = dir.filePath(QStringLiteral("missing.txt"));
        QVERIFY_THROWS_EXCEPTION(legacy::Error, d.ShowFile());
    }

    // The imports of exchange/imports.txt, and one cut at the point limit.
    // A failed reading takes its points back, and the data kind it chose.
    void imports_data() {
        testsupport::addFileRows(QStringLiteral("exchange/imports.txt"));
        QString many;
        for (int i = 1; i <= 31010; ++i) many += QString::number(i % 1000) + ",1,1\\r\\n";
        QTest::newRow("cut at the limit") << QStringList{"struc xyz0 comma 0", many, "31000 points",
                                                         "Only the first 31000 points were imported, the most one "
                                                         "import takes: 31000 lines were read and 10 lines were left."};
    }
    void imports() {
        const QStringList f = testsupport::rowFields().f;
        const QStringList log = f[3].split(u';', Qt::SkipEmptyParts);
        QTemporaryDir dir;
        // A datum point of value 9 numbered 1 (none when the set-up ends "empty"), the range 100 to 500 typed.
        auto w = testsupport::startLinearWindow();
        QString setup = f[0];
        const bool empty = setup.endsWith(QLatin1String(" empty"));
        if (empty) setup.chop(6);
        if (setup.endsWith(QLatin1String(" degrees"))) { // an orthographic map around 0 E, 0 N, scale 1000
            setup.chop(8);
            w->doc.ProjectionName = projection_names::Orthographic;
            w->doc.CoordUnits = QStringLiteral("Degrees");
            w->doc.ProjScaleX = w->doc.ProjScaleY = 1000;
            w->mnuCoordDegrees->setChecked(true);
        } else if (setup.endsWith(QLatin1String(" southern cone"))) { // conformal, 20 E, 35 S, scale 1000
            setup.chop(14);
            Document& d = w->doc;
            d.ProjectionName = projection_names::LambertConformal;
            d.CoordUnits = QStringLiteral("Degrees");
            d.ProjScaleX = d.ProjScaleY = 1000;
            d.CentralMeridian = float(DegRad(20, true));
            d.CentralParallel = float(DegRad(-35, true));
            d.Lat1 = float(DegRad(-36, true));
            d.Lat2 = float(DegRad(-34, true));
            ComputeConeConstants(d);
            w->mnuCoordDegrees->setChecked(true);
        }
        if (!empty) {
            points::AppendPoint(w->doc.DatumPoints, w->doc.DatCount) = {1, 100, 100, 9, false};
            w->markers->labDat.load(1);
        }
        w->txtMin->setText(QStringLiteral("100"));
        w->txtMax->setText(QStringLiteral("500"));
        const QString kindBefore = kindControls(*w);
        runImport(*w, dir, "in.txt", unescape(f[1]), how(setup), true, f.size() > 4 ? f[4] : QString());
        QStringList said;
        for (const auto& p : testsupport::dialogs().prompts)
            if (p.kind == dlg::Prompt::Kind::Message || p.kind == dlg::Prompt::Kind::Input) said << p.text;
        QCOMPARE(said, log);
        const Document& d = w->doc;
        QCOMPARE(d.DatCount > 10 ? QStringLiteral("%1 points").arg(d.DatCount - 1) : pointsText(d), f[2]);
        QCOMPARE(w->markers->labDat.count() * 100 + w->markers->labCon.count(), d.DatCount * 100 + d.ConCount);
        const bool failed = log.join(u' ').contains("Error importing");
        QCOMPARE(d.DataChanged, !failed);
        QCOMPARE(w->windowTitle(), failed ? "Ferno Vexolan" : "Ferno Vexolan: Lakes (Imported - in.txt)");
        QVERIFY(!failed || testsupport::dialogs().prompts.back().icon == dlg::Icon::Exclamation);
        if (failed) {
            QCOMPARE(kindControls(*w), kindBefore); // the kind is not fixed by points never added
            return;
        }
        const Marker& last = d.ConCount ? w->markers->labCon[1] : w->markers->labDat[d.DatCount];
        QVERIFY(last.Visible && last.ForeColor == (d.ConCount ? 0x00FF00L : 0xFF00FFL) && !d.ContoursCurrent);
        QCOMPARE(w->mnuViewShowContactShow->text(), "Show (All)...");
        const bool rock = f[0].startsWith("rock");
        QVERIFY(w->optRock->isChecked() == rock && w->optStruc->isEnabled() == !rock && !w->optIso->isEnabled());
        QVERIFY(w->cmdShow->isEnabled() && w->cmdConRun->isEnabled() && w->optHi->isEnabled() && w->mnuFileOpenDat->isEnabled());
        QCOMPARE(w->txtConDet->isEnabled() && w->chkLines->isEnabled(), !rock);
        QCOMPARE(w->txtMin->text() + w->txtMax->text() == "100500", !rock); // contacts always rescan the range
    }

    // Cancelled in the open dialog, nothing happens; in the column dialog the
    // file is remembered and offered next time, and nothing is read.  Nothing
    // read still completes, with the plot controls off, and fixes the kind.
    void cancelsAndEmptyImports() {
        QTemporaryDir dir;
        auto w = testsupport::startLinearWindow();
        auto& dl = testsupport::dialogs();
        dl.queue(dlg::Cancel{});
        w->importCommands->mnuFileImportData_Click();
        QCOMPARE(dl.prompts.size(), size_t(1));
        runImport(*w, dir, "p.txt", "1,2\n", how("struc xy00 comma 0"), false);
        QVERIFY(w->doc.ImportFile == dir.filePath("p.txt") && w->doc.ImportOrder.isEmpty() && !w->doc.DataChanged);
        QVERIFY(w->windowTitle() == "Ferno Vexolan" && w->optRock->isEnabled());
        runImport(*w, dir, "p.txt", "1,2\n", how("struc xy00 comma 1 1"));
        QCOMPARE(dl.prompts[3].defaultText, dir.filePath("p.txt"));
        QVERIFY(w->doc.DatCount == 0 && w->doc.DataChanged && !w->cmdShow->isEnabled() && !w->txtConDet->isEnabled());
        QCOMPARE(w->windowTitle(), "Ferno Vexolan: Lakes (Imported - p.txt)");
        // Structural data on the map: the dialog offers no other kind.
        bool offered = true;
        runImport(*w, dir, "p.txt", "1,2\n", [&](ColumnDialog& d) {
            offered = d.optRock->isEnabled() || d.optIso->isEnabled() || !d.optStruc->isChecked();
            d.txtHead->setText(QStringLiteral("0"));
        });
        QVERIFY(!offered && w->doc.DatCount == 1 && !w->optRock->isEnabled());
        QCOMPARE(w->cursor().shape(), Qt::ArrowCursor);
    }

    // The grid exported while the plot of a Transverse Mercator map in
    // degrees is shown reads back, in a new window over the same map and
    // registration, as datum points on the plotted area: every computed node
    // written once and each inside the window the digitized points span, in
    // map units (map units read as degrees land tens of units off the map;
    // the five decimals of a degree move a node by less than 1e-4).
    void gridReadBackInDegrees() {
        QTemporaryDir dir;
        const QString map = maptest::writeMap(dir, QStringLiteral("tm.png"), 400, 400);
        const auto tmWindow = [&map] {
            auto w = maptest::windowWithMap(map);
            for (const char* item : {"TMerc", "Degrees"}) w->mapView->coordClick(maptest::coordItemNamed(item));
            maptest::registerByClicks(*w, {"-105.25", "40.75", "-100.5", "36.25", "-102.9"});
            w->optStruc->setValue(true);
            w->optDat->setValue(true);
            return w;
        };
        auto w = tmWindow();
        QVERIFY(w->doc.MapRegistered && w->doc.CoordUnits == "Degrees" && w->doc.ProjectionName == "Transverse Mercator");
        const double W = w->imPoints->Width(), H = w->imPoints->Height();
        for (const auto& [fx, fy, z] : {std::tuple{0.3, 0.3, "10"}, {0.7, 0.35, "20"}, {0.4, 0.7, "30"},
                                        {0.65, 0.65, "40"}, {0.5, 0.5, "25"}})
            testsupport::recordAt(*w, W * fx, H * fy, QString::fromLatin1(z));
        float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
        for (int i = 1; i <= w->doc.DatCount; ++i) {
            const DataPoint& p = w->doc.DatumPoints[size_t(i)];
            minX = std::min(minX, p.X), maxX = std::max(maxX, p.X), minY = std::min(minY, p.Y), maxY = std::max(maxY, p.Y);
        }
        const float originX = w->doc.MapOriginX, originY = w->doc.MapOriginY;
        QVERIFY(w->doc.DatCount == 5 && w->cmdShow->isEnabled());
        w->cmdShow->click();
        QVERIFY(w->picMap->isVisible() && w->doc.ContoursCurrent);
        const QString out = dir.filePath(QStringLiteral("tm-Contours.dat"));
        testsupport::dialogs().clear();
        testsupport::dialogs().queue(out);
        w->exportCommands->mnuFileExportData_Click();
        const QByteArray grid = testsupport::fileBytes(out);
        const int rows = int(grid.count("\r\n"));
        // Some nodes lie outside the points' span: fewer rows than nodes.
        QVERIFY(rows > 0 && rows < w->doc.GridCols * w->doc.GridRows);
        w.reset();

        w = tmWindow();
        QVERIFY(w->doc.MapOriginX == originX && w->doc.MapOriginY == originY);
        testsupport::dialogs().clear();
        runImport(*w, dir, "tm-Contours.dat", grid, how("struc xyz0 tab 0"));
        QVERIFY(testsupport::dialogs().unanswered == 0);
        QCOMPARE(w->doc.DatCount, rows);
        const float slack = 1e-4f;
        for (int i = 1; i <= w->doc.DatCount; ++i) {
            const DataPoint& p = w->doc.DatumPoints[size_t(i)];
            QVERIFY2(p.X >= minX - slack && p.X <= maxX + slack && p.Y >= minY - slack && p.Y <= maxY + slack,
                     qPrintable(QStringLiteral("point %1 at (%2, %3)").arg(i).arg(p.X).arg(p.Y)));
        }
    }
};

VEX_TEST(ImportParserTest);
VEX_TEST(ImportCommandTest);
#include "ImportTest.moc"
