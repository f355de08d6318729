// The label file: a file written by hand read and written back byte for
// byte, the reader's groups of ten items, the old colour and font-size forms
// and damaged files.
#include "common/DocumentSupport.h"
#include "common/TestRegistry.h"
#include "common/TestTable.h"
#include "document/LabelFile.h"

#include <QTest>

namespace {

// A label as: text, x,y, colour, font, size, the flags set (Bold, Italic,
// Strikethru, Underline).
QString labelText(const MapLabel& l) {
    return QStringLiteral("%1 %2,%3 %4 %5 %6 ")
               .arg(l.Text, QString::number(l.X, 'g', 7), QString::number(l.Y, 'g', 7),
                    QString::number(l.Color, 'f', 1), l.FontName)
               .arg(l.FontSize) +
           (l.FontBold ? "B" : "") + (l.FontItalic ? "I" : "") + (l.FontStrikethru ? "S" : "") +
           (l.FontUnderline ? "U" : "");
}

// The labels read, "; " between them, then the error.
QString labelsText(const LabelReadResult& r) {
    QStringList out;
    for (const MapLabel& l : r.labels) out << labelText(l);
    return out.join(QStringLiteral("; ")) + QStringLiteral(" | ") + r.errorDescription;
}

const QByteArray kLine = "\"A\",1,2,#TRUE#,0,#FALSE#,\"Arial\",12,#FALSE#,#FALSE#\r\n";

} // namespace

class LabelFileTest : public QObject {
    Q_OBJECT
private slots:
    // Colours are whole numbers: white keeps every digit.  Labels are
    // appended after those already there.  A double quote inside a text
    // would cut the text and shift the items: it is written as two single
    // quotes, and the line reads back whole.
    void golden() {
        const QByteArray bytes = docsupport::dataFile("labels.lab");
        const LabelReadResult r = readLabelFile(bytes);
        QCOMPARE(labelsText(r), "Granite, upper 1000.5,-20.25 255.0 Arial 12 B;  0.5,3e-07 16777215.0 Times"
                                " New Roman 8 ISU; The ''Big'' Fault -700,0.1428571 419430.0 Odd''Font 36"
                                " BU | ");
        Document d;
        d.clearData();
        QCOMPARE(writeLabelFile(d), QByteArray());
        appendLabels(d, r.labels);
        appendLabels(d, {});
        QCOMPARE(writeLabelFile(d), bytes);
        appendLabels(d, {{"The \"Big\" Fault", 1, 2, true, 0, false, "Odd\"Font", 10}});
        QCOMPARE(writeLabelFile(d).mid(bytes.size()),
                 QByteArray("\"The ''Big'' Fault\",1,2,#TRUE#,0,#FALSE#,\"Odd''Font\",10,#FALSE#,"
                            "#FALSE#\r\n"));
    }

    void read_data() {
        testsupport::columns<QByteArray, int, QString>("bytes", "existing", "read");
        const auto line = [](const char* colour, const char* size = "12") {
            return "\"x\",1,2,#TRUE#," + QByteArray(colour) + ",#FALSE#,\"Arial\"," + size +
                   ",#FALSE#,#FALSE#\r\n";
        };
        // Files written with the old Single form read back, white as white.
        QTest::newRow("white") << line("16777215") << 0 << "x 1,2 16777215.0 Arial 12 B | ";
        QTest::newRow("old white") << line("1.677722E+07") << 0 << "x 1,2 16777215.0 Arial 12 B | ";
        QTest::newRow("old near white") << line("1.677721E+07") << 0 << "x 1,2 16777210.0 Arial 12 B | ";
        QTest::newRow("old blue") << line("1.671168E+07") << 0 << "x 1,2 16711680.0 Arial 12 B | ";
        QTest::newRow("fraction") << line("255.5") << 0 << "x 1,2 255.5 Arial 12 B | ";
        // The font size is an Integer: halves go to the even neighbour.
        QTest::newRow("10.5") << line("0", "10.5") << 0 << "x 1,2 0.0 Arial 10 B | ";
        QTest::newRow("11.5") << line("0", "11.5") << 0 << "x 1,2 0.0 Arial 12 B | ";
        QTest::newRow("9.75") << line("0", "9.75") << 0 << "x 1,2 0.0 Arial 10 B | ";
        // Items are read one by one: a record may run over several lines,
        // line ends of every kind are accepted, blank lines at the end are
        // not a label.
        QTest::newRow("items across lines")
            << QByteArray("\"A\",1,2\r\n#TRUE#,255\n#FALSE#\r\"Arial\",10,#FALSE#\r\n#TRUE#\r\n\"B\" , 3 ,"
                          " 4 , #false# , 0 , #true# , \"Courier\" , 9 , #FALSE# , #FALSE#\r\n\r\n  \r\n")
            << 0 << "A 1,2 255.0 Arial 10 BU; B 3,4 0.0 Courier 9 I | ";
        QTest::newRow("empty") << QByteArray() << 0 << " | ";
        // A damaged file: the labels before the damage stay, the half-read
        // one is dropped, and the reason is given.
        const QByteArray two = kLine + kLine;
        const QString twoRead = "A 1,2 0.0 Arial 12 B; A 1,2 0.0 Arial 12 B | ";
        const QString cut = twoRead + "Input past end of file";
        QTest::newRow("cut in a record") << two + "\"C\",5,6,#TRUE#" << 0 << cut;
        QTest::newRow("cut in a text") << two + "\"C,5,6" << 0 << cut;
        QTest::newRow("huge number") << two + "\"C\",1e39,6,#TRUE#,0,#FALSE#,\"A\",1,#FALSE#,#FALSE#" << 0
                                     << twoRead + "Overflow";
        QTest::newRow("huge size") << two + "\"C\",1,6,#TRUE#,0,#FALSE#,\"A\",40000,#FALSE#,#FALSE#" << 0
                                   << twoRead + "Overflow";
        // The label count is 16-bit: a file cannot take it past 32767.
        QTest::newRow("count limit") << two + kLine << 32765 << twoRead + "Overflow";
    }
    void read() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, existing);
        QFETCH(QString, read);
        const LabelReadResult r = readLabelFile(bytes, existing);
        QCOMPARE(labelsText(r), read);
        QCOMPARE(r.failed, !read.endsWith(" | "));
    }

    // Every cut of a good file reads without a crash and keeps the labels
    // whose lines are whole.
    void cutAnywhere() {
        const QByteArray full = docsupport::dataFile("labels.lab");
        const std::vector<MapLabel> all = readLabelFile(full).labels;
        for (int len = 0; len <= full.size(); ++len) {
            const LabelReadResult r = readLabelFile(full.left(len));
            const size_t whole = size_t(full.left(len).count('\n'));
            QVERIFY(r.labels.size() >= whole && r.labels.size() <= 3);
            for (size_t i = 0; i < whole; ++i) QCOMPARE(labelText(r.labels[i]), labelText(all[i]));
        }
    }
};

VEX_TEST(LabelFileTest);
#include "LabelFileTest.moc"
