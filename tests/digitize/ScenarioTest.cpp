// Plays the digitizing scenarios of tests/data/digitize/*.scn on the real main
// window.  Each scenario starts a window as a registration leaves it and plays
// its lines in order: the choices, clicks, menu items and answers a user gives,
// and what the window must then show, compared as text.  The steps and checks
// are listed at the top of points.scn.
#include "common/DigitizeSupport.h"
#include "common/TestRegistry.h"
#include "digitize/ContactDisplay.h"
#include "digitize/LabelCommands.h"
#include "digitize/LabelLayout.h"
#include "document/Legacy.h"
#include "map/MapView.h"

#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QTest>
#include <stdexcept>

using namespace testsupport;

namespace {

QString asText(bool v) { return v ? "1" : "0"; }
QString asText(const QString& v) { return v; }
template <typename T> QString asText(T v) { return QString::number(v); }
void assign(bool& x, const QString& v) { x = v == "1"; }
void assign(QString& x, const QString& v) { x = v; }
template <typename T> void assign(T& x, const QString& v) { x = T(v.toDouble()); }

// The fields a scenario sets and reads by name ("doc." left out).
struct Field {
    QString name;
    std::function<QString(MainWindow&)> get;
    std::function<void(MainWindow&, const QString&)> set;
};
#define FIELD(e)                                                                                           \
    Field{QStringLiteral(#e).remove("doc."), [](MainWindow& w) { return asText(w.e); },                    \
          [](MainWindow& w, const QString& v) { assign(w.e, v); }}
const Field fields[] = {
    FIELD(doc.DataChanged), FIELD(doc.ContoursCurrent), FIELD(doc.MovePointMode), FIELD(doc.MoveLabelMode),
    FIELD(doc.MapBusy), FIELD(doc.OtherDataOpen), FIELD(doc.MapRegistered), FIELD(doc.SelectedPoint),
    FIELD(doc.LastZEntry), FIELD(doc.DataFileName), FIELD(doc.DataTitle), FIELD(doc.ContactShown),
    FIELD(doc.ProjectionName), FIELD(doc.CoordUnits), FIELD(doc.ProjScaleY), FIELD(doc.LabFileName),
    FIELD(doc.CurLabel), FIELD(doc.ContactCount), FIELD(doc.LabelCount), FIELD(doc.DatCount),
    FIELD(doc.RefPixelX1), FIELD(doc.RefPixelY1), FIELD(doc.RefPixelX2), FIELD(doc.RefPixelY2),
    FIELD(doc.MapSpanX), FIELD(doc.MapSpanY), FIELD(BusyLoading), FIELD(LabelsShown), FIELD(LabelsSuppressed),
    FIELD(ContactShowMode),
    Field{"DatumPoints", [](MainWindow& w) { return QString::number(w.doc.DatumPoints.size()); }, {}},
    Field{"MapLabels", [](MainWindow& w) { return QString::number(w.doc.MapLabels.size()); }, {}},
    Field{"caption", {}, [](MainWindow& w, const QString& v) { w.setDocumentCaption(v); }}};

QString dataDir() { return qEnvironmentVariable("VEXOLAN_TEST_DATA") + QStringLiteral("/digitize"); }
QPoint framePx(double x, double y) { return {twips::toPx(x), twips::toPx(y)}; }

// "datum points | contour points | flags"; "-" for none.
QString docState(const MainWindow& w) {
    const Document& d = w.doc;
    QStringList flags;
    for (auto [on, name] : std::initializer_list<std::pair<bool, const char*>>{
             {d.DataChanged, "changed"}, {d.ContoursCurrent, "current"}, {d.MovePointMode, "move"}})
        if (on) flags << name;
    if (!d.SelectedPoint.isEmpty()) flags << d.SelectedPoint;
    QStringList parts{pointsText(d.DatumPoints, d.DatCount), pointsText(d.ContourPoints, d.ConCount),
                      flags.join(' ')};
    for (QString& p : parts)
        if (p.isEmpty()) p = "-";
    return parts.join(" | ");
}

QString markerState(const Marker& m) {
    return QStringLiteral("%1,%2").arg(m.Left).arg(m.Top) + (m.Visible ? "" : " hidden") +
           (m.ToolTipText.isEmpty() ? "" : ' ' + m.ToolTipText);
}

QString promptLog() {
    QStringList out;
    for (const dlg::Prompt& p : dialogs().prompts) {
        using K = dlg::Prompt::Kind;
        const bool plain = p.title.isEmpty() || p.title == dlg::applicationTitle();
        const QString text = plain ? p.text : p.title + ": " + p.text;
        if (p.kind == K::Message) out << text;
        else if (p.kind == K::Input) out << text + " [" + p.defaultText + ']';
        else if (p.kind == K::Font) out << "font [" + p.defaultText + ']';
        else if (p.kind == K::Color) out << "colour";
        else out << "open " + p.title + " [" + p.filter + ']';
    }
    return out.join(" | ").replace('\n', "\\n");
}

QString fontText(const QFont& f, long colour) {
    QString s = f.family() + ' ' + QString::number(f.pointSizeF());
    for (auto [on, name] : std::initializer_list<std::pair<bool, const char*>>{
             {f.bold(), "bold"}, {f.italic(), "italic"}, {f.strikeOut(), "strike"},
             {f.underline(), "underline"}})
        if (on) s += ' ' + QLatin1String(name);
    return s + QStringLiteral(" #%1").arg(colour, 6, 16, QLatin1Char('0')).toUpper();
}

class Player {
public:
    std::unique_ptr<MainWindow> w;
    QString line, error, popup;

    void start(double left, double top, bool registered = true) {
        w = registered ? startLinearWindow(left, top) : startMainWindow();
        w->digitizer->popupMenu = [this](QMenu* m, const QPoint& at) {
            const QPoint p = w->markers->mapFromGlobal(at);
            popup = m->objectName() +
                    QStringLiteral(" %1,%2").arg(twips::fromPx(p.x())).arg(twips::fromPx(p.y()));
        };
    }

    QString arg(int i) const { return line.section(' ', i, i); }
    QString rest(int i) const { return line.section(' ', i); }
    double num(int i) const { return arg(i).toDouble(); }

    QObject* obj(const QString& name) {
        if (QObject* o = w->findChild<QObject*>(name)) return o;
        throw std::runtime_error("no object " + name.toStdString());
    }
    template <typename T> T* as(const QString& name) { return qobject_cast<T*>(obj(name)); }
    const Field& field(const QString& name) {
        for (const Field& f : fields)
            if (f.name == name) return f;
        throw std::runtime_error("no field " + name.toStdString());
    }
    MarkerArray<Marker>& markers(QChar kind) {
        MarkerOverlay& mk = *w->markers;
        return kind == 'D' ? mk.labDat : kind == 'C' ? mk.labCon : kind == 'L' ? mk.labMap : mk.labRef;
    }
    Marker& marker(const QString& key) { return markers(key[0])[key.mid(1).toInt()]; }
    DataPoint& point(const QString& key) {
        return (key[0] == 'D' ? w->doc.DatumPoints : w->doc.ContourPoints)[size_t(key.mid(1).toInt())];
    }

    QString textOf(QObject* o) {
        if (auto* l = qobject_cast<QLabel*>(o)) return l->text();
        if (auto* e = qobject_cast<QLineEdit*>(o)) return e->text();
        if (auto* b = qobject_cast<QAbstractButton*>(o)) return b->text();
        if (auto* g = qobject_cast<QGroupBox*>(o)) return g->title();
        if (auto* s = qobject_cast<QSpinBox*>(o)) return s->text();
        return qobject_cast<QAction*>(o)->text();
    }
    // "NAMES = SOME": which of the names have the property.
    void which(const std::function<bool(QObject*)>& has) {
        QStringList out;
        for (const QString& n : rest(1).section(" =", 0, 0).split(' ', Qt::SkipEmptyParts))
            if (has(obj(n))) out << n;
        QCOMPARE(out.join(' '), rest(1).section(" =", 1).trimmed());
    }
    static bool enabled(QObject* o) {
        if (auto* m = qobject_cast<QMenu*>(o)) return m->menuAction()->isEnabled();
        if (auto* a = qobject_cast<QAction*>(o)) return a->isEnabled();
        return qobject_cast<QWidget*>(o)->isEnabled();
    }
    void setOn(const QString& name, bool on, bool check) {
        if (auto* a = qobject_cast<QAction*>(obj(name))) check ? a->setChecked(on) : a->setEnabled(on);
        else if (check) as<QAbstractButton>(name)->setChecked(on);
        else as<QWidget>(name)->setEnabled(on);
    }

    dlg::ScriptedAnswer answer(const QString& a) {
        if (!a.startsWith('<') || !a.endsWith('>')) return a;
        const QString inner = a.mid(1, a.size() - 2);
        if (inner == "cancel") return dlg::Cancel{};
        for (auto [name, answer] : std::initializer_list<std::pair<const char*, dlg::Answer>>{
                 {"yes", dlg::Answer::Yes}, {"no", dlg::Answer::No}, {"ok", dlg::Answer::OK},
                 {"cancel-button", dlg::Answer::Cancel}})
            if (inner == name) return answer;
        if (inner.startsWith("colour ")) return inner.mid(7).toLong(nullptr, 16);
        if (inner.startsWith("data ")) return dataDir() + '/' + inner.mid(5);
        const QStringList f = inner.mid(5).split(','); // font NAME,SIZE,BOLD,ITALIC,STRIKE,UNDERLINE,BBGGRR
        return dlg::FontChoice{f[0], f[1].toDouble(), f[2] == "1", f[3] == "1", f[4] == "1", f[5] == "1",
                               f[6].toLong(nullptr, 16)};
    }

    void call(const QString& what) {
        Digitizer& g = *w->digitizer;
        LabelCommands& l = *w->labelCommands;
        const std::pair<const char*, std::function<void()>> calls[] = {
            {"MapPoint", [&] { g.MapPoint(); }},
            {"ContactEnum", [&] { g.ContactEnum(); }},
            {"ContactShow", [&] { w->contactDisplay->ContactShow(); }},
            {"ShowAll", [&] { w->contactDisplay->mnuViewShowContactShowAll_Click(); }},
            {"LabelNew", [&] { l.LabelNew(); }},
            {"LabelReplot", [&] { l.LabelReplot(); }},
            {"LabelMoveTo", [&] { l.LabelMoveTo(); }},
            {"MapReplot", [&] { w->mapView->MapReplot(); }},
            {"cmdShow", [&] { w->cmdShow_Click(); }},
            {"stepUp", [&] { w->UpDown1->stepUp(); }},
            {"stepDown", [&] { w->UpDown1->stepDown(); }},
            {"OpenLabFile", [&] { l.OpenLabFile(dataDir() + '/' + arg(2)); }}};
        for (const auto& [name, run] : calls) {
            if (arg(1) != name) continue;
            try {
                return run();
            } catch (const legacy::Error& e) {
                return void(error = e.description());
            }
        }
        throw std::runtime_error("no call " + what.toStdString());
    }

    // Contact lines by the index of the datum points at their ends, found by
    // place (6 twips a metre from the picture's corner); '?' after a hidden one.
    QString segments() {
        auto at = [&](int i) {
            const DataPoint& p = w->doc.DatumPoints[size_t(i)];
            return QPointF(w->imContacts->Left() + 6.0 * p.X, w->imContacts->Top() + 6.0 * (1000 - p.Y));
        };
        QStringList out;
        for (int s = 1; s <= w->doc.ContactLineCount; ++s) {
            const LineSegment& g = w->markers->LineCon[s];
            int from = 0, to = 0;
            for (int i = w->doc.DatCount; i >= 1; --i) {
                if (at(i) == QPointF(g.X1, g.Y1)) from = i;
                if (at(i) == QPointF(g.X2, g.Y2)) to = i;
            }
            out << QStringLiteral("%1>%2").arg(from).arg(to) + (g.Visible ? "" : "?");
        }
        return out.join(' ');
    }

    QString labels() {
        QStringList out;
        for (int i = 1; i <= w->doc.LabelCount; ++i) {
            const MapLabel& r = w->doc.MapLabels[size_t(i)];
            out << QStringLiteral("%1@%2,%3").arg(r.Text).arg(r.X).arg(r.Y) +
                       (w->markers->labMap[i].Visible ? "" : "(hidden)");
        }
        return out.join(' ');
    }

    QString list(const QString& what) {
        QStringList out;
        if (what == "combo")
            for (int i = 0; i < w->cmbShow->count(); ++i) out << w->cmbShow->itemText(i);
        if (what == "linecolours")
            for (int i = 1; i <= w->markers->LineCon.count(); ++i)
                out << QString::number(w->markers->LineCon[i].BorderColor, 16);
        for (int i = 0; what == "markers" && i <= markers(arg(1)[0]).count(); ++i) {
            const Marker& m = markers(arg(1)[0])[i];
            out << QString::number(m.ForeColor, 16) + (m.Visible ? "" : "-");
        }
        return out.join(' ') + (what == "combo" ? " at " + w->cmbShow->currentText() : QString());
    }

    void step(const QString& text) {
        line = text;
        const QString verb = arg(0);
        Document& d = w->doc;
        // Steps a user takes, or a state a test puts the window in.
        if (verb == "window") start(num(1), num(2), arg(1) != "unregistered");
        else if (verb == "choose") {
            for (const QString& n : rest(1).split(' ')) as<OptionButton>(n)->setValue(true);
        } else if (verb == "press") {
            QWidget* b = as<QWidget>(arg(1));
            const bool option = qobject_cast<OptionButton*>(b); // on its round indicator
            const QPoint at = option ? QPoint(8, b->height() / 2) : b->rect().center();
            QTest::mouseClick(b, Qt::LeftButton, {}, at);
        } else if (verb == "dclick") QTest::mouseDClick(as<QWidget>(arg(1)), Qt::LeftButton);
        else if (verb == "tick" || verb == "enable") setOn(arg(1), arg(2) == "1", verb == "tick");
        else if (verb == "menu") {
            if (!arg(2).isEmpty()) d.SelectedPoint = arg(2);
            as<QAction>(arg(1))->trigger();
        } else if (verb == "set") field(arg(1)).set(*w, rest(2));
        else if (verb == "settext") as<QGroupBox>(arg(1))->setTitle(rest(2));
        else if (verb == "select") as<QComboBox>(arg(1))->setCurrentIndex(arg(2).toInt());
        else if (verb == "answer") dialogs().queue(answer(rest(1)));
        else if (verb == "cursor" || verb == "record" || verb == "label") {
            cursorAt(*w, num(1), num(2));
            if (verb == "cursor") return;
            dialogs().queue(rest(3));
            verb == "record" ? w->digitizer->MapPoint() : w->labelCommands->LabelNew();
        } else if (verb == "mouse") {
            const auto b = arg(1) == "left"    ? Qt::LeftButton
                           : arg(1) == "right" ? Qt::RightButton
                                               : Qt::MiddleButton;
            // Through the window, from a pixel beside, so that the move is seen wherever the
            // mouse was left.
            const QPoint at = w->markers->mapTo(w.get(), framePx(num(2), num(3)));
            QTest::mouseMove(w->windowHandle(), at + QPoint(1, 1));
            QTest::mouseMove(w->windowHandle(), at);
            QTest::mouseClick(w->markers, b, {}, framePx(num(2), num(3)));
        } else if (verb == "hide" || verb == "show") as<QWidget>(arg(1))->setVisible(verb == "show");
        else if (verb == "clear") dialogs().clear();
        else if (verb == "call") call(rest(1));
        else if (verb == "point" || verb == "load") {
            if (verb == "load") { // a datum point and its marker, of the colour given
                if (d.DatumPoints.empty()) d.DatumPoints.resize(1);
                d.DatumPoints.resize(size_t(++d.DatCount) + 1);
                Marker& m = w->markers->labDat.load(d.DatCount);
                m.ForeColor = arg(4).toLong(nullptr, 16);
                m.Visible = true;
                line = "point D" + QString::number(d.DatCount) + ' ' + rest(1);
            }
            DataPoint& p = point(arg(1));
            p.Number = int16_t(arg(2).section('/', 0, 0).toInt());
            p.Z = arg(2).section('/', 1).remove('*').toFloat();
            p.Combined = arg(2).endsWith('*');
            if (!arg(3).isEmpty()) p.X = float(num(3)), p.Y = float(num(4));
        } else if (verb == "fill") { // the point arrays that full, a marker for each datum point
            d.DatumPoints.assign(size_t(d.DatCount = int(num(1))) + 1, DataPoint{});
            d.ContourPoints.assign(size_t(d.ConCount = int(num(2))) + 1, DataPoint{});
            w->markers->labDat.load(d.DatCount);
        } else if (verb == "markerhide") marker(arg(1)).Visible = false;
        else if (verb == "place") {
            Marker& m = marker(arg(1));
            m.Left = num(2), m.Top = num(3), m.Visible = true;
        } else if (verb == "geometry") as<MapPicture>(arg(1))->Move(num(2), num(3), num(4), num(5));
        // What the window must show.
        else if (verb == "prompts") QCOMPARE(promptLog(), rest(1));
        else if (verb == "state") QCOMPARE(docState(*w), rest(1));
        else if (verb == "marker") QCOMPARE(markerState(marker(arg(1))), rest(2));
        else if (verb == "markers") QCOMPARE(list(verb), rest(2));
        else if (verb == "combo" || verb == "linecolours") QCOMPARE(list(verb), rest(1));
        else if (verb == "xy") {
            QCOMPARE(QStringLiteral("%1 %2").arg(point(arg(1)).X).arg(point(arg(1)).Y), rest(2));
        }
        else if (verb == "text") QCOMPARE(textOf(obj(arg(1))), rest(2));
        else if (verb == "caption") {
            QCOMPARE(w->windowTitle().mid(dlg::applicationTitle().size()).trimmed(), rest(1));
        }
        else if (verb == "panel") QCOMPARE(w->panel(arg(1).toInt()), rest(2));
        else if (verb == "tip") QCOMPARE(as<QWidget>(arg(1))->toolTip(), rest(2));
        else if (verb == "field") {
            QCOMPARE(field(arg(1)).get(*w), QString(rest(2)).replace("<data>", dataDir()));
        }
        else if (verb == "count") {
            const int n = arg(1) == "lines" ? w->markers->LineCon.count() : markers(arg(1)[0]).count();
            QCOMPARE(n, arg(2).toInt());
        } else if (verb == "enabled") which(enabled);
        else if (verb == "checked") which([](QObject* o) { return o->property("checked").toBool(); });
        else if (verb == "shown") which([](QObject* o) { return !qobject_cast<QWidget*>(o)->isHidden(); });
        else if (verb == "segments") QCOMPARE(segments(), rest(1));
        else if (verb == "labels") QCOMPARE(labels(), rest(1));
        else if (verb == "style") {
            const MapLabel& r = d.MapLabels[size_t(arg(1).toInt())];
            const QFont f = labelFont(r.FontName, r.FontSize, r.FontBold, r.FontItalic, r.FontStrikethru,
                                      r.FontUnderline);
            QCOMPARE(fontText(f, long(r.Color)), rest(2));
        } else if (verb == "font") QCOMPARE(fontText(marker(arg(1)).Font, marker(arg(1)).ForeColor), rest(2));
        else if (verb == "centre") {
            const Marker& m = marker(arg(1));
            QCOMPARE(QPointF(m.Left + m.Width / 2, m.Top + m.Height / 2), QPointF(num(2), num(3)));
        } else if (verb == "popup" || verb == "error") {
            QString& seen = verb == "popup" ? popup : error;
            QCOMPARE(std::exchange(seen, QString()), rest(1));
        } else throw std::runtime_error("no verb " + verb.toStdString());
    }
};

} // namespace

class ScenarioTest : public QObject {
    Q_OBJECT
private slots:
    void scenarios_data() {
        QTest::addColumn<QStringList>("lines");
        const QDir dir(dataDir());
        QCOMPARE(dir.entryList({"*.scn"}).size(), 4);
        for (const QString& name : dir.entryList({"*.scn"})) {
            QFile f(dir.filePath(name));
            QVERIFY(f.open(QIODevice::ReadOnly | QIODevice::Text));
            const QStringList lines = QString::fromUtf8(f.readAll()).split('\n');
            for (int i = 0; i < lines.size(); ++i) {
                if (!lines[i].startsWith("== ")) continue;
                QStringList steps;
                for (int j = i + 1; j < lines.size() && !lines[j].startsWith("== "); ++j)
                    if (!lines[j].trimmed().isEmpty() && !lines[j].startsWith('#'))
                        steps << QStringLiteral("%1:%2: %3").arg(name).arg(j + 1).arg(lines[j]);
                QTest::newRow(qPrintable(lines[i].mid(3))) << steps;
            }
        }
    }
    void scenarios() {
        QFETCH(QStringList, lines);
        Player p;
        p.start(0, 0);
        for (const QString& line : lines) {
            try {
                p.step(line.section(": ", 1));
            } catch (const std::exception& e) {
                QFAIL(qPrintable(QString::fromStdString(e.what()) + " at " + line));
            }
            if (QTest::currentTestFailed()) QFAIL(qPrintable("at " + line));
        }
        // Every answer given was asked for.
        QCOMPARE(dialogs().answers.size(), size_t(0));
    }
};

VEX_TEST(ScenarioTest);
#include "ScenarioTest.moc"
