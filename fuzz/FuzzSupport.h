// Shared by the fuzz targets: the check that stops a run so the fuzzer keeps
// its input, a scratch folder for readers that take a file name, and the map
// coordinate systems the readers that convert points are tried under.
#pragma once

#include "document/Document.h"
#include "map/Projections.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace fuzzsupport {

[[noreturn]] inline void fail(const char* check, const char* file, int line) {
    std::fprintf(stderr, "check failed at %s:%d: %s\n", file, line, check);
    std::abort();
}

// One folder for the whole run, removed at its end.
inline const QTemporaryDir& scratch() {
    static const QTemporaryDir dir;
    if (!dir.isValid()) fail("scratch folder", __FILE__, __LINE__);
    return dir;
}

// Writes the bytes to a file of that name in the scratch folder.
inline QString scratchFile(const QString& name, const QByteArray& bytes) {
    const QString path = scratch().filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        fail("scratch file written", __FILE__, __LINE__);
    return path;
}

// The coordinate systems a map can be in: the map units and the projections,
// all on the same made-up registration.  `choice` picks one, modulo 9.
inline Document mapDocument(unsigned choice) {
    namespace pn = projection_names;
    const QString names[] = {pn::Linear,           pn::CylindricalEquidistant, pn::StandardMercator,
                             pn::TransverseMercator, pn::Orthographic,         pn::LambertAzimuthal,
                             pn::AlbersEqualArea,    pn::LambertConformal,     QString()};
    Document doc;
    doc.clearData();
    doc.ProjectionName = names[choice % 9];
    doc.ProjScaleX = 1000;
    doc.ProjScaleY = 1000;
    doc.CentralMeridian = float(DegRad(-100, true));
    doc.CentralParallel = float(DegRad(40, true));
    doc.Lat1 = float(DegRad(30, true));
    doc.Lat2 = float(DegRad(50, true));
    ComputeConeConstants(doc);
    return doc;
}

inline bool finite(const DataPoint& p) { return std::isfinite(p.X) && std::isfinite(p.Y) && std::isfinite(p.Z); }

} // namespace fuzzsupport

#define require(condition) ((condition) ? void(0) : fuzzsupport::fail(#condition, __FILE__, __LINE__))
