// The label file: its lines written by hand, the reader's groups of ten
// items, the old colour and font-size forms, and damaged files.
#include "common/TestRegistry.h"
#include "document/LabelFile.h"

#include <QTest>

namespace {

MapLabel label(const QString& text, float x, float y, long color = 0, int size = 12) {
    MapLabel l;
    l.Text = text;
    l.X = x;
    l.Y = y;
    l.FontBold = true;
    l.Color = float(color);
    l.FontName = "Arial";
    l.FontSize = int16_t(size);
    return l;
}

Document withLabels(std::vector<MapLabel> labels) {
    Document d;
    d.clearData();
    appendLabels(d, labels);
    return d;
}

} // namespace

class LabelFileTest : public QObject {
    Q_OBJECT
private slots:
    void path() {
        QCOMPARE(labelFilePath("/data/proj/map.vlm"), QString("/data/proj/map.lab"));
        QCOMPARE(labelFilePath("C:\\X\\A.VLM"), QString("C:\\X\\A.lab"));
    }

    void golden() {
        MapLabel a = label("Granite, upper", 1000.5f, -20.25f, 255, 12);
        MapLabel b = label("", .5f, 3e-7f, 16777215, 8);
        b.FontBold = false;
        b.FontItalic = true;
        b.FontName = "Times New Roman";
        b.FontStrikethru = true;
        b.FontUnderline = true;
        const Document d = withLabels({a, b});
        QCOMPARE(writeLabelFile(d),
                 QByteArray("\"Granite, upper\",1000.5,-20.25,#TRUE#,255,#FALSE#,\"Arial\",12,#FALSE#,#FALSE#\r\n"
                            "\"\",.5,3E-07,#FALSE#,16777215,#TRUE#,\"Times New Roman\",8,#TRUE#,#TRUE#\r\n"));
        QCOMPARE(writeLabelFile(withLabels({})), QByteArray());
    }

    void roundTrip() {
        std::vector<MapLabel> labels;
        for (int i = 0; i < 40; ++i) {
            MapLabel l = label(QString("Label %1, \u00e9").arg(i), float(i) * 123.456f - 700, float(i) / 7.0f,
                               long(i) * 419430 % 16777216, 6 + i % 30);
            l.FontBold = i % 2;
            l.FontItalic = i % 3 == 0;
            l.FontStrikethru = i % 5 == 0;
            l.FontUnderline = i % 7 == 0;
            labels.push_back(l);
        }
        const LabelReadResult r = readLabelFile(writeLabelFile(withLabels(labels)));
        QVERIFY(!r.failed);
        QCOMPARE(r.labels.size(), labels.size());
        for (size_t i = 0; i < labels.size(); ++i) {
            const MapLabel& a = labels[i];
            const MapLabel& b = r.labels[i];
            QCOMPARE(b.Text, a.Text);
            QCOMPARE(b.X, a.X);
            QCOMPARE(b.Y, a.Y);
            QCOMPARE(b.FontBold, a.FontBold);
            QCOMPARE(b.Color, a.Color);
            QCOMPARE(b.FontItalic, a.FontItalic);
            QCOMPARE(b.FontName, a.FontName);
            QCOMPARE(b.FontSize, a.FontSize);
            QCOMPARE(b.FontStrikethru, a.FontStrikethru);
            QCOMPARE(b.FontUnderline, a.FontUnderline);
        }
    }

    // Colours are whole numbers: white keeps every digit.  Files written
    // with the old Single form still read, white coming back as white.
    void colours_data() {
        QTest::addColumn<QByteArray>("item");
        QTest::addColumn<float>("color");
        QTest::newRow("white") << QByteArray("16777215") << 16777215.0f;
        QTest::newRow("old white") << QByteArray("1.677722E+07") << 16777215.0f;
        QTest::newRow("old near white") << QByteArray("1.677721E+07") << 16777210.0f;
        QTest::newRow("red") << QByteArray("255") << 255.0f;
        QTest::newRow("blue, old form") << QByteArray("1.671168E+07") << 16711680.0f;
        QTest::newRow("fraction") << QByteArray("255.5") << 255.5f;
    }

    void colours() {
        QFETCH(QByteArray, item);
        QFETCH(float, color);
        const LabelReadResult r =
            readLabelFile("\"x\",1,2,#TRUE#," + item + ",#FALSE#,\"Arial\",12,#FALSE#,#FALSE#\r\n");
        QVERIFY(!r.failed);
        QCOMPARE(r.labels.size(), size_t(1));
        QCOMPARE(r.labels[0].Color, color);
        MapLabel w = label("w", 0, 0, 16777215);
        QVERIFY(writeLabelFile(withLabels({w})).contains(",16777215,"));
    }

    // The font size is an Integer: halves go to the even neighbour.
    void fontSizes_data() {
        QTest::addColumn<QByteArray>("item");
        QTest::addColumn<int>("size");
        QTest::newRow("10.5") << QByteArray("10.5") << 10;
        QTest::newRow("11.5") << QByteArray("11.5") << 12;
        QTest::newRow("9.75") << QByteArray("9.75") << 10;
        QTest::newRow("8") << QByteArray("8") << 8;
    }

    void fontSizes() {
        QFETCH(QByteArray, item);
        QFETCH(int, size);
        const LabelReadResult r =
            readLabelFile("\"x\",1,2,#TRUE#,0,#FALSE#,\"Arial\"," + item + ",#FALSE#,#FALSE#\r\n");
        QVERIFY(!r.failed);
        QCOMPARE(int(r.labels.at(0).FontSize), size);
    }

    // Items are read one by one: a record may run over several lines, and
    // line ends of every kind are accepted.
    void fieldsAcrossLines() {
        const QByteArray bytes = "\"A\",1,2\r\n#TRUE#,255\n#FALSE#\r\"Arial\",10,#FALSE#\r\n#TRUE#\r\n"
                                 "\"B\" , 3 , 4 , #false# , 0 , #true# , \"Courier\" , 9 , #FALSE# , #FALSE#";
        const LabelReadResult r = readLabelFile(bytes);
        QVERIFY2(!r.failed, qPrintable(r.errorDescription));
        QCOMPARE(r.labels.size(), size_t(2));
        QCOMPARE(r.labels[0].Text, QString("A"));
        QCOMPARE(r.labels[0].FontUnderline, true);
        QCOMPARE(r.labels[1].Text, QString("B"));
        QCOMPARE(r.labels[1].X, 3.0f);
        QCOMPARE(r.labels[1].FontBold, false);
        QCOMPARE(r.labels[1].FontItalic, true);
        QCOMPARE(r.labels[1].FontName, QString("Courier"));
    }

    // A damaged file: the labels before the damage stay, the half-read one
    // is dropped, and the reason is given.
    void damaged_data() {
        QTest::addColumn<QByteArray>("tail");
        QTest::addColumn<QString>("error");
        QTest::newRow("cut in a record") << QByteArray("\"C\",5,6,#TRUE#") << "Input past end of file";
        QTest::newRow("cut in a text") << QByteArray("\"C,5,6") << "Input past end of file";
        QTest::newRow("huge number") << QByteArray("\"C\",1e39,6,#TRUE#,0,#FALSE#,\"A\",1,#FALSE#,#FALSE#")
                                     << "Overflow";
        QTest::newRow("huge size") << QByteArray("\"C\",1,6,#TRUE#,0,#FALSE#,\"A\",40000,#FALSE#,#FALSE#")
                                   << "Overflow";
    }

    void damaged() {
        QFETCH(QByteArray, tail);
        QFETCH(QString, error);
        const QByteArray good = "\"A\",1,2,#TRUE#,0,#FALSE#,\"Arial\",12,#FALSE#,#FALSE#\r\n"
                                "\"B\",3,4,#TRUE#,0,#FALSE#,\"Arial\",12,#FALSE#,#FALSE#\r\n";
        const LabelReadResult r = readLabelFile(good + tail);
        QVERIFY(r.failed);
        QCOMPARE(r.errorDescription, error);
        QCOMPARE(r.labels.size(), size_t(2));
        QCOMPARE(r.labels[1].Text, QString("B"));
    }

    // Every cut of a good file reads without a crash and keeps the labels
    // whose lines are whole.
    void cutAnywhere() {
        std::vector<MapLabel> labels{label("one", 1, 2, 3), label("two", 4, 5, 6), label("three", 7, 8, 9)};
        const QByteArray full = writeLabelFile(withLabels(labels));
        for (int len = 0; len <= full.size(); ++len) {
            const QByteArray cut = full.left(len);
            const LabelReadResult r = readLabelFile(cut);
            const int wholeLines = int(cut.count('\n'));
            QVERIFY(int(r.labels.size()) >= wholeLines);
            QVERIFY(r.labels.size() <= 3);
            for (int i = 0; i < wholeLines; ++i) QCOMPARE(r.labels[size_t(i)].Text, labels[size_t(i)].Text);
        }
    }

    // Blank lines at the end are not a label.
    void trailingBlankLines() {
        const LabelReadResult r =
            readLabelFile("\"A\",1,2,#TRUE#,0,#FALSE#,\"Arial\",12,#FALSE#,#FALSE#\r\n\r\n  \r\n");
        QVERIFY(!r.failed);
        QCOMPARE(r.labels.size(), size_t(1));
        QVERIFY(!readLabelFile("").failed);
        QVERIFY(readLabelFile("").labels.empty());
    }

    // A double quote inside a text would cut the text and shift the items:
    // it is written as two single quotes, and the line reads back whole.
    void quoteInText() {
        MapLabel l = label("The \"Big\" Fault", 1, 2);
        l.FontName = "Odd\"Font";
        const QByteArray bytes = writeLabelFile(withLabels({l, label("next", 3, 4)}));
        QVERIFY(bytes.startsWith("\"The ''Big'' Fault\",1,2,"));
        const LabelReadResult r = readLabelFile(bytes);
        QVERIFY(!r.failed);
        QCOMPARE(r.labels.size(), size_t(2));
        QCOMPARE(r.labels[0].Text, QString("The ''Big'' Fault"));
        QCOMPARE(r.labels[0].FontName, QString("Odd''Font"));
        QCOMPARE(r.labels[1].Text, QString("next"));
        QCOMPARE(r.labels[1].X, 3.0f);
    }

    // The label count is 16-bit: a file cannot take it past 32767.
    void countLimit() {
        const QByteArray line = "\"A\",1,2,#TRUE#,0,#FALSE#,\"Arial\",12,#FALSE#,#FALSE#\r\n";
        const LabelReadResult r = readLabelFile(line + line + line, 32765);
        QVERIFY(r.failed);
        QCOMPARE(r.errorDescription, QString("Overflow"));
        QCOMPARE(r.labels.size(), size_t(2));
    }

    // Labels read are appended after those already there.
    void append() {
        Document d = withLabels({label("a", 1, 1), label("b", 2, 2)});
        appendLabels(d, {label("c", 3, 3), label("d", 4, 4), label("e", 5, 5)});
        QCOMPARE(d.LabelCount, 5);
        QCOMPARE(int(d.MapLabels.size()), 6);
        QCOMPARE(d.MapLabels[3].Text, QString("c"));
        QCOMPARE(d.MapLabels[5].Text, QString("e"));
        appendLabels(d, {});
        QCOMPARE(d.LabelCount, 5);
    }
};

VEX_TEST(LabelFileTest);
#include "LabelFileTest.moc"
