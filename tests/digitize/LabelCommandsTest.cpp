// Placing, editing, restyling, moving and deleting text labels on the real
// main window, answered through the scripted dialogs.
#include "LabelTestWindow.h"
#include "app/Twips.h"
#include "common/TestRegistry.h"
#include "digitize/LabelCommands.h"
#include "map/MapView.h"
#include "platform/ColorNumber.h"

#include <QTest>

using namespace labeltest;

namespace {

// Adds a label with `text` at picture position (x, y).
void addLabel(MainWindow& w, const QString& text, double x, double y) {
    cursorAt(w, x, y);
    testsupport::dialogs().queue(text);
    w.labelCommands->LabelNew();
}

// Three labels "One", "Two", "Three" left to right.
void addThree(MainWindow& w) {
    addLabel(w, QStringLiteral("One"), 1000, 500);
    addLabel(w, QStringLiteral("Two"), 3000, 1500);
    addLabel(w, QStringLiteral("Three"), 5000, 2500);
}

QStringList texts(const MainWindow& w) {
    QStringList t;
    for (int i = 1; i <= w.doc.LabelCount; ++i) t << w.doc.MapLabels[static_cast<size_t>(i)].Text;
    return t;
}

} // namespace

class LabelCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { testsupport::dialogs().clear(); }

    void firstLabelTakesTheTemplateAndCentresOnTheCursor() {
        auto w = startRegistered();
        addLabel(*w, QStringLiteral("Granite"), 1500, 900);
        auto& p = testsupport::dialogs().prompts;
        QCOMPARE(p.size(), size_t(1));
        QCOMPARE(p[0].text, QStringLiteral("Enter a label"));
        QCOMPARE(p[0].title, dlg::applicationTitle());
        QCOMPARE(p[0].defaultText, QString());

        QCOMPARE(w->doc.LabelCount, 1);
        QCOMPARE(w->markers->labMap.count(), 1);
        const MapLabel& rec = w->doc.MapLabels[1];
        QCOMPARE(rec.Text, QStringLiteral("Granite"));
        QCOMPARE(rec.X, w->doc.CursorMapX);
        QCOMPARE(rec.Y, w->doc.CursorMapY);
        QCOMPARE(rec.FontName, QStringLiteral("Arial"));
        QCOMPARE(rec.FontSize, int16_t(12));
        QVERIFY(rec.FontBold && !rec.FontItalic && !rec.FontUnderline && !rec.FontStrikethru);
        QCOMPARE(long(rec.Color), w->markers->labMap.templ().ForeColor);

        const Marker& m = w->markers->labMap[1];
        QVERIFY(m.Visible);
        QCOMPARE(centre(m), QPointF(300 + 1500, 600 + 900));
        QVERIFY(w->doc.DataChanged);
    }

    void newLabelSurvivesTheNextRedraw() {
        auto w = startRegistered();
        // Labels switched on before any exists: there was nothing to show.
        w->mnuViewShowLabels->trigger();
        QVERIFY(w->mnuViewShowLabels->isChecked());
        QVERIFY(!w->LabelsShown);
        addLabel(*w, QStringLiteral("Granite"), 1500, 900);
        QVERIFY(w->LabelsShown);
        w->mapView->MapReplot();
        QVERIFY(w->markers->labMap[1].Visible);
        QVERIFY(w->mnuViewShowLabels->isChecked());
        QCOMPARE(centre(w->markers->labMap[1]), QPointF(300 + 1500, 600 + 900));
    }

    void newLabelCopiesTheLastLabelsStyle() {
        auto w = startRegistered();
        addLabel(*w, QStringLiteral("A"), 1000, 1000);
        w->doc.CurLabel = 1;
        testsupport::dialogs().queue(dlg::FontChoice{QStringLiteral("Courier New"), 8, false, true, false, false, 0x008000});
        w->labelCommands->mnuContactFont_Click();
        addLabel(*w, QStringLiteral("B"), 2000, 1000);
        const MapLabel& b = w->doc.MapLabels[2];
        QCOMPARE(b.Text, QStringLiteral("B"));
        QCOMPARE(b.FontName, QStringLiteral("Courier New"));
        QCOMPARE(b.FontSize, int16_t(8));
        QVERIFY(b.FontItalic && !b.FontBold);
        QCOMPARE(b.Color, float(0x008000));
        QCOMPARE(w->markers->labMap[2].ForeColor, long(0x008000));
    }

    void cancelledTextAddsNothingAndIsRemembered() {
        auto w = startRegistered();
        addLabel(*w, QStringLiteral("Shale"), 1000, 1000);
        testsupport::dialogs().queue(dlg::Cancel{});
        w->labelCommands->LabelNew();
        QCOMPARE(w->doc.LabelCount, 1);
        // The previous text was offered, and the empty answer becomes the next default.
        QCOMPARE(testsupport::dialogs().prompts[1].defaultText, QStringLiteral("Shale"));
        testsupport::dialogs().queue(dlg::Cancel{});
        w->labelCommands->LabelNew();
        QCOMPARE(testsupport::dialogs().prompts[2].defaultText, QString());
    }

    void sequentialModeOffersTheShownContact() {
        auto w = startRegistered();
        w->mnuViewShowContactShowSeq->setCheckable(true);
        w->mnuViewShowContactShowSeq->setChecked(true);
        w->doc.ContactShown = QStringLiteral("4");
        addLabel(*w, QStringLiteral("4"), 1000, 1000);
        QCOMPARE(testsupport::dialogs().prompts[0].defaultText, QStringLiteral("4"));
    }

    void moveLabelTwoOfThree() {
        auto w = startRegistered();
        addThree(*w);
        w->doc.CurLabel = 2;
        w->doc.DataChanged = false;
        w->labelCommands->mnuContactMove_Click();
        QVERIFY(!w->markers->labMap[2].Visible);
        QVERIFY(w->doc.MoveLabelMode);
        QVERIFY(w->doc.DataChanged);

        cursorAt(*w, 4500, 300);
        w->labelCommands->LabelMoveTo();
        QVERIFY(!w->doc.MoveLabelMode);
        const MapLabel& rec = w->doc.MapLabels[2];
        QCOMPARE(rec.X, w->doc.CursorMapX);
        QCOMPARE(rec.Y, w->doc.CursorMapY);
        QVERIFY(w->markers->labMap[2].Visible);
        QCOMPARE(centre(w->markers->labMap[2]), QPointF(300 + 4500, 600 + 300));
        // The others stay where they were.
        QCOMPARE(centre(w->markers->labMap[1]), QPointF(300 + 1000, 600 + 500));
        QCOMPARE(centre(w->markers->labMap[3]), QPointF(300 + 5000, 600 + 2500));
        // The next layout keeps the new place.
        w->labelCommands->LabelReplot();
        const QPointF c = centre(w->markers->labMap[2]);
        QVERIFY(qAbs(c.x() - 4800) < 0.01 && qAbs(c.y() - 900) < 0.01);
    }

    void editLabelTwoOfThreeKeepsItsCentre() {
        auto w = startRegistered();
        addThree(*w);
        w->doc.CurLabel = 2;
        const Marker before = w->markers->labMap[2];
        w->doc.DataChanged = false;
        testsupport::dialogs().queue(QStringLiteral("Two and a half"));
        w->labelCommands->mnuContactEdit_Click();
        auto& p = testsupport::dialogs().prompts.back();
        QCOMPARE(p.text, QStringLiteral("Enter a label"));
        QCOMPARE(p.defaultText, QStringLiteral("Two"));
        const Marker& after = w->markers->labMap[2];
        QCOMPARE(after.Caption, QStringLiteral("Two and a half"));
        QCOMPARE(w->doc.MapLabels[2].Text, QStringLiteral("Two and a half"));
        QVERIFY(after.Width > before.Width);
        QCOMPARE(centre(after).x(), centre(before).x());
        QCOMPARE(after.Top, before.Top);
        QCOMPARE(w->doc.MapLabels[2].X, w->doc.MapLabels[2].X);
        QVERIFY(w->doc.DataChanged);
        QCOMPARE(texts(*w), QStringList({"One", "Two and a half", "Three"}));

        // An empty answer changes nothing.
        w->doc.DataChanged = false;
        testsupport::dialogs().queue(dlg::Cancel{});
        w->labelCommands->mnuContactEdit_Click();
        QCOMPARE(w->doc.MapLabels[2].Text, QStringLiteral("Two and a half"));
        QVERIFY(!w->doc.DataChanged);
    }

    void deleteLabelTwoOfThree() {
        auto w = startRegistered();
        addThree(*w);
        const MapLabel third = w->doc.MapLabels[3];
        w->doc.CurLabel = 2;
        w->doc.DataChanged = false;
        w->labelCommands->mnuContactDelete_Click();
        QCOMPARE(w->doc.LabelCount, 2);
        QCOMPARE(w->markers->labMap.count(), 2);
        QCOMPARE(texts(*w), QStringList({"One", "Three"}));
        QCOMPARE(w->doc.MapLabels[2].X, third.X);
        QCOMPARE(w->doc.MapLabels[2].Y, third.Y);
        // Laid out again: the former label 3 stands at its anchor as label 2.
        QCOMPARE(w->markers->labMap[2].Caption, QStringLiteral("Three"));
        QVERIFY(w->markers->labMap[2].Visible);
        const QPointF c = centre(w->markers->labMap[2]);
        QVERIFY(qAbs(c.x() - 5300) < 0.01 && qAbs(c.y() - 3100) < 0.01);
        QVERIFY(w->doc.DataChanged);
        QVERIFY(w->mnuViewShowLabels->isChecked());
    }

    void deleteTheOnlyLabelKeepsTheLabelsItem() {
        auto w = startRegistered();
        addLabel(*w, QStringLiteral("Only"), 1000, 1000);
        w->mnuViewShowLabels->setChecked(false);
        w->doc.CurLabel = 1;
        w->labelCommands->mnuContactDelete_Click();
        QCOMPARE(w->doc.LabelCount, 0);
        QCOMPARE(w->markers->labMap.count(), 0);
        QVERIFY(!w->mnuViewShowLabels->isChecked());
    }

    void fontSizeWithFractionShowsAtOnceAndRecordKeepsWhole() {
        auto w = startRegistered();
        addLabel(*w, QStringLiteral("Basalt"), 3000, 1500);
        w->doc.CurLabel = 1;
        const QPointF before = centre(w->markers->labMap[1]);
        testsupport::dialogs().queue(dlg::FontChoice{QStringLiteral("Arial"), 10.5, true, false, true, true, 0xFF0000});
        w->labelCommands->mnuContactFont_Click();
        auto& p = testsupport::dialogs().prompts.back();
        QCOMPARE(p.kind, dlg::Prompt::Kind::Font);
        QCOMPARE(p.defaultText, QStringLiteral("Arial"));

        const Marker& m = w->markers->labMap[1];
        QCOMPARE(m.Font.pointSizeF(), 10.5);
        QVERIFY(m.Font.strikeOut() && m.Font.underline());
        QCOMPARE(m.ForeColor, long(0xFF0000));
        const QPointF after = centre(m);
        QVERIFY(qAbs(after.x() - before.x()) < 0.01 && qAbs(after.y() - before.y()) < 0.01);
        const MapLabel& rec = w->doc.MapLabels[1];
        QCOMPARE(rec.FontSize, int16_t(10));
        QVERIFY(rec.FontStrikethru && rec.FontUnderline && rec.FontBold);
        QCOMPARE(rec.Color, float(0xFF0000));

        w->labelCommands->LabelReplot();
        QCOMPARE(w->markers->labMap[1].Font.pointSizeF(), 10.0);
    }

    void cancelledFontDialogChangesNothing() {
        auto w = startRegistered();
        addLabel(*w, QStringLiteral("Basalt"), 3000, 1500);
        w->doc.CurLabel = 1;
        w->doc.DataChanged = false;
        const Marker before = w->markers->labMap[1];
        testsupport::dialogs().queue(dlg::Cancel{});
        w->labelCommands->mnuContactFont_Click();
        QCOMPARE(w->markers->labMap[1].Font, before.Font);
        QCOMPARE(w->markers->labMap[1].Left, before.Left);
        QVERIFY(!w->doc.DataChanged);
    }

    void popUpItemsOnAMissingLabelReportInsteadOfCrashing() {
        auto w = startRegistered();
        w->doc.CurLabel = 3;
        w->mnuContactDelete->trigger();
        auto& p = testsupport::dialogs().prompts;
        QCOMPARE(p.size(), size_t(1));
        QCOMPARE(p[0].text, QStringLiteral("mnuContactDelete error: \n\nSubscript out of range"));
        QCOMPARE(w->doc.LabelCount, 0);
    }

    void labelsArePaintedOnTheMapLayer() {
        auto w = startRegistered();
        addLabel(*w, QStringLiteral("WWWW"), 3000, 1500);
        w->doc.CurLabel = 1;
        testsupport::dialogs().queue(dlg::FontChoice{QStringLiteral("Arial"), 20, true, false, false, false, 0x0000FF});
        w->labelCommands->mnuContactFont_Click();
        const Marker& m = w->markers->labMap[1];
        const QImage img = w->markers->grab().toImage();
        const QRect r = twips::rect(m.Left, m.Top, m.Width, m.Height).intersected(img.rect());
        int red = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) {
                const QColor c = img.pixelColor(x, y);
                if (c.red() > 200 && c.green() < 80 && c.blue() < 80) ++red;
            }
        QVERIFY2(red > 10, qPrintable(QString::number(red)));
    }
};

VEX_TEST(LabelCommandsTest);
#include "LabelCommandsTest.moc"
