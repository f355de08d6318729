// The export file text: rows in each column order and delimiter, number
// formats by units and kind, the header block, the contact filter and the
// grid node order.
#include "common/TestRegistry.h"
#include "document/Legacy.h"
#include "exchange/ExportFormat.h"
#include "map/Projections.h"

#include <QTest>

using exportfmt::PointExportOptions;

namespace {

Document linearDoc(const QString& units = QStringLiteral("Meters")) {
    Document d;
    d.ProjectionName = QStringLiteral("Linear Coordinates");
    d.CoordUnits = units;
    d.DataFileName = QStringLiteral("/data/site.vlm");
    return d;
}

void addDatum(Document& d, float x, float y, float z) {
    if (d.DatumPoints.empty()) d.DatumPoints.resize(1);
    DataPoint p;
    p.Number = int16_t(d.DatCount + 1);
    p.X = x;
    p.Y = y;
    p.Z = z;
    d.DatumPoints.push_back(p);
    ++d.DatCount;
}

void addContour(Document& d, float x, float y, float z) {
    if (d.ContourPoints.empty()) d.ContourPoints.resize(1);
    DataPoint p;
    p.X = x;
    p.Y = y;
    p.Z = z;
    d.ContourPoints.push_back(p);
    ++d.ConCount;
}

} // namespace

class ExportFormatTest : public QObject {
    Q_OBJECT
private slots:
    void rows_data() {
        QTest::addColumn<QString>("units");
        QTest::addColumn<bool>("contacts");
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("tab");
        QTest::addColumn<QString>("row");
        QTest::newRow("linear xyz comma") << "Meters" << false << "xyz" << false << "1.00, 3.00, 1.50";
        QTest::newRow("feet yxz comma") << "Feet" << false << "yxz" << false << "3.00, 1.00, 1.50";
        QTest::newRow("degrees zxy comma") << "Degrees" << false << "zxy" << false << "1.50, 1.00000, 3.00000";
        QTest::newRow("degrees zyx comma") << "Degrees" << false << "zyx" << false << "1.50, 3.00000, 1.00000";
        QTest::newRow("contacts xyz comma") << "Meters" << true << "xyz" << false << "1.00, 3.00, 2";
        QTest::newRow("xy0 comma") << "Meters" << false << "xy0" << false << "1.00, 3.00";
        QTest::newRow("yx0 tab") << "Meters" << false << "yx0" << true << "3.00          1.00";
        QTest::newRow("xyz tab") << "Meters" << false << "xyz" << true << "1.00          3.00          1.50";
        QTest::newRow("outside code") << "Meters" << false << "0xy" << false << "";
    }
    void rows() {
        QFETCH(QString, units);
        QFETCH(bool, contacts);
        QFETCH(QString, code);
        QFETCH(bool, tab);
        QFETCH(QString, row);
        Document d = linearDoc(units);
        PointExportOptions o;
        o.columnOrder = code;
        o.tab = tab;
        o.contacts = contacts;
        QCOMPARE(exportfmt::pointRow(d, o, 1.0, 3.0, contacts ? 2.0f : 1.5f), row);
    }

    void pointsInOrderDatumFirst() {
        Document d = linearDoc();
        addDatum(d, 1, 3, 1.5f);
        addDatum(d, 2, 4, 2);
        addContour(d, 5, 6, 7);
        PointExportOptions o;
        o.columnOrder = QStringLiteral("xyz");
        o.tab = false;
        QCOMPARE(exportfmt::buildPointExport(d, o), (QStringList{"1.00, 3.00, 1.50", "2.00, 4.00, 2.00", "5.00, 6.00, 7.00"}));
    }

    void headerBlock_data() {
        QTest::addColumn<QString>("units");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("linear xyz") << "Meters" << "xyz"
                                    << QStringList{"site Exported Data: ", "",
                                                   "East.         North.        Depth", QString(39, '='), ""};
        QTest::newRow("degrees zxy") << "Degrees" << "zxy"
                                     << QStringList{"site Exported Data: ", "",
                                                    "Depth         Long.         Lat.", QString(39, '='), ""};
        QTest::newRow("two columns") << "Meters" << "yx0"
                                     << QStringList{"site Exported Data: ", "", "North.        East.",
                                                    QString(24, '='), ""};
        QTest::newRow("outside code") << "Meters" << "z00" << QStringList{"site Exported Data: ", "", ""};
    }
    void headerBlock() {
        QFETCH(QString, units);
        QFETCH(QString, code);
        QFETCH(QStringList, expected);
        Document d = linearDoc(units);
        addDatum(d, 1, 2, 3);
        PointExportOptions o;
        o.columnOrder = code;
        o.header = true;
        o.dataText = QStringLiteral("Depth");
        QStringList lines = exportfmt::buildPointExport(d, o);
        if (exportfmt::isRowCode(code)) lines.removeLast(); // the one row
        QCOMPARE(lines, expected);
    }

    void contactTitle_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("contact");
        QTest::addColumn<QString>("title");
        QTest::newRow("all, Data") << "Data" << "" << "site Exported Data: All Data";
        QTest::newRow("all, own text") << "Contact" << "" << "site Exported Data: All Contact(s)";
        QTest::newRow("one, Data") << "Data" << "3" << "site Exported Data: Data 3";
        QTest::newRow("one, own text") << "Contact" << "3" << "site Exported Data: Contact 3";
    }
    void contactTitle() {
        QFETCH(QString, text);
        QFETCH(QString, contact);
        QFETCH(QString, title);
        Document d = linearDoc();
        PointExportOptions o;
        o.columnOrder = QStringLiteral("xyz");
        o.header = true;
        o.contacts = true;
        o.dataText = text;
        if (!contact.isEmpty()) o.contact = contact;
        QCOMPARE(exportfmt::headerLines(d, o).first(), title);
    }

    void shortProjectNameFailsHeader() {
        Document d = linearDoc();
        d.DataFileName = QStringLiteral("/x/a.v");
        addDatum(d, 1, 2, 3);
        PointExportOptions o;
        o.columnOrder = QStringLiteral("xyz");
        o.header = true;
        QVERIFY_THROWS_EXCEPTION(legacy::Error, exportfmt::buildPointExport(d, o));
    }

    void contactFilterKeepsOneContact() {
        Document d = linearDoc();
        addDatum(d, 1, 1, 3);
        addDatum(d, 2, 2, 4);
        addDatum(d, 3, 3, 3);
        PointExportOptions o;
        o.columnOrder = QStringLiteral("xyz");
        o.tab = false;
        o.contacts = true;
        o.contact = QStringLiteral("3");
        QCOMPARE(exportfmt::buildPointExport(d, o), (QStringList{"1.00, 1.00, 3", "3.00, 3.00, 3"}));
        o.contact.reset();
        QCOMPARE(exportfmt::buildPointExport(d, o).size(), 3);
    }

    void outsideCodeWritesNoRows() {
        Document d = linearDoc();
        addDatum(d, 1, 1, 3);
        PointExportOptions o;
        o.columnOrder = QStringLiteral("0xy");
        QVERIFY(exportfmt::buildPointExport(d, o).isEmpty());
    }

    void transverseMercatorRowsInDegrees() {
        Document d = linearDoc(QStringLiteral("Degrees"));
        d.ProjectionName = QStringLiteral("Transverse Mercator");
        d.ProjScaleX = 1;
        d.ProjScaleY = 1;
        d.CentralMeridian = float(DegRad(-100, true));
        d.CentralParallel = 0;
        const float x = ProjectTransverseMercator(d, -95, 40, true, true);
        const float y = ProjectTransverseMercator(d, -95, 40, true, false);
        addDatum(d, x, y, 12.5f);
        PointExportOptions o;
        o.columnOrder = QStringLiteral("xyz");
        o.tab = false;
        QCOMPARE(exportfmt::buildPointExport(d, o), QStringList{"-95.00000, 40.00000, 12.50"});
    }

    void standardMercatorInvertsLatitudeOnly() {
        Document d = linearDoc(QStringLiteral("Degrees"));
        d.ProjectionName = QStringLiteral("Standard Mercator");
        d.ProjScaleY = 1;
        d.ProjScaleX = 1;
        const float y = ProjectMercator(d, 30, true);
        addDatum(d, 12.25f, y, 1);
        double ex = 0, ey = 0;
        exportfmt::exportedXY(d, d.DatumPoints[1], ex, ey);
        QCOMPARE(ex, 12.25);
        QCOMPARE(legacy::Format(ey, "0.00000"), QStringLiteral("30.00000"));
    }

    void gridNodeOrder() {
        PointGrid g;
        g.resize(3, 2);
        for (int i = 1; i <= 3; ++i)
            for (int j = 1; j <= 2; ++j) {
                g.at(i, j).X = float(i);
                g.at(i, j).Y = float(j);
                g.at(i, j).Z = float(i * 10 + j) + 0.25f;
            }
        const QStringList lines = legacy::splitLines(legacy::decodeLatin1(exportfmt::gridExportText(g, 3, 2)));
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines[0], QStringLiteral("1.0           1.0           11.3"));
        QCOMPARE(lines[1], QStringLiteral("1.0           2.0           12.3"));
        QCOMPARE(lines[2].left(8), QStringLiteral("2.0     "));
        QCOMPARE(lines[5], QStringLiteral("3.0           2.0           32.3"));
        QVERIFY(exportfmt::gridExportText(g, 3, 2).endsWith("\r\n"));
    }
};

VEX_TEST(ExportFormatTest);
#include "ExportFormatTest.moc"
