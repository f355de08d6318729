// Fixtures for the tests that drive the map view in the real main window:
// starting the window, writing a map image, importing it, registering it and
// putting points and markers into the document.
#pragma once

#include "app/MainWindow.h"
#include "common/PlatformSupport.h"
#include "common/TableRows.h"
#include "common/TestRegistry.h"
#include "map/CoordinateMenu.h"
#include "map/MapView.h"
#include "platform/SettingsStore.h"

#include <QImage>
#include <QPainter>
#include <memory>

namespace maptest {

// The scripted dialogs and the file writer every map test uses.
using testsupport::dialogs;
using testsupport::writeFile;

inline std::unique_ptr<MainWindow> startWindow() {
    SettingsStore().ClearSection(QStringLiteral("Vexolan"));
    return testsupport::startMainWindow();
}

// A map picture with a grid on it, so that a resampled copy is still a picture.
inline QString writeMap(const QTemporaryDir& dir, const QString& name, int width, int height) {
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setPen(Qt::darkGreen);
    for (int x = 0; x < width; x += 50) p.drawLine(x, 0, x, height);
    for (int y = 0; y < height; y += 50) p.drawLine(0, y, width, y);
    p.end();
    const QString path = dir.filePath(name);
    img.save(path);
    return path;
}

// Queues each text as the answer of the next prompt.
inline void queueAll(const QStringList& answers) {
    for (const QString& a : answers) dialogs().queue(a);
}

// File > Import > Map with the given file chosen in the dialog.
inline void importMap(MainWindow& w, const QString& path) {
    dialogs().queue(path);
    w.mapView->cmdMap_Click();
}

// A started window showing the map imported from path, no prompt recorded.
inline std::unique_ptr<MainWindow> windowWithMap(const QString& path) {
    auto w = startWindow();
    importMap(*w, path);
    dialogs().clear();
    return w;
}

// The Coordinates menu items by name, in menu order ("Linear", "SMerc" ...).
inline const QStringList& coordItemNames() {
    static const QStringList names{"Linear", "CylEquiDis", "SMerc",   "TMerc", "Ortho", "LmbertAzi",
                                   "AlbersEA", "LambertConf", "Degrees", "Feet", "Meters"};
    return names;
}
inline CoordItem coordItemNamed(const QString& name) { return CoordItem(coordItemNames().indexOf(name)); }

// Appends one datum or contour point with its marker, as recording does.
inline void addPoint(MainWindow& w, bool datum, int number, float x, float y, float z) {
    Document& d = w.doc;
    auto& points = datum ? d.DatumPoints : d.ContourPoints;
    int& count = datum ? d.DatCount : d.ConCount;
    ++count;
    points.resize(size_t(count) + 1);
    points[size_t(count)] = DataPoint{int16_t(number), x, y, z, false};
    (datum ? w.markers->labDat : w.markers->labCon).load(count);
}

// Registers the picture shown under the coordinate system and units chosen
// from two clicks at a fifth and at four fifths of its width and height, the
// answers typed in the order asked: the reference values, then any central
// meridian and parallel.
inline void registerByClicks(MainWindow& w, const QStringList& typed) {
    const double W = w.imPoints->Width(), H = w.imPoints->Height();
    queueAll(typed);
    w.mapView->MapRegister(W * 0.2, H * 0.2);
    w.mapView->MapRegister(W * 0.8, H * 0.8);
}

// Registers the picture shown as a linear map (in metres unless another
// unit item is given) with the typed Eastings and Northings given.
inline void registerLinear(MainWindow& w, double e1 = 1000, double n1 = 4000, double e2 = 3000,
                           double n2 = 2000, QAction* MainWindow::*units = &MainWindow::mnuCoordMeters) {
    (w.*units)->trigger();
    registerByClicks(w, {QString::number(e1), QString::number(n1), QString::number(e2), QString::number(n2)});
}

} // namespace maptest
