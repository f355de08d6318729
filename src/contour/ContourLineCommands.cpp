#include "contour/ContourLineCommands.h"

#include "app/MainWindow.h"
#include "app/Twips.h"
#include "contour/CellPainting.h"
#include "contour/ContourCommands.h"
#include "contour/Splines.h"
#include "document/Legacy.h"
#include "map/MapLayer.h"
#include "platform/Dialogs.h"
#include "platform/ImagingObject.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QPainter>
#include <QPushButton>
#include <QTime>
#include <algorithm>
#include <random>

using namespace contourlines;

namespace {

const QString kShow3D = QStringLiteral("Show 3D");
const QString kShow2D = QStringLiteral("Show 2D");

}  // namespace

ContourLineCommands::ContourLineCommands(MainWindow& main) : QObject(&main), w(main) {
    QWidget* frame = w.fr3D;
    cmd3d = new QPushButton(kShow3D, frame);
    cmd3d->setObjectName(QStringLiteral("cmd3d"));
    cmd3d->setToolTip(QStringLiteral("Display shaded relief map"));
    cmd3d->setGeometry(twips::rect(120, 300, 1500, 450));
    cmbIllum = new QComboBox(frame);
    cmbIllum->setObjectName(QStringLiteral("cmbIllum"));
    cmbIllum->addItems({QStringLiteral("Top"), QStringLiteral("Bottom"), QStringLiteral("Left"), QStringLiteral("Right")});
    cmbIllum->setCurrentIndex(0);
    cmbIllum->setToolTip(QStringLiteral("Select illumination direction"));
    cmbIllum->setGeometry(twips::rect(1800, 330, 1700, 400));
    // Only the listed contrasts are offered: a typed 6 would divide by zero
    // and larger ones would turn the shading inside out.
    cmbContrast = new QComboBox(frame);
    cmbContrast->setObjectName(QStringLiteral("cmbContrast"));
    cmbContrast->addItems({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
                           QStringLiteral("5")});
    cmbContrast->setCurrentIndex(2);
    cmbContrast->setToolTip(QStringLiteral("Select contrast"));
    cmbContrast->setGeometry(twips::rect(3680, 330, 1200, 400));

    connect(cmd3d, &QPushButton::clicked, this, [this] { cmd3d_Click(); });
    connect(cmbIllum, &QComboBox::activated, this, [this] { cmbIllum_Click(); });
    connect(cmbContrast, &QComboBox::activated, this, [this] { cmbContrast_Click(); });

    // The plot draws the overlay at its end and its title over each relief.
    if (w.contourCommands) {
        w.contourCommands->ContourLines = [this](float cw, float ch, float x0, float x1, float y0, float y1) {
            ContourLines(cw, ch, x0, x1, y0, y1);
        };
        contourTitle = [this](int scheme) { w.contourCommands->ContourTitle(scheme); };
    }
}

void ContourLineCommands::plotRedrawn() {
    cmd3d->setText(kShow3D);
}

QTransform ContourLineCommands::toPixels() const {
    const QImage& picture = w.picMap->picture();
    const double width = w.picMap->Width(), height = w.picMap->Height();
    if (picture.isNull() || width <= 0 || height <= 0)
        return QTransform::fromScale(1 / twips::PerPixel, 1 / twips::PerPixel);
    return QTransform::fromScale(picture.width() / width, picture.height() / height);
}

// ---------------------------------------------------------------------------
// Contour-line overlay

void ContourLineCommands::ContourLines(float cellWidth, float cellHeight, float minX, float maxX, float minY,
                                       float maxY) {
    Document& d = w.doc;
    std::function<double()> draw = random;
    if (!draw) {
        // Every run disturbs the nodes differently.
        auto gen = std::make_shared<std::mt19937>(static_cast<unsigned>(QTime::currentTime().msecsSinceStartOfDay() / 1000));
        draw = [gen] { return std::uniform_real_distribution<double>(0.0, 1.0)(*gen); };
    }
    SamplingInput in;
    in.cellWidth = cellWidth;
    in.cellHeight = cellHeight;
    in.minX = minX;
    in.maxX = maxX;
    in.minY = minY;
    in.maxY = maxY;
    in.mapOriginX = d.MapOriginX;
    in.mapOriginY = d.MapOriginY;
    in.mapSpanX = d.MapSpanX;
    in.mapSpanY = d.MapSpanY;
    in.width = w.picMap->Width();
    in.height = w.picMap->Height();
    TriPoints = sampleGrid(d.ContourGrid, in, draw);
    Triangles = ContourTriangulate(TriPoints);

    // Interval: automatic from the value range, or typed under Check Contours.
    const bool check = w.mnuViewCheck && w.mnuViewCheck->isChecked();
    const ValueRange range = valueRange(TriPoints);
    ContourInterval = automaticInterval(range.zmax - range.zmin);
    if (check) {
        const QString answer = dlg::inputBox(QStringLiteral("Enter contour interval:"), w.app.ProgramTitle,
                                             legacy::DoubleText(ContourInterval));
        ContourInterval = typedInterval(ContourInterval, answer);
    }
    const LevelPlan plan = planLevels(range, ContourInterval);

    // Lines in red over the grey scheme, white over the colour ones; 1 pixel.
    QImage picture = w.picMap->picture();
    if (picture.isNull()) return;
    const QColor colour = (w.optLo && w.optLo->Value()) ? QColor(255, 0, 0) : QColor(255, 255, 255);
    auto finish = [&] { w.picMap->setPicture(picture); };
    // A label stands wholly on the coloured cells: its white text running on
    // past them onto the blank margin would show only part of the number.
    // Under Check Contours the map image fills the whole picture.
    QRectF labelArea(0, 0, in.width, in.height);
    if (!check) {
        const GridGeometry g{d.ContourGrid.cols(), d.ContourGrid.rows(), cellWidth, cellHeight};
        const DataWindow window{minX, maxX, minY, maxY, false};
        const QRect cells = cellArea(picture.size(), d.ContourGrid, window, g, d.MapSpanX, d.MapSpanY);
        labelArea = toPixels().inverted().mapRect(QRectF(cells));
    }
    try {
        QPainter p(&picture);
        p.setTransform(toPixels());
        const double onePixel = 1 / std::max(p.transform().m11(), 1e-9);
        QPen pen(colour, 1);
        pen.setCosmetic(true);  // one pixel wide whatever the scale
        p.setPen(pen);
        // Point sizes in drawing units (twips): 20 to the point.
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(8 * 20);
        p.setFont(font);
        const QFontMetricsF fm(font);
        double level = plan.first;
        for (int number = 0; number <= plan.count - 1; ++number) {
            int labelFlag = number;
            if (!Triangles.empty()) {
                for (auto& poly : chainSegments(cutTriangles(TriPoints, Triangles, level))) {
                    const SplineCurve curve = splineCurve(poly, level, labelFlag);
                    if (curve.labelled) {
                        // Text is placed by its top left corner, as printed text is;
                        // its pixels may spread a little past the measured advance.
                        const double textWidth = fm.horizontalAdvance(curve.label) + onePixel;
                        if (const auto at = labelPlace(curve.points, textWidth, fm.height(), labelArea))
                            p.drawText(QPointF(at->X, at->Y + fm.ascent()), curve.label);
                    }
                    QPolygonF line;
                    line.reserve(static_cast<qsizetype>(curve.points.size()));
                    for (const PolyPoint& pt : curve.points) line << QPointF(pt.X, pt.Y);
                    if (!line.isEmpty()) p.drawPoint(line.front());
                    p.drawPolyline(line);
                    labelFlag = -1;
                }
            }
            level += plan.interval;
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

// ---------------------------------------------------------------------------
// Shaded relief

int ContourLineCommands::directionFromIllum() const {
    return relief::directionFromText(cmbIllum->currentText());
}

void ContourLineCommands::setReliefControlsEnabled(bool on) {
    cmd3d->setEnabled(on);
    cmbIllum->setEnabled(on);
    cmbContrast->setEnabled(on);
}

void ContourLineCommands::ContourTopo(int direction) {
    relief::ReliefOptions o;
    o.direction = direction;
    o.contrast = legacy::NumVal(cmbContrast->currentText());
    o.width = w.picMap->Width();
    o.height = w.picMap->Height();
    const relief::ReliefResult result = relief::shadeRelief(TopoGrid, o, [] {
        if (MainWindow::DoEvents) MainWindow::DoEvents();
    });
    QImage picture = w.picMap->picture();
    relief::paintRelief(picture, result, toPixels());
    w.picMap->setPicture(picture);
    if (!result.error.isEmpty())
        dlg::msgBox(QStringLiteral("PlotTopoPlot error: \n") + result.error, {dlg::Buttons::OK, dlg::Icon::Exclamation},
                    w.app.ProgramTitle);
    w.TopoDone = true;
}

void ContourLineCommands::cmd3d_Click() {
    // An error here (a plot without size) is reported rather than let loose
    // in the event loop.
    try {
        toggleRelief();
    } catch (const legacy::Error& e) {
        setReliefControlsEnabled(true);
        w.reportError(QStringLiteral("Show 3D error: "), e.description());
    }
}

void ContourLineCommands::toggleRelief() {
    if (cmd3d->text() != kShow3D) {
        w.picMap->setPicture(w.picImgX->picture());
        cmd3d->setText(kShow3D);
        return;
    }
    cmd3d->setText(kShow2D);
    if (w.TopoDone) {
        w.picMap->setPicture(w.picTopoImgX->picture());
        return;
    }
    setReliefControlsEnabled(false);
    w.picImgX->takePicture(w.picMap->picture());
    w.picMap->setPicture(w.picPlanImgX->picture());
    if (MainWindow::DoEvents) MainWindow::DoEvents();
    const double width = w.picMap->Width(), height = w.picMap->Height();
    w.TopoCols = 2 * w.doc.ContourDetail;
    w.TopoRows = relief::topoRows(w.TopoCols, width, height);
    TopoGrid = relief::sampleTopo(w.picMap->picture(), w.TopoCols, w.TopoRows, width, height, toPixels());
    recomputeShown();
}

void ContourLineCommands::recomputeShown() {
    ContourTopo(directionFromIllum());
    if (contourTitle) contourTitle(1);
    w.picTopoImgX->takePicture(w.picMap->picture());
    setReliefControlsEnabled(true);
}

void ContourLineCommands::cmbIllum_Click() {
    if (cmd3d->text() != kShow2D) return;
    setReliefControlsEnabled(false);
    if (MainWindow::DoEvents) MainWindow::DoEvents();
    try {
        recomputeShown();
    } catch (const legacy::Error& e) {
        setReliefControlsEnabled(true);
        w.reportError(QStringLiteral("Show 3D error: "), e.description());
    }
}

void ContourLineCommands::cmbContrast_Click() { cmbIllum_Click(); }
