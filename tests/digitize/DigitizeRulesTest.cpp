// The digitizing rules that need no window: point records and keys,
// renumbering, contact numbers, lists, order and line segments, the click
// decisions, and where labels stand and how they look.  The cases, with
// their hand-computed results, are the lines of digitize/rules.txt.
#include "common/DigitizeSupport.h"
#include "common/TestRegistry.h"
#include "digitize/ContactSegments.h"
#include "digitize/Contacts.h"
#include "digitize/LabelLayout.h"
#include "digitize/MapClicks.h"
#include "digitize/PointRecords.h"
#include "document/Legacy.h"

#include <QFile>
#include <QTest>

using testsupport::pointsText;

namespace {

// Records from "number/z" words, a '*' marking a combined one; X holds the index.
std::vector<DataPoint> recs(const QString& s) {
    std::vector<DataPoint> v(1);
    for (QString t : s.split(' ', Qt::SkipEmptyParts))
        v.push_back({int16_t(t.section('/', 0, 0).toInt()), float(v.size()), 0,
                     t.section('/', 1).remove('*').toFloat(), t.endsWith('*')});
    return v;
}

template <typename T> QString join(const T& list) {
    QStringList out;
    for (auto x : list)
        out << QString::number(x);
    return out.join(' ');
}

std::vector<int16_t> shorts(const QString& s, bool unusedFirst) {
    std::vector<int16_t> v(unusedFirst ? 1 : 0);
    for (const QString& t : s.split(' ', Qt::SkipEmptyParts))
        v.push_back(int16_t(t.toInt()));
    return v;
}

QString segmentsText(const std::vector<ContactSegment>& s) {
    QStringList out;
    for (const ContactSegment& g : s)
        out << QStringLiteral("%1>%2").arg(g.from).arg(g.to);
    return out.join(' ');
}

// The result of `rule` for its input fields (separated by ';' in the file).
QString apply(const QString& rule, const QStringList& f) {
    const QStringList a = f[0].split(' ', Qt::SkipEmptyParts);
    auto n = [&](int i) { return a[i].toDouble(); };
    std::vector<DataPoint> v = recs(f[0]);
    int count = int(v.size()) - 1;
    if (rule == "key") {
        const points::PointKey k = points::ParsePointKey(f[0]);
        return points::PointKeyText(k.datum, k.index);
    }
    if (rule == "clamp") return QString::number(points::ClampPointNumber(legacy::NumVal(f[0]), 5));
    if (rule == "delete") {
        points::DeletePoint(v, count, f[1].toInt());
        const QString after = pointsText(v, count);
        points::AppendPoint(v, count);
        return after + " ; " + pointsText(v, count);
    }
    if (rule == "renumber") {
        const QStringList m = f[1].split(' ');
        const std::vector<int> changed = points::RenumberPoint(v, count, m[0].toInt(), int16_t(m[1].toInt()));
        return pointsText(v, count) + " ; " + join(changed);
    }
    if (rule == "datnum") return QString::number(contacts::MapDatNum(v, count, f[1].toFloat()));
    if (rule == "designators") {
        v.resize(1);
        for (const QString& z : a)
            v.push_back({0, 0, 0, z.toFloat(), false});
        return join(contacts::ContactDesignators(v, int(a.size())));
    }
    if (rule == "order") {
        contacts::OrderPoints(v, count, shorts(f[1], false));
        QStringList from;
        for (int i = 1; i <= count; ++i)
            from << QString::number(v[size_t(i)].X);
        return pointsText(v, count) + " ; " + from.join(' ');
    }
    if (rule == "segments") {
        const std::vector<int16_t> list = shorts(f[1], true);
        const QString s = segmentsText(contactSegments(v, count, list, int(list.size()) - 1, f[2]));
        // Counts beyond the arrays (an inconsistent document) read nothing past the end.
        const QString beyond = segmentsText(contactSegments(v, count + 50, list, int(list.size()) + 9, f[2]));
        return s == beyond ? s : s + " / " + beyond;
    }
    if (rule == "filter")
        return QStringLiteral("%1 %2").arg(contactDrawn(int(n(0)), a[1])).arg(contactMarkerShown(n(0), a[1]));
    if (rule == "step") return QString::number(stepContactIndex(int(n(0)), int(n(1)), int(n(2))));
    if (rule == "click") {
        const MapClickState s{n(0) != 0, n(1) != 0, n(2) != 0, int(n(3)), n(4) != 0, n(5) != 0};
        const char* names[] = {"Nothing", "Register", "NewLabel", "MoveLabel", "RecordPoint"};
        return QString::fromLatin1(names[int(decideMapPictureClick(s))]) + ' ' +
               names[int(decideContactOverlayClick(s))];
    }
    if (rule == "ref") {
        const RefMarkerDecision d = decideRefMarkerClick(int(n(0)), n(1) != 0, int(n(2)), int(n(3)));
        const char* names[] = {"Nothing", "SecondPoint", "BothPoints"};
        return QString::fromLatin1(names[int(d.clear)]) + ' ' + QString::number(d.askMap);
    }
    // Map X 1000..3000 and Y 5000..4000 over an overlay of 6000 x 3000 twips at (300, 600).
    Document d;
    d.MapOriginX = 1000;
    d.MapOriginY = 5000;
    d.MapSpanX = a.contains("flat") ? 0 : 2000;
    d.MapSpanY = 1000;
    const OverlayBox box{300, 600, 6000, 3000};
    QPointF p;
    if (rule == "overlay")
        p = mapToOverlay(d, n(0), n(1), box);
    else if (rule == "topleft")
        p = labelTopLeft(d, n(0), n(1), n(2), n(3), box);
    else if (rule == "colour")
        return QString::number(labelColorNumber(f[0].toFloat()));
    else
        return "unknown rule";
    return QStringLiteral("%1 %2").arg(p.x()).arg(p.y());
}

} // namespace

class DigitizeRulesTest : public QObject {
    Q_OBJECT
private slots:
    void rules_data() {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QStringList>("input");
        QTest::addColumn<QString>("expected");
        QFile f(qEnvironmentVariable("VEXOLAN_TEST_DATA") + "/digitize/rules.txt");
        QVERIFY(f.open(QIODevice::ReadOnly | QIODevice::Text));
        for (int line = 1; !f.atEnd(); ++line) {
            const QString text = QString::fromUtf8(f.readLine()).trimmed();
            if (text.isEmpty() || text.startsWith('#')) continue;
            const QString rule = text.section(' ', 0, 0), rest = text.section(' ', 1);
            QStringList input;
            for (const QString& field : rest.section("=>", 0, 0).split(';'))
                input << field.trimmed();
            QTest::addRow("%d %s", line, qPrintable(text))
                << rule << input << rest.section("=>", 1).trimmed();
        }
    }
    void rules() {
        QFETCH(QString, rule);
        QFETCH(QStringList, input);
        QString result;
        try {
            result = apply(rule, input);
        } catch (const legacy::Error& e) {
            result = e.description();
        }
        QTEST(result, "expected");
    }

    void appendPastTheLimitChangesNothing() {
        std::vector<DataPoint> full(32768);
        int count = 32767;
        QVERIFY_THROWS_EXCEPTION(legacy::Error, points::AppendPoint(full, count));
        QCOMPARE(count, 32767);
        QCOMPARE(full.size(), size_t(32768));
    }

    void labelStyle() {
        MapLabel rec;
        rec.Text = QStringLiteral("Granite");
        rec.FontName = QStringLiteral("Arial");
        rec.FontSize = 14;
        rec.FontItalic = rec.FontUnderline = true;
        rec.Color = 32768;
        Marker m, longer, larger;
        applyLabel(m, rec);
        QCOMPARE(m.Caption + m.Font.family() + QString::number(m.Font.pointSizeF()), "GraniteArial14");
        QCOMPARE(m.ForeColor, 32768L);
        QVERIFY(m.Font.italic() && m.Font.underline() && !m.Font.bold() && !m.Font.strikeOut());
        // A longer text makes a wider label, a larger font a taller one.
        rec.Text = QStringLiteral("Granite and gneiss");
        applyLabel(longer, rec);
        rec.FontSize = 28;
        applyLabel(larger, rec);
        QVERIFY(m.Height > 0 && longer.Width > m.Width && larger.Height > m.Height);
        // The first label's style comes from the template.
        m.Font = labelFont(QStringLiteral("Arial"), 12, true, false, false, false);
        m.ForeColor = 255;
        MapLabel first;
        takeTemplateStyle(first, m);
        QCOMPARE(first.FontName + QString::number(first.FontSize), "Arial12");
        QVERIFY(first.FontBold && !first.FontItalic && !first.FontStrikethru && !first.FontUnderline);
        QCOMPARE(first.Color, 255.0f);
    }
};

VEX_TEST(DigitizeRulesTest);
#include "DigitizeRulesTest.moc"
