// The font dialog with its colour choice: filled from the common dialog's
// fields and written back, and shown by the real dialog provider.
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "digitize/FontColorDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {
dlg::CommonDialog sample() {
    dlg::CommonDialog cd;
    cd.FontName = QStringLiteral("Arial");
    cd.FontSize = 10.5;
    cd.FontBold = true;
    cd.FontUnderline = true;
    cd.Color = 0x008000;
    return cd;
}
} // namespace

class LabelFontDialogTest : public QObject {
    Q_OBJECT
private slots:
    void roundTripKeepsEveryField() {
        FontColorDialog d;
        d.setChoice(sample());
        QCOMPARE(d.fontName()->currentText(), QStringLiteral("Arial"));
        QCOMPARE(d.fontSize()->currentText(), QStringLiteral("10.5"));
        QCOMPARE(d.color()->currentText(), QStringLiteral("Green"));
        dlg::CommonDialog out;
        d.choice(out);
        QCOMPARE(out.FontName, QStringLiteral("Arial"));
        QCOMPARE(out.FontSize, 10.5);
        QVERIFY(out.FontBold && !out.FontItalic && !out.FontStrikethru && out.FontUnderline);
        QCOMPARE(out.Color, long(0x008000));
    }

    void changesAreWrittenBack() {
        FontColorDialog d;
        d.setChoice(sample());
        d.fontName()->setCurrentText(QStringLiteral("Courier New"));
        d.fontSize()->setCurrentText(QStringLiteral("14"));
        d.bold()->setChecked(false);
        d.italic()->setChecked(true);
        d.strike()->setChecked(true);
        d.color()->setCurrentIndex(d.color()->findText(QStringLiteral("Red")));
        dlg::CommonDialog out = sample();
        d.choice(out);
        QCOMPARE(out.FontName, QStringLiteral("Courier New"));
        QCOMPARE(out.FontSize, 14.0);
        QVERIFY(!out.FontBold && out.FontItalic && out.FontStrikethru);
        QCOMPARE(out.Color, long(0x0000FF));
    }

    void colourOutsideTheSixteenIsKept() {
        FontColorDialog d;
        dlg::CommonDialog cd = sample();
        cd.Color = 0x123456;
        d.setChoice(cd);
        QCOMPARE(d.color()->currentText(), QStringLiteral("Custom"));
        dlg::CommonDialog out;
        d.choice(out);
        QCOMPARE(out.Color, long(0x123456));
        // Choosing a second custom colour leaves one custom entry.
        cd.Color = 0x654321;
        d.setChoice(cd);
        QCOMPARE(d.color()->count(), int(FontColorDialog::standardColors().size()) + 1);
    }

    void sizeMustBeANumber_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("whole") << "12" << true;
        QTest::newRow("fraction") << "10.5" << true;
        QTest::newRow("text") << "big" << false;
        QTest::newRow("zero") << "0" << false;
        QTest::newRow("comma decimal") << "10,5" << false;
        QTest::newRow("empty") << "" << false;
    }
    void sizeMustBeANumber() {
        QFETCH(QString, typed);
        FontColorDialog d;
        d.setChoice(sample());
        d.fontSize()->setCurrentText(typed);
        auto* ok = d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        QTEST(ok->isEnabled(), "accepted");
        dlg::CommonDialog out = sample();
        d.choice(out);
        QFETCH(bool, accepted);
        if (!accepted) QCOMPARE(out.FontSize, 10.5); // left as given
    }

    void realProviderShowsThisDialog() {
        // The application's provider asks through this dialog: answer it
        // with a click on OK after changing the colour.
        dlg::setProvider(std::make_unique<dlg::QtProvider>());
        bool seen = false;
        QTimer::singleShot(0, [&] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (auto* d = qobject_cast<FontColorDialog*>(top); d && d->isVisible()) {
                    seen = true;
                    d->color()->setCurrentIndex(d->color()->findText(QStringLiteral("Blue")));
                    d->accept();
                }
            }
        });
        // Never wait on a person, whatever happens above.
        QTimer::singleShot(5000, [] {
            if (QWidget* m = QApplication::activeModalWidget()) m->close();
        });
        dlg::CommonDialog cd = sample();
        const bool ok = dlg::showFont(cd);
        testsupport::installScriptedDialogs();
        QVERIFY(seen);
        QVERIFY(ok);
        QCOMPARE(cd.Color, long(0xFF0000));
        QCOMPARE(cd.FontSize, 10.5);
    }
};

VEX_TEST(LabelFontDialogTest);
#include "LabelFontDialogTest.moc"
