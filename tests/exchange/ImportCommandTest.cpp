// File > Import > Data on the real window: the open dialog, the column
// dialog, reading, appending with markers, the completion, and the failures.
#include "common/TestRegistry.h"
#include "digitize/DigitizeFixture.h"
#include "digitize/PointRecords.h"
#include "exchange/ColumnDialog.h"
#include "exchange/ImportCommands.h"
#include "map/MapView.h"
#include "map/Projections.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

using namespace digitize_fixture;

namespace {

using Setup = std::function<void(ColumnDialog&)>;

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

// Chooses the column roles in the dialog from a four-letter code.
void chooseCode(ColumnDialog& d, const QString& code) {
    for (int i = 0; i < 4; ++i) {
        const size_t k = size_t(i);
        const QChar c = code[i];
        OptionButton* o = c == u'x' ? d.optLong[k] : c == u'y' ? d.optLat[k] : c == u'z' ? d.optData[k]
                        : c == u'-' ? d.optOther[k] : d.optNone[k];
        if (o) o->setValue(true);
        else { // the first two columns have no "None"
            for (auto* arr : {&d.optLat, &d.optLong, &d.optData, &d.optOther}) (*arr)[k]->setValue(false);
        }
    }
}

// Runs the command through its menu item: the open dialog answers `path`,
// the column dialog is set up by `setup` and accepted (or cancelled), and
// a contact designator asked for is answered `designator`.
void runImport(MainWindow& w, const QString& path, const Setup& setup, bool accept = true,
               const QString& designator = {}) {
    testsupport::dialogs().queue(path);
    testsupport::dialogs().queue(dlg::WindowScript([setup, accept](QDialog* dialog) {
        auto* d = static_cast<ColumnDialog*>(dialog);
        if (setup) setup(*d);
        QTest::mouseClick(accept ? d->cmdOK : d->cmdCancel, Qt::LeftButton);
        return d->result();
    }));
    if (!designator.isNull()) testsupport::dialogs().queue(designator);
    w.mnuFileImportData->setEnabled(true);
    w.mnuFileImportData->trigger();
}

Setup structural(const QString& code, bool comma, const QString& head = {}, const QString& last = {}) {
    return [=](ColumnDialog& d) {
        d.optStruc->setValue(true);
        chooseCode(d, code);
        (comma ? d.optComma : d.optTab)->setValue(true);
        if (!head.isNull()) d.txtHead->setText(head);
        if (!last.isNull()) d.txtLine->setText(last);
    };
}

QStringList messages() {
    QStringList out;
    for (const auto& p : testsupport::dialogs().prompts)
        if (p.kind == dlg::Prompt::Kind::Message) out << p.text;
    return out;
}

std::unique_ptr<MainWindow> registered() {
    auto w = startWindow();
    registerLinear(*w);
    return w;
}

// Puts n datum points into the document as a digitizing would leave them.
void addDatum(MainWindow& w, float x, float y, float z, int16_t number) {
    DataPoint& p = points::AppendPoint(w.doc.DatumPoints, w.doc.DatCount);
    p.X = x;
    p.Y = y;
    p.Z = z;
    p.Number = number;
    w.markers->labDat.load(w.doc.DatCount);
}

} // namespace

class ImportCommandTest : public QObject {
    Q_OBJECT
private slots:
    void init() { testsupport::dialogs().clear(); }

    void commaModeWithHeaderAndLastLine() {
        QTemporaryDir dir;
        auto w = registered();
        QByteArray text = "Survey of the lakes\r\nEast,North,Depth\r\n";
        for (int i = 1; i <= 10; ++i) text += QByteArray::number(i * 50) + "," + QByteArray::number(1000 - i * 50) + "," + QByteArray::number(i * 10) + "\r\n";
        const QString path = writeFile(dir, "pts.txt", text);
        runImport(*w, path, structural("xyz0", true, "2", "10"));

        const Document& d = w->doc;
        QCOMPARE(d.DatCount, 8);
        for (int i = 1; i <= 8; ++i) {
            const DataPoint& p = d.DatumPoints[size_t(i)];
            QCOMPARE(p.X, float(i * 50));
            QCOMPARE(p.Y, float(1000 - i * 50));
            QCOMPARE(p.Z, float(i * 10));
            QCOMPARE(int(p.Number), i);
            // The redraw placed and showed every imported marker.
            const Marker& m = w->markers->labDat[i];
            QVERIFY(m.Visible && !m.ToolTipText.isEmpty());
            QCOMPARE(m.ForeColor, 0xFF00FFL);
        }
        QCOMPARE(w->markers->labDat.count(), 8);
        QCOMPARE(w->labDatNum->text(), QStringLiteral("8"));
        QCOMPARE(w->windowTitle(), QStringLiteral("Ferno Vexolan: Lakes (Imported - pts.txt)"));
        QCOMPARE(d.ImportFile, path);
        QVERIFY(d.DataChanged);
        QVERIFY(!d.ContoursCurrent);
        QCOMPARE(d.ContactShown, QStringLiteral("All"));
        QCOMPARE(w->mnuViewShowContactShow->text(), QStringLiteral("Show (All)..."));
        // The data kind on the main window follows the dialog.
        QVERIFY(w->optStruc->isChecked() && w->optStruc->isEnabled());
        QVERIFY(!w->optRock->isEnabled() && !w->optIso->isEnabled());
        // The controls that need points.
        for (QWidget* c : std::initializer_list<QWidget*>{w->cmdShow, w->cmdSave, w->cmdConRun, w->optLo, w->optMed,
                                                          w->optHi, w->labCond, w->txtConDet, w->VScroll2, w->chkMan,
                                                          w->chkLines})
            QVERIFY2(c->isEnabled(), qPrintable(c->objectName()));
        QVERIFY(w->mnuFileSaveAs->isEnabled() && w->mnuFileOpenDat->isEnabled());
        QVERIFY(w->mnuViewShow->menuAction()->isEnabled());
        QCOMPARE(w->txtConDet->text(), QString::number(d.ContourDetail));
        QCOMPARE(w->txtMin->text(), QStringLiteral("10"));
        QCOMPARE(w->txtMax->text(), QStringLiteral("80"));
        QCOMPARE(d.ZMin, 10.0f);
        QCOMPARE(d.ZMax, 80.0f);
        // What was asked.
        const auto& prompts = testsupport::dialogs().prompts;
        QCOMPARE(int(prompts.size()), 2);
        QCOMPARE(prompts[0].kind, dlg::Prompt::Kind::Open);
        QCOMPARE(prompts[0].title, QStringLiteral("Import Data"));
        QCOMPARE(prompts[1].title, QStringLiteral("Vexolan: Import Data"));
        QCOMPARE(testsupport::dialogs().unanswered, 0);
        QCOMPARE(w->cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(w->markers->cursor().shape(), Qt::CrossCursor);
    }

    void dialogKeepsItsStateAndTheLastFile() {
        QTemporaryDir dir;
        auto w = registered();
        const QString path = writeFile(dir, "a.txt", "h\n1,2\n3,4\n");
        runImport(*w, path, structural("yx00", true, "1"));
        QCOMPARE(w->doc.DatCount, 2);
        QCOMPARE(w->doc.DatumPoints[1].X, 2.0f);
        QCOMPARE(w->doc.DatumPoints[1].Y, 1.0f);
        // The next import offers the same file and finds the same choices.
        bool checked = false;
        runImport(*w, path, [&](ColumnDialog& d) {
            checked = true;
            QVERIFY(d.optComma->isChecked());
            QVERIFY(d.optStruc->isChecked());
            QCOMPARE(d.txtHead->text(), QStringLiteral("1"));
            QCOMPARE(d.txtLine->text(), QStringLiteral("3"));
            QCOMPARE(d.labFile->text(), QStringLiteral("a.txt"));
            QVERIFY(d.optLat[0]->isChecked() && d.optLong[1]->isChecked());
        });
        QVERIFY(checked);
        QCOMPARE(testsupport::dialogs().prompts[2].defaultText, path);
        QCOMPARE(w->doc.DatCount, 4); // imported twice, appended twice
        QCOMPARE(int(w->doc.DatumPoints[4].Number), 4);
    }

    void contactDesignators() {
        QTemporaryDir dir;
        auto w = registered();
        addDatum(*w, 10, 10, 3, 1);
        addDatum(*w, 20, 20, 3, 2);
        // A designator column: each point's contact is its Z, no question.
        const QString withZ = writeFile(dir, "c.txt", "1,1,3\n2,2,3\n3,3,5\n");
        runImport(*w, withZ, [](ColumnDialog& d) {
            d.optRock->setValue(true);
            chooseCode(d, QStringLiteral("xyz0"));
            d.optComma->setValue(true);
            d.txtHead->setText(QStringLiteral("0"));
        });
        QCOMPARE(w->doc.DatCount, 5);
        QCOMPARE(int(w->doc.DatumPoints[3].Number), 3);
        QCOMPARE(int(w->doc.DatumPoints[4].Number), 4);
        QCOMPARE(int(w->doc.DatumPoints[5].Number), 1);
        QVERIFY(messages().isEmpty());
        QVERIFY(w->optRock->isChecked() && !w->optStruc->isEnabled() && !w->optIso->isEnabled());
        // Contact data always rescans the range; the contour boxes stay off.
        QCOMPARE(w->txtMax->text(), QStringLiteral("5"));
        QCOMPARE(w->txtMin->text(), QStringLiteral("3"));

        // No Z column: the designator asked applies to every point.
        testsupport::dialogs().clear();
        const QString xy = writeFile(dir, "xy.txt", "1 1\n2 2\n");
        const Setup xyTab = [](ColumnDialog& d) {
            chooseCode(d, QStringLiteral("xy00"));
            d.optTab->setValue(true);
        };
        runImport(*w, xy, xyTab, true, QStringLiteral("7"));
        const auto& prompts = testsupport::dialogs().prompts;
        QCOMPARE(prompts.back().kind, dlg::Prompt::Kind::Input);
        QCOMPARE(prompts.back().text, QStringLiteral("Enter a contact designator number for these data"));
        QCOMPARE(prompts.back().title, QStringLiteral("Ferno Vexolan"));
        QCOMPARE(w->doc.DatCount, 7);
        QCOMPARE(w->doc.DatumPoints[6].Z, 7.0f);
        QCOMPARE(w->doc.DatumPoints[7].Z, 7.0f);
        QCOMPARE(int(w->doc.DatumPoints[7].Number), 2);

        // An empty answer: the points keep Z 0.
        runImport(*w, xy, xyTab, true, QStringLiteral(""));
        QCOMPARE(w->doc.DatCount, 9);
        QCOMPARE(w->doc.DatumPoints[9].Z, 0.0f);
        QCOMPARE(int(w->doc.DatumPoints[9].Number), 2);
    }

    void contourPointsAndKeptRange() {
        QTemporaryDir dir;
        auto w = registered();
        w->optStruc->setValue(true);
        for (int i = 0; i < 10; ++i) addDatum(*w, 100, 100, 50, int16_t(i + 1));
        w->txtMin->setText(QStringLiteral("100"));
        w->txtMax->setText(QStringLiteral("500"));
        const QString path = writeFile(dir, "d.txt", "5,6,-7\n");
        runImport(*w, path, structural("xyz0", true, "0"));
        QCOMPARE(int(w->doc.DatumPoints[11].Number), 11);
        QCOMPARE(w->txtMin->text(), QStringLiteral("100"));
        QCOMPARE(w->txtMax->text(), QStringLiteral("500"));

        // Contour points get green markers and their own numbering.
        runImport(*w, path, [](ColumnDialog& d) { d.optPointCon->setValue(true); });
        QCOMPARE(w->doc.ConCount, 1);
        QCOMPARE(w->doc.DatCount, 11);
        QCOMPARE(int(w->doc.ContourPoints[1].Number), 1);
        QCOMPARE(w->markers->labCon[1].ForeColor, 0x00FF00L);
        QVERIFY(w->markers->labCon[1].Visible);
        QCOMPARE(w->labConNum->text(), QStringLiteral("1"));

        // With a 0 in a range box the range is rescanned from every point.
        w->txtMin->setText(QStringLiteral("0"));
        runImport(*w, path, {});
        QCOMPARE(w->txtMin->text(), QStringLiteral("-7"));
        QCOMPARE(w->txtMax->text(), QStringLiteral("50"));

        // Only negative values: the top of the range stays at 0.
        auto neg = registered();
        runImport(*neg, writeFile(dir, "neg.txt", "1,1,-5\n2,2,-9\n"), structural("xyz0", true, "0"));
        QCOMPARE(neg->doc.ZMax, 0.0f);
        QCOMPARE(neg->txtMax->text(), QStringLiteral("0"));
        QCOMPARE(neg->txtMin->text(), QStringLiteral("-9"));
    }

    void kindFixedByPointsStays() {
        QTemporaryDir dir;
        auto w = registered();
        // Structural points were digitized: the window offers no other kind.
        w->optStruc->setValue(true);
        addDatum(*w, 100, 100, 50, 1);
        w->optRock->setEnabled(false);
        w->optIso->setEnabled(false);
        const QString path = writeFile(dir, "s.txt", "1,2,3\n");
        // A fresh dialog, accepted as it comes.
        runImport(*w, path, [](ColumnDialog& d) {
            QVERIFY(!d.optRock->isEnabled());
            QVERIFY(d.optStruc->isChecked());
            d.optComma->setValue(true);
        });
        QCOMPARE(w->doc.DatCount, 2);
        QVERIFY(w->optStruc->isChecked());
        QVERIFY(!w->optRock->isEnabled());
        QCOMPARE(int(w->doc.DatumPoints[2].Number), 2);
        QVERIFY(testsupport::dialogs().prompts.back().kind != dlg::Prompt::Kind::Input);
    }

    void degreesUnderAProjection() {
        QTemporaryDir dir;
        auto w = registered();
        Document& d = w->doc;
        d.ProjectionName = projection_names::TransverseMercator;
        d.ProjScaleX = d.ProjScaleY = 1000;
        d.CentralMeridian = float(DegRad(-100, true));
        d.CentralParallel = float(DegRad(40, true));
        w->mnuCoordDegrees->setChecked(true);
        const QString path = writeFile(dir, "geo.txt", "Lat Long Elev\n42.25 -105.5 10\n95 -100 20\n");
        runImport(*w, path, structural("yxz0", false, "1"));
        QCOMPARE(d.DatCount, 2);
        Document ref = d;
        QCOMPARE(d.DatumPoints[1].X, ProjectTransverseMercator(ref, -105.5, 42.25, true, true));
        QCOMPARE(d.DatumPoints[1].Y, ProjectTransverseMercator(ref, -105.5, 42.25, true, false));
        // A latitude at or past the pole is held below it.
        QCOMPARE(d.DatumPoints[2].Y, ProjectTransverseMercator(ref, -100, double(89.99999f), true, false));
        QCOMPARE(d.DatumPoints[1].Z, 10.0f);
    }

    void cancels() {
        QTemporaryDir dir;
        auto w = registered();
        const QString path = writeFile(dir, "p.txt", "1,2\n");
        // Cancel in the open dialog: nothing happens.
        testsupport::dialogs().queue(dlg::Cancel{});
        w->importCommands->mnuFileImportData_Click();
        QCOMPARE(int(testsupport::dialogs().prompts.size()), 1);
        QCOMPARE(w->doc.ImportFile, QString());

        // Cancel in the column dialog: the file is remembered, nothing read.
        const QString caption = w->windowTitle();
        runImport(*w, path, structural("xyz0", true), false);
        QCOMPARE(w->doc.ImportFile, path);
        QCOMPARE(w->doc.ImportOrder, QString());
        QCOMPARE(w->doc.DatCount, 0);
        QVERIFY(!w->doc.DataChanged);
        QCOMPARE(w->windowTitle(), caption);
        QVERIFY(w->optRock->isEnabled()); // the kind options were not touched
        QCOMPARE(w->cursor().shape(), Qt::ArrowCursor);
        QVERIFY(messages().isEmpty());
    }

    void nothingReadStillCompletes() {
        QTemporaryDir dir;
        auto w = registered();
        const QString path = writeFile(dir, "h.txt", "header\n1,2\n");
        runImport(*w, path, structural("xy00", true, "2", "2"));
        QCOMPARE(w->doc.DatCount, 0);
        QVERIFY(w->doc.DataChanged);
        QCOMPARE(w->windowTitle(), QStringLiteral("Ferno Vexolan: Lakes (Imported - h.txt)"));
        QCOMPARE(w->doc.ContactShown, QStringLiteral("All"));
        QVERIFY(!w->cmdShow->isEnabled() && !w->cmdConRun->isEnabled() && !w->txtConDet->isEnabled());
        QVERIFY(!w->mnuFileOpenDat->isEnabled());
    }

    void failuresLeaveTheDocument() {
        QTemporaryDir dir;
        auto w = registered();
        addDatum(*w, 1, 1, 1, 1);
        w->mapView->MapReplot();
        w->doc.DataChanged = false;
        const QString caption = w->windowTitle();

        // More header lines than the file has.
        const QString shortFile = writeFile(dir, "short.txt", "1,2\n3,4\n");
        runImport(*w, shortFile, structural("xy00", true, "5", "9"));
        QCOMPARE(messages(), QStringList{"Error importing data: Input past end of file"});
        QCOMPARE(testsupport::dialogs().prompts.back().icon, dlg::Icon::Exclamation);
        QCOMPARE(w->doc.DatCount, 1);
        QVERIFY(!w->doc.DataChanged);
        QCOMPARE(w->windowTitle(), caption);

        // A column order without both coordinates: refused before reading.
        testsupport::dialogs().clear();
        w->optRock->setEnabled(true);
        w->optRock->setValue(true);
        runImport(*w, shortFile, [](ColumnDialog& d) {
            chooseCode(d, QStringLiteral("xz00"));
            d.txtHead->setText(QStringLiteral("0"));
            d.optStruc->setValue(true);
        });
        QCOMPARE(messages().size(), 1);
        QVERIFY(messages()[0].startsWith(QStringLiteral("Error importing data: The column order \"xz00\"")));
        QCOMPARE(w->doc.DatCount, 1);
        QVERIFY(w->optRock->isChecked()); // the kind was not switched

        // The file vanished between the open dialog and the listing.
        testsupport::dialogs().clear();
        testsupport::dialogs().queue(dir.filePath("gone.txt"));
        w->importCommands->mnuFileImportData_Click();
        QCOMPARE(messages(), QStringList{"Error importing data: File not found"});
        QCOMPARE(w->cursor().shape(), Qt::ArrowCursor);
    }

    // Files as spreadsheets and other programs write them.  Each is
    // imported with xyz0, no header and every line (unless a last line is
    // given), into a document holding one point.
    void unusualFiles_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("comma");
        QTest::addColumn<QString>("last");
        QTest::addColumn<QString>("points");
        QTest::addColumn<QStringList>("messages");
        auto utf16le = [](const char* text) {
            QByteArray out("\xFF\xFE");
            for (const char* c = text; *c; ++c) out.append(*c).append('\0');
            return out;
        };
        const QString both = QStringLiteral("(1,2,3) (4,5,6)");
        const QByteArray blanks("1,2,3\r\n\r\n  \r\n4,5,6\r\n\r\n");
        QTest::newRow("blank lines, comma") << blanks << true << QString() << both << QStringList();
        QTest::newRow("blank lines, tab") << QByteArray(blanks).replace(',', '\t') << false << QString() << both << QStringList();
        QTest::newRow("utf-8 mark") << QByteArray("\xEF\xBB\xBF" "1,2,3\r\n4,5,6\r\n") << true << QString() << both << QStringList();
        QTest::newRow("utf-16") << utf16le("1\t2\t3\r\n4\t5\t6\r\n") << false << QString() << both << QStringList();
        QTest::newRow("quoted") << QByteArray("\"1\",\"2\",\"3\"\r\n\"4\",\"5\",\"6\"\r\n") << true << QString() << both << QStringList();
        QTest::newRow("text in a tab file") << QByteArray("1 2 3 abc\r\n4 5 6\r\n") << false << QString() << QString()
                                            << QStringList{"Error importing data: Type mismatch in line 1: \"abc\""};
        // Seven numbers in records of three: the third misses two fields, a
        // fourth record finds the end of the file.
        const QByteArray seven("1 2\n3 4\n5 6\n7\n");
        const QString three = QStringLiteral("(1,2,3) (4,5,6) (7,0,0)");
        QTest::newRow("stream cut short") << seven << false << QStringLiteral("3") << three
                                          << QStringList{"Data format error", "Data format error"};
        QTest::newRow("stream cut short, one more") << seven << false << QStringLiteral("4") << three
                                                    << QStringList(3, QStringLiteral("Data format error"));
        QTest::newRow("last line past the end") << QByteArray("1,2,3\r\n4,5,6\r\n") << true << QStringLiteral("40000") << both
                                                << QStringList{"Data format error"};
        QByteArray many;
        for (int i = 1; i <= 31010; ++i) many += QByteArray::number(i % 1000) + ",1,1\r\n";
        QTest::newRow("cut at the limit") << many << true << QString() << QStringLiteral("31000 points")
                                          << QStringList{"Only the first 31000 points were imported, the most one import "
                                                         "takes: 31000 lines were read and 10 lines were left."};
    }
    void unusualFiles() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, comma);
        QFETCH(QString, last);
        QFETCH(QString, points);
        QFETCH(QStringList, messages);
        QTemporaryDir dir;
        auto w = registered();
        addDatum(*w, 9, 9, 9, 1);
        w->doc.DataChanged = false;
        runImport(*w, writeFile(dir, "in.txt", bytes), structural("xyz0", comma, "0", last));
        QCOMPARE(::messages(), messages);
        const Document& d = w->doc;
        QCOMPARE(w->markers->labDat.count(), d.DatCount);
        QCOMPARE(d.DataChanged, !points.isEmpty());
        if (d.DatCount > 10) {
            QCOMPARE(QStringLiteral("%1 points").arg(d.DatCount - 1), points);
            return;
        }
        QStringList got;
        for (int i = 2; i <= d.DatCount; ++i)
            got << QStringLiteral("(%1,%2,%3)").arg(d.DatumPoints[size_t(i)].X).arg(d.DatumPoints[size_t(i)].Y)
                       .arg(d.DatumPoints[size_t(i)].Z);
        QCOMPARE(got.join(u' '), points);
    }

    void tooManyPointsTakesTheImportBack() {
        QTemporaryDir dir;
        auto w = registered();
        Document& d = w->doc;
        d.DatumPoints.assign(32767, DataPoint{});
        d.DatCount = 32766;
        for (int i = 1; i <= d.DatCount; ++i) {
            d.DatumPoints[size_t(i)].Number = int16_t(i);
            w->markers->labDat.load(i);
        }
        w->markers->labDat[32766].Caption = QStringLiteral("kept");
        const QString path = writeFile(dir, "three.txt", "1,1,1\n2,2,2\n3,3,3\n");
        runImport(*w, path, structural("xyz0", true, "0"));
        QCOMPARE(messages(), QStringList{"Error importing data: Overflow"});
        QCOMPARE(d.DatCount, 32766);
        QCOMPARE(w->markers->labDat.count(), 32766);
        QCOMPARE(w->markers->labDat[32766].Caption, QStringLiteral("kept"));
        QCOMPARE(d.DatumPoints.size(), size_t(32767));
        QVERIFY(!d.DataChanged);
    }
};

VEX_TEST(ImportCommandTest);
#include "ImportCommandTest.moc"
