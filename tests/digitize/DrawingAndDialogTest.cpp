// What the scenarios cannot say as text: the pixels of contact lines and
// labels, "Halt Show" pressed while the drawing lets events run, and the
// font dialog with its colour choice, filled, read back and shown by the
// real dialog provider.
#include "common/DigitizeSupport.h"
#include "common/TestRegistry.h"
#include "digitize/ContactDisplay.h"
#include "digitize/FontColorDialog.h"
#include "digitize/LabelCommands.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace testsupport;

namespace {

// Contact 5 of three points numbered 3, 1, 2, contact 1 of two, in the point view.
std::unique_ptr<MainWindow> twoContacts() {
    auto w = startLinearWindow(300, 600);
    w->optRock->setValue(true);
    Document& d = w->doc;
    d.DatumPoints = {{},
                     {3, 250, 200, 5, false},
                     {1, 300, 250, 5, false},
                     {2, 400, 200, 5, false},
                     {1, 200, 300, 1, false},
                     {2, 300, 320, 1, false}};
    d.DatCount = 5;
    for (int i = 1; i <= 5; ++i)
        w->markers->labDat.load(i).Visible = true;
    w->cmdShow->setEnabled(true);
    return w;
}

// How many pixels of the marker layer in `r` are near `colour`.
int pixels(MainWindow& w, const QRect& r, QColor colour) {
    const QImage img = w.markers->grab().toImage();
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QColor c = img.pixelColor(x, y);
            n += qAbs(c.red() - colour.red()) < 80 && qAbs(c.green() - colour.green()) < 80 &&
                 qAbs(c.blue() - colour.blue()) < 80;
        }
    return n;
}

dlg::CommonDialog sample() {
    dlg::CommonDialog cd;
    cd.FontName = QStringLiteral("Arial");
    cd.FontSize = 10.5;
    cd.FontBold = cd.FontUnderline = true;
    cd.Color = 0x008000;
    return cd;
}

} // namespace

class DrawingAndDialogTest : public QObject {
    Q_OBJECT
private slots:
    void init() { dialogs().clear(); }
    void cleanup() {
        MainWindow::DoEvents = [] { QCoreApplication::processEvents(); };
    }

    void linesAndLabelsArePainted() {
        // A blue line (0xFF0000 as a colour number) from frame (900, 1200) to
        // (2700, 1200), pixel row 80 from 60 to 180; a red label below it.
        auto w = startLinearWindow(300, 600);
        w->optRock->setValue(true);
        w->doc.DatumPoints = {{}, {1, 100, 900, 2, false}, {2, 400, 900, 2, false}};
        w->doc.DatCount = 2;
        for (int i : {1, 2})
            w->markers->labDat.load(i).ForeColor = 0xFF0000;
        cursorAt(*w, 3000, 3000);
        dialogs().queue(QStringLiteral("WWWW"));
        w->labelCommands->LabelNew();
        w->doc.CurLabel = 1;
        dialogs().queue(dlg::FontChoice{QStringLiteral("Arial"), 20, true, false, false, false, 0x0000FF});
        w->mnuContactFont->trigger();
        w->imPoints->setVisible(false);
        w->imContacts->setVisible(true);
        w->contactDisplay->ContactShow();
        QVERIFY2(pixels(*w, QRect(62, 80, 116, 1), Qt::blue) > 100, "line");
        const Marker& m = w->markers->labMap[1];
        QVERIFY2(pixels(*w, twips::rect(m.Left, m.Top, m.Width, m.Height), Qt::red) > 10, "label");
    }

    void haltShowStopsAfterTheFirstSegment() {
        auto w = twoContacts();
        // The contact plot keeps a picture of its own.
        QImage own(40, 40, QImage::Format_RGB32);
        own.fill(Qt::white);
        w->imContacts->setPicture(own);
        int pumps = 0;
        // The click on "Halt Show" waits in the queue when the drawing lets
        // events run, once, before its first segment.
        MainWindow::DoEvents = [&] {
            ++pumps;
            if (w->cmdShow->text() == QLatin1String("Halt Show")) w->cmdShow_Click();
        };
        w->cmdShow_Click();
        QCOMPARE(pumps, 1);
        QCOMPARE(w->doc.ContactLineCount, 1);
        QVERIFY(!w->doc.ContoursCurrent);
        QVERIFY(w->labText->text() != QStringLiteral("All Contacts: Map"));
        QCOMPARE(w->cmdShow->text(), QStringLiteral("Show Points"));
        QCOMPARE(w->imContacts->picture().size(), QSize(40, 40));
        // The next drawing is not cut short by the old stop request.
        MainWindow::DoEvents = [&] { ++pumps; };
        w->mnuViewShowContactShowAll->trigger();
        QCOMPARE(pumps, 3);
        QCOMPARE(w->doc.ContactLineCount, 5);
        QVERIFY(w->doc.ContoursCurrent);
    }

    void fontDialogFields() {
        FontColorDialog d;
        d.setChoice(sample());
        QCOMPARE(d.fontName()->currentText() + d.fontSize()->currentText() + d.color()->currentText(),
                 "Arial10.5Green");
        dlg::CommonDialog out;
        d.choice(out);
        QCOMPARE(out.FontName + QString::number(out.FontSize), "Arial10.5");
        QVERIFY(out.FontBold && !out.FontItalic && !out.FontStrikethru && out.FontUnderline);
        QCOMPARE(out.Color, 0x008000L);
        d.fontName()->setCurrentText(QStringLiteral("Courier New"));
        d.fontSize()->setCurrentText(QStringLiteral("14"));
        d.bold()->setChecked(false);
        d.italic()->setChecked(true);
        d.strike()->setChecked(true);
        d.color()->setCurrentIndex(d.color()->findText(QStringLiteral("Red")));
        d.choice(out);
        QCOMPARE(out.FontName + QString::number(out.FontSize), "Courier New14");
        QVERIFY(!out.FontBold && out.FontItalic && out.FontStrikethru);
        QCOMPARE(out.Color, 0x0000FFL);
        // A size must be a positive number; one that is not leaves the size as given.
        auto* ok = d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        const std::pair<const char*, double> sizes[] = {{"12", 12}, {"10.5", 10.5}, {"big", 7},
                                                        {"0", 7},   {"10,5", 7},    {"", 7}};
        for (auto [typed, size] : sizes) {
            d.fontSize()->setCurrentText(QString::fromLatin1(typed));
            QCOMPARE(ok->isEnabled(), size != 7);
            out.FontSize = 7;
            d.choice(out);
            QCOMPARE(out.FontSize, size);
        }
        // A colour outside the sixteen is kept, with one custom entry.
        dlg::CommonDialog custom = sample();
        custom.Color = 0x123456;
        d.setChoice(custom);
        QCOMPARE(d.color()->currentText(), QStringLiteral("Custom"));
        custom.Color = 0x654321;
        d.setChoice(custom);
        QCOMPARE(d.color()->count(), int(FontColorDialog::standardColors().size()) + 1);
        d.choice(out);
        QCOMPARE(out.Color, 0x654321L);
    }

    void realProviderShowsTheFontDialog() {
        // The application's provider asks through this dialog: answer it
        // with a click on OK after changing the colour.
        dlg::setProvider(std::make_unique<dlg::QtProvider>());
        bool seen = false;
        QTimer::singleShot(0, [&] {
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* d = qobject_cast<FontColorDialog*>(top); d && d->isVisible()) {
                    seen = true;
                    d->color()->setCurrentIndex(d->color()->findText(QStringLiteral("Blue")));
                    d->accept();
                }
        });
        // Never wait on a person, whatever happens above.
        QTimer::singleShot(5000, [] {
            if (QWidget* m = QApplication::activeModalWidget()) m->close();
        });
        dlg::CommonDialog cd = sample();
        const bool ok = dlg::showFont(cd);
        installScriptedDialogs();
        QVERIFY(seen && ok);
        QCOMPARE(cd.Color, 0xFF0000L);
        QCOMPARE(cd.FontSize, 10.5);
    }
};

VEX_TEST(DrawingAndDialogTest);
#include "DrawingAndDialogTest.moc"
