// The contour-line overlay and the shaded relief driven on the real window.
#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "common/TestRegistry.h"
#include "common/TestSupport.h"
#include "contour/ContourCommands.h"
#include "contour/ContourLineCommands.h"
#include "document/Legacy.h"
#include "map/MapLayer.h"
#include "platform/Dialogs.h"
#include "platform/ImagingObject.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <memory>
#include <random>

namespace {

std::unique_ptr<MainWindow> startWindow() {
    auto w = std::make_unique<MainWindow>();
    w->FormLoad();
    w->show();
    if (AboutBox* s = w->splash()) s->unload();
    QCoreApplication::processEvents();
    return w;
}

// A plot 600 x 200 pixels (9000 x 3000 twips) and its grey plan: a dome.
QImage plotImage() {
    QImage img(600, 200, QImage::Format_RGB32);
    img.fill(qRgb(20, 90, 200));
    return img;
}
QImage planImage() {
    QImage img(600, 200, QImage::Format_RGB32);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 600; ++x) {
            const double d = std::hypot(x - 300.0, (y - 100.0) * 3);
            const int v = std::clamp(230 - static_cast<int>(d * 0.5), 60, 230);
            img.setPixel(x, y, qRgb(v, v, v));
        }
    return img;
}

int countColour(const QImage& img, QRgb c) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += img.pixel(x, y) == c;
    return n;
}

}  // namespace

class ContourLineCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { testsupport::dialogs().clear(); }

    void reliefControls() {
        auto w = startWindow();
        auto* c = w->contourLineCommands;
        QCOMPARE(c->cmd3d->parentWidget(), static_cast<QWidget*>(w->fr3D));
        QCOMPARE(c->cmd3d->text(), QStringLiteral("Show 3D"));
        QCOMPARE(c->cmd3d->toolTip(), QStringLiteral("Display shaded relief map"));
        QCOMPARE(c->cmbIllum->count(), 4);
        QCOMPARE(c->cmbIllum->currentText(), QStringLiteral("Top"));
        QCOMPARE(c->cmbIllum->toolTip(), QStringLiteral("Select illumination direction"));
        QCOMPARE(c->cmbContrast->count(), 5);
        QCOMPARE(c->cmbContrast->currentText(), QStringLiteral("3"));
        QCOMPARE(c->cmbContrast->toolTip(), QStringLiteral("Select contrast"));
        QVERIFY(!c->cmbContrast->isEditable());
        QCOMPARE(c->cmd3d->findChildren<QWidget*>().size(), 0);
        QCOMPARE(w->fr3D->findChild<QPushButton*>("cmd3d"), c->cmd3d);
        QCOMPARE(w->fr3D->findChild<QComboBox*>("cmbIllum"), c->cmbIllum);
        QCOMPARE(w->fr3D->findChild<QComboBox*>("cmbContrast"), c->cmbContrast);
    }

    void reliefToggleCacheAndRecompute() {
        auto w = startWindow();
        auto* c = w->contourLineCommands;
        int pumps = 0;
        const auto oldPump = MainWindow::DoEvents;
        MainWindow::DoEvents = [&] { ++pumps; };
        w->doc.ContourDetail = 50;
        w->picMap->Move(0, 0, 9000, 3000);
        w->picMap->setPicture(plotImage());
        w->picPlanImgX->takePicture(planImage());
        int titles = 0;
        c->contourTitle = [&](int scheme) { QCOMPARE(scheme, 1); ++titles; };

        QTest::mouseClick(c->cmd3d, Qt::LeftButton);
        QCOMPARE(c->cmd3d->text(), QStringLiteral("Show 2D"));
        QCOMPARE(w->TopoCols, 100);
        QCOMPARE(w->TopoRows, 33);
        QVERIFY(w->TopoDone);
        QCOMPARE(titles, 1);
        QVERIFY(pumps > 30);  // once before sampling, then after each line
        QVERIFY(c->cmd3d->isEnabled() && c->cmbIllum->isEnabled() && c->cmbContrast->isEnabled());
        QCOMPARE(w->picImgX->picture(), plotImage());
        const QImage relief = w->picMap->picture();
        QCOMPARE(w->picTopoImgX->picture(), relief);
        QVERIFY(relief != planImage());
        // The outer ring keeps the plan picture: the top-left corner cell.
        QCOMPARE(relief.pixel(1, 1), planImage().pixel(1, 1));
        // Sampled heights: the dome's top in the middle, the red byte.
        QCOMPARE(c->TopoGrid.at(50, 17), qRed(planImage().pixel(297, 100)));

        // Back to the plot, then the cached relief without recomputing.
        QTest::mouseClick(c->cmd3d, Qt::LeftButton);
        QCOMPARE(c->cmd3d->text(), QStringLiteral("Show 3D"));
        QCOMPARE(w->picMap->picture(), plotImage());
        pumps = 0;
        QTest::mouseClick(c->cmd3d, Qt::LeftButton);
        QCOMPARE(w->picMap->picture(), relief);
        QCOMPARE(pumps, 0);
        QCOMPARE(titles, 1);

        // A new direction while the relief is shown recomputes it at once.
        c->cmbIllum->setCurrentIndex(2);
        emit c->cmbIllum->activated(2);
        QCOMPARE(titles, 2);
        const QImage fromLeft = w->picMap->picture();
        QVERIFY(fromLeft != relief);
        QCOMPARE(w->picTopoImgX->picture(), fromLeft);

        // While the plot is shown a change does nothing; the cache stays.
        QTest::mouseClick(c->cmd3d, Qt::LeftButton);
        c->cmbContrast->setCurrentIndex(4);
        emit c->cmbContrast->activated(4);
        QCOMPARE(titles, 2);
        QCOMPARE(w->picMap->picture(), plotImage());
        QTest::mouseClick(c->cmd3d, Qt::LeftButton);
        QCOMPARE(w->picMap->picture(), fromLeft);

        // Once the plot is redrawn the relief is computed again.
        QTest::mouseClick(c->cmd3d, Qt::LeftButton);
        w->TopoDone = false;
        QTest::mouseClick(c->cmd3d, Qt::LeftButton);
        QCOMPARE(titles, 3);
        QVERIFY(w->picMap->picture() != fromLeft);  // contrast 5 now
        QCOMPARE(testsupport::dialogs().prompts.size(), size_t(0));
        MainWindow::DoEvents = oldPump;
    }

    void reliefOtherDirectionPaintsNothing() {
        auto w = startWindow();
        auto* c = w->contourLineCommands;
        w->picMap->Move(0, 0, 9000, 3000);
        w->picMap->setPicture(planImage());
        c->TopoGrid = relief::TopoGrid(100, 33);
        w->TopoDone = false;
        c->ContourTopo(5);
        QVERIFY(w->TopoDone);
        QCOMPARE(w->picMap->picture(), planImage());
    }

    void overlayAndReliefAfterThePlot() {
        auto w = startWindow();
        auto* c = w->contourLineCommands;
        Document& d = w->doc;
        d.MapRegistered = true;
        d.MapOriginX = 0;
        d.MapOriginY = 1000;
        d.MapSpanX = 1500;
        d.MapSpanY = 1000;
        d.ContourDetail = 50;
        w->optStruc->setValue(true);
        std::mt19937 gen(3);
        std::uniform_real_distribution<double> u(0, 1);
        d.DatumPoints.assign(1, DataPoint{});
        for (int k = 1; k <= 60; ++k) {
            const float x = float(50 + 1400 * u(gen)), y = float(50 + 900 * u(gen));
            d.DatumPoints.push_back(DataPoint{int16_t(k), x, y, float(x * 0.2 + y * 0.1), false});
        }
        d.DatCount = 60;
        w->picMap->Move(0, 0, 9000, 6000);
        w->optLo->setValue(true);
        w->chkLines->setChecked(true);
        w->mnuViewCheck->setChecked(false);
        c->random = [gen]() mutable { return std::uniform_real_distribution<double>(0, 1)(gen); };
        c->cmd3d->setText(QStringLiteral("Show 2D"));

        QVERIFY(w->contourCommands->ContourShow());
        QVERIFY2(testsupport::dialogs().prompts.empty(),
                 qPrintable(testsupport::dialogs().prompts.empty() ? QString() : testsupport::dialogs().prompts[0].text));
        QVERIFY(!c->TriPoints.empty());
        QVERIFY(!c->Triangles.empty());
        QVERIFY(countColour(w->picMap->picture(), qRgb(255, 0, 0)) > 200);  // lines and title in red
        QVERIFY(w->fr3D->isVisibleTo(w.get()));
        QCOMPARE(c->cmd3d->text(), QStringLiteral("Show 3D"));
        QVERIFY(!w->TopoDone);

        const QImage plot = w->picMap->picture();
        QTest::mouseClick(c->cmd3d, Qt::LeftButton);
        QVERIFY(w->TopoDone);
        QCOMPARE(w->TopoCols, 100);
        QCOMPARE(w->TopoRows, 67);
        QVERIFY(w->picMap->picture() != plot);
        QCOMPARE(w->picImgX->picture(), plot);
        QVERIFY(testsupport::dialogs().prompts.empty());
        QTest::mouseClick(c->cmd3d, Qt::LeftButton);
        QCOMPARE(w->picMap->picture(), plot);
    }

    void reliefErrorsAreReported() {
        auto w = startWindow();
        auto* c = w->contourLineCommands;
        auto& dialogs = testsupport::dialogs();
        // No cells: the pen width divides by zero; the relief still counts as done.
        w->picMap->Move(0, 0, 9000, 3000);
        w->picMap->setPicture(planImage());
        c->TopoGrid = relief::TopoGrid(0, 0);
        w->TopoDone = false;
        c->ContourTopo(1);
        QVERIFY(w->TopoDone);
        QCOMPARE(dialogs.prompts.size(), size_t(1));
        QCOMPARE(dialogs.prompts[0].text, QStringLiteral("PlotTopoPlot error: \nDivision by zero"));
        QCOMPARE(dialogs.prompts[0].icon, dlg::Icon::Exclamation);
        QCOMPARE(dialogs.prompts[0].title, w->app.ProgramTitle);

        // A plot without size cannot be sampled: reported, controls usable again.
        dialogs.clear();
        w->TopoDone = false;
        w->doc.ContourDetail = 50;
        w->picMap->Move(0, 0, 0, 0);
        w->picPlanImgX->takePicture(planImage());
        QTest::mouseClick(c->cmd3d, Qt::LeftButton);
        QCOMPARE(dialogs.prompts.size(), size_t(1));
        QVERIFY(dialogs.prompts[0].text.startsWith(QStringLiteral("Show 3D error: ")));
        QVERIFY(c->cmd3d->isEnabled() && c->cmbIllum->isEnabled() && c->cmbContrast->isEnabled());
    }

    void contourLines() {
        auto w = startWindow();
        auto* c = w->contourLineCommands;
        Document& d = w->doc;
        d.ContourGrid.resize(20, 20);
        for (int i = 1; i <= 20; ++i)
            for (int j = 1; j <= 20; ++j)
                d.ContourGrid.at(i, j) = DataPoint{0, float(i * 10), float(j * 10), float(i * 5 + j * 3), false};
        d.GridCols = d.GridRows = 20;
        d.MapOriginX = 0;
        d.MapOriginY = 210;
        d.MapSpanX = d.MapSpanY = 210;
        // Cells of 100 map units (3000 twips): nodes pushed by up to 375 twips.
        w->picMap->Move(0, 0, 6300, 6300);
        QImage black(420, 420, QImage::Format_RGB32);
        black.fill(Qt::black);
        w->picMap->setPicture(black);
        // A disturbance of a few drawing units keeps four nodes off one circle.
        auto gen = std::make_shared<std::mt19937>(11);
        c->random = [gen] { return std::uniform_real_distribution<double>(0, 1)(*gen); };
        w->optLo->setValue(false);
        w->mnuViewCheck->setChecked(false);

        try {
            c->ContourLines(100, 100, 10, 200, 10, 200);
        } catch (const legacy::Error& e) {
            QFAIL(qPrintable(e.description() + " " + QString::number(c->Triangles.size())));
        }
        QCOMPARE(int(c->TriPoints.size()), 400);
        QVERIFY(c->TriPoints[0].X > 300 && c->TriPoints[0].X <= 300 + 100.0 * 6300 / 210 / 8);
        QVERIFY(c->Triangles.size() > 400);
        QCOMPARE(c->ContourInterval, 25.0);  // values 8..160
        const int white = countColour(w->picMap->picture(), qRgb(255, 255, 255));
        QVERIFY2(white > 500, qPrintable(QString::number(white)));
        QCOMPARE(testsupport::dialogs().prompts.size(), size_t(0));

        // Red over the grey scheme; a typed interval under Check Contours.
        w->picMap->setPicture(black);
        w->optLo->setValue(true);
        w->mnuViewCheck->setChecked(true);
        testsupport::dialogs().queue(QStringLiteral("50"));
        c->ContourLines(100, 100, 10, 200, 10, 200);
        const auto& prompts = testsupport::dialogs().prompts;
        QCOMPARE(prompts.size(), size_t(1));
        QCOMPARE(prompts[0].text, QStringLiteral("Enter contour interval:"));
        QCOMPARE(prompts[0].defaultText, QStringLiteral("25"));
        QCOMPARE(c->ContourInterval, 50.0);
        const int red = countColour(w->picMap->picture(), qRgb(255, 0, 0));
        QVERIFY(red > 100);
        QVERIFY(red < white);  // fewer levels
        QCOMPARE(countColour(w->picMap->picture(), qRgb(255, 255, 255)), 0);

        // A window without nodes: still asked, nothing drawn.
        testsupport::dialogs().clear();
        w->picMap->setPicture(black);
        testsupport::dialogs().queue(QString());
        c->ContourLines(100, 100, 500, 600, 500, 600);
        QCOMPARE(testsupport::dialogs().prompts.size(), size_t(1));
        QVERIFY(c->TriPoints.empty());
        QVERIFY(c->Triangles.empty());
        QCOMPARE(c->ContourInterval, 10.0);
        QCOMPARE(w->picMap->picture(), black);
        w->mnuViewCheck->setChecked(false);

        // Without disturbance the nodes of each cell lie on one circle and the
        // mesh overlaps itself until the triangle table is full: the failure
        // goes to the caller's report and the picture is left as it was.
        c->random = [] { return 1.0; };
        try {
            c->ContourLines(100, 100, 10, 200, 10, 200);
            QFAIL("no error");
        } catch (const legacy::Error& e) {
            QCOMPARE(e.description(), QStringLiteral("Subscript out of range"));
        }
        QCOMPARE(w->picMap->picture(), black);
    }
};

VEX_TEST(ContourLineCommandsTest);
#include "ContourLineCommandsTest.moc"
