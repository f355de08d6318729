// The digitizing tests.  DigitizeRulesTest: the rules that need no window
// (point records and keys, renumbering, contact numbers, lists, order and line
// segments, the click decisions, where labels stand), the cases with their
// hand-computed results the lines of tests/data/digitize/rules.txt.
// ScenarioTest: plays the scenarios of tests/data/digitize/*.scn on the real
// main window.  Each scenario starts a window as a registration leaves it and
// plays its lines in order: the choices, clicks, menu items and answers a user
// gives, and what the window must then show, compared as text; the steps and
// checks are listed at the top of points.scn.  DrawingAndDialogTest: what the
// scenarios cannot say as text.
#include "common/DigitizeSupport.h"
#include "common/TestRegistry.h"
#include "digitize/ContactDisplay.h"
#include "digitize/ContactSegments.h"
#include "digitize/Contacts.h"
#include "digitize/FontColorDialog.h"
#include "digitize/LabelCommands.h"
#include "digitize/LabelLayout.h"
#include "digitize/MapClicks.h"
#include "digitize/PointRecords.h"
#include "document/Legacy.h"
#include "map/MapView.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QGroupBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <ranges>
#include <stdexcept>

using namespace testsupport;

namespace {

QString dataDir() { return qEnvironmentVariable("VEXOLAN_TEST_DATA") + QStringLiteral("/digitize"); }

// The lines of a file of tests/data/digitize.
QStringList dataLines(const QString& name) {
    QFile f(dataDir() + '/' + name);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        throw std::runtime_error("cannot read " + f.fileName().toStdString());
    return QString::fromUtf8(f.readAll()).split('\n');
}

// What `run` returns, or the description of the error it raises.
template <typename F> QString orError(F run) {
    try {
        return run();
    } catch (const legacy::Error& e) {
        return e.description();
    }
}

// A record from "number/z", a '*' marking a combined one.
DataPoint rec(const QString& t, float x = 0, float y = 0) {
    return {int16_t(t.section('/', 0, 0).toInt()), x, y, t.section('/', 1).remove('*').toFloat(),
            t.endsWith('*')};
}

// Records from "number/z" words; X holds the index.
std::vector<DataPoint> recs(const QString& s) {
    std::vector<DataPoint> v(1);
    for (const QString& t : s.split(' ', Qt::SkipEmptyParts))
        v.push_back(rec(t, float(v.size())));
    return v;
}

// The items of a range as words, each as `text` gives it.
template <typename R, typename F> QString words(R&& range, F text) {
    QStringList out;
    for (const auto& x : range) out << text(x);
    return out.join(' ');
}
QString number(double x) { return QString::number(x); }
QString hex(long colour) { return QString::number(colour, 16); }
// The indexes from..n.
auto upTo(int n, int from = 1) { return std::views::iota(from, std::max(from, n + 1)); }

std::vector<int16_t> shorts(const QString& s, bool unusedFirst) {
    std::vector<int16_t> v(unusedFirst ? 1 : 0);
    for (const QString& t : s.split(' ', Qt::SkipEmptyParts))
        v.push_back(int16_t(t.toInt()));
    return v;
}

QString segmentText(const ContactSegment& g) { return QStringLiteral("%1>%2").arg(g.from).arg(g.to); }

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
        return pointsText(v, count) + " ; " + words(changed, number);
    }
    if (rule == "datnum") return QString::number(contacts::MapDatNum(v, count, f[1].toFloat()));
    if (rule == "designators") {
        v.resize(1);
        for (const QString& z : a)
            v.push_back({0, 0, 0, z.toFloat(), false});
        return words(contacts::ContactDesignators(v, int(a.size())), number);
    }
    if (rule == "order") {
        contacts::OrderPoints(v, count, shorts(f[1], false));
        return pointsText(v, count) + " ; " + words(upTo(count), [&](int i) { return number(v[i].X); });
    }
    if (rule == "segments") {
        const std::vector<int16_t> list = shorts(f[1], true);
        const QString s = words(contactSegments(v, count, list, int(list.size()) - 1, f[2]), segmentText);
        // Counts beyond the arrays (an inconsistent document) read nothing past the end.
        const QString beyond =
            words(contactSegments(v, count + 50, list, int(list.size()) + 9, f[2]), segmentText);
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
    FIELD(doc.ProjectionName), FIELD(doc.CoordUnits), FIELD(doc.ProjScaleX), FIELD(doc.ProjScaleY), FIELD(doc.LabFileName),
    FIELD(doc.CurLabel), FIELD(doc.ContactCount), FIELD(doc.LabelCount), FIELD(doc.DatCount),
    FIELD(doc.RefPixelX1), FIELD(doc.RefPixelY1), FIELD(doc.RefPixelX2), FIELD(doc.RefPixelY2),
    FIELD(doc.MapSpanX), FIELD(doc.MapSpanY), FIELD(BusyLoading), FIELD(LabelsShown), FIELD(LabelsSuppressed),
    FIELD(ContactShowMode),
    Field{"DatumPoints", [](MainWindow& w) { return QString::number(w.doc.DatumPoints.size()); }, {}},
    Field{"MapLabels", [](MainWindow& w) { return QString::number(w.doc.MapLabels.size()); }, {}},
    Field{"panel2", [](MainWindow& w) { return w.panel(2); }, {}},
    Field{"caption",
          [](MainWindow& w) { return w.windowTitle().mid(dlg::applicationTitle().size()).trimmed(); },
          [](MainWindow& w, const QString& v) { w.setDocumentCaption(v); }}};

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

// A label record's or a font dialog's style in the same words.
template <typename R> QString styleText(const R& r) {
    return fontText(labelFont(r.FontName, r.FontSize, r.FontBold, r.FontItalic, r.FontStrikethru,
                              r.FontUnderline),
                    long(r.Color));
}

class Player {
public:
    std::unique_ptr<MainWindow> w;
    QString line, error, popup;

    void start(double left, double top, bool registered = true) {
        w = registered ? startLinearWindow(left, top) : startMainWindow();
        w->digitizer->popupMenu = [this](QMenu* m, const QPoint& at) {
            const QPoint p = w->markers->mapFromGlobal(at);
            popup = m->objectName() + ' ' + number(twips::fromPx(p.x())) + ',' + number(twips::fromPx(p.y()));
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

    // "NAMES = SOME": which of the names have the property.
    void which(const std::function<bool(QObject*)>& has) {
        QStringList out;
        for (const QString& n : rest(1).section(" =", 0, 0).split(' ', Qt::SkipEmptyParts))
            if (has(obj(n))) out << n;
        QCOMPARE(out.join(' '), rest(1).section(" =", 1).trimmed());
    }
    static bool enabled(QObject* o) {
        if (auto* m = qobject_cast<QMenu*>(o)) o = m->menuAction();
        return o->property("enabled").toBool();
    }

    dlg::ScriptedAnswer answer(const QString& a) {
        if (!a.startsWith('<') || !a.endsWith('>')) return a;
        const QString inner = a.mid(1, a.size() - 2);
        if (inner == "cancel") return dlg::Cancel{};
        using A = dlg::Answer;
        const int i = QStringList{"yes", "no", "ok", "cancel-button"}.indexOf(inner);
        if (i >= 0) return std::array{A::Yes, A::No, A::OK, A::Cancel}[size_t(i)];
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
        for (const auto& [name, run] : calls)
            if (arg(1) == name) return void(error += orError([&] { return run(), QString(); }));
        throw std::runtime_error("no call " + what.toStdString());
    }

    // Contact lines by the index of the datum points at their ends, found by
    // place (6 twips a metre from the picture's corner); '?' after a hidden one.
    QString segments() {
        auto at = [&](int i) {
            const DataPoint& p = w->doc.DatumPoints[size_t(i)];
            return QPointF(w->imContacts->Left() + 6.0 * p.X, w->imContacts->Top() + 6.0 * (1000 - p.Y));
        };
        return words(upTo(w->doc.ContactLineCount), [&](int s) {
            const LineSegment& g = w->markers->LineCon[s];
            int from = 0, to = 0;
            for (int i = w->doc.DatCount; i >= 1; --i) {
                if (at(i) == QPointF(g.X1, g.Y1)) from = i;
                if (at(i) == QPointF(g.X2, g.Y2)) to = i;
            }
            return QStringLiteral("%1>%2").arg(from).arg(to) + (g.Visible ? "" : "?");
        });
    }

    QString labels() {
        return words(upTo(w->doc.LabelCount), [&](int i) {
            const MapLabel& r = w->doc.MapLabels[size_t(i)];
            return QStringLiteral("%1@%2,%3").arg(r.Text).arg(r.X).arg(r.Y) +
                   (w->markers->labMap[i].Visible ? "" : "(hidden)");
        });
    }

    void step(const QString& text) {
        line = text;
        const QString verb = arg(0);
        // Steps a user takes, or a state a test puts the window in; the first makes the window.
        if (verb == "window") return start(num(1), num(2), arg(1) != "unregistered");
        Document& d = w->doc;
        if (verb == "choose") {
            for (const QString& n : rest(1).split(' ')) as<OptionButton>(n)->setValue(true);
        } else if (verb == "press") {
            QWidget* b = as<QWidget>(arg(1)); // an option on its round indicator
            const QPoint at = as<OptionButton>(arg(1)) ? QPoint(8, b->height() / 2) : b->rect().center();
            QTest::mouseClick(b, Qt::LeftButton, {}, at);
        } else if (verb == "dclick") QTest::mouseDClick(as<QWidget>(arg(1)), Qt::LeftButton);
        else if (verb == "tick" || verb == "enable")
            obj(arg(1))->setProperty(verb == "tick" ? "checked" : "enabled", arg(2) == "1");
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
            const auto b = Qt::MouseButton(1 << QStringList{"left", "right", "middle"}.indexOf(arg(1)));
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
            p = arg(3).isEmpty() ? rec(arg(2), p.X, p.Y) : rec(arg(2), float(num(3)), float(num(4)));
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
        else if (verb == "markers") {
            const MarkerArray<Marker>& m = markers(arg(1)[0]);
            auto colour = [&](int i) { return hex(m[i].ForeColor) + (m[i].Visible ? "" : "-"); };
            QCOMPARE(words(upTo(m.count(), 0), colour), rest(2));
        } else if (verb == "combo") {
            const QComboBox* c = w->cmbShow;
            const QString items = words(upTo(c->count() - 1, 0), [&](int i) { return c->itemText(i); });
            QCOMPARE(items + " at " + c->currentText(), rest(1));
        } else if (verb == "linecolours") {
            const auto& g = w->markers->LineCon;
            QCOMPARE(words(upTo(g.count()), [&](int i) { return hex(g[i].BorderColor); }), rest(1));
        }
        else if (verb == "xy")
            QCOMPARE(QStringLiteral("%1 %2").arg(point(arg(1)).X).arg(point(arg(1)).Y), rest(2));
        else if (verb == "text" || verb == "tip") {
            QObject* o = obj(arg(1));
            const char* property = verb == "tip" ? "toolTip" : qobject_cast<QGroupBox*>(o) ? "title" : "text";
            QCOMPARE(o->property(property).toString(), rest(2));
        }
        else if (verb == "field") QCOMPARE(field(arg(1)).get(*w), rest(2).replace("<data>", dataDir()));
        else if (verb == "count") {
            const int n = arg(1) == "lines" ? w->markers->LineCon.count() : markers(arg(1)[0]).count();
            QCOMPARE(n, arg(2).toInt());
        }
        else if (verb == "enabled") which(enabled);
        else if (verb == "checked") which([](QObject* o) { return o->property("checked").toBool(); });
        else if (verb == "shown") which([](QObject* o) { return !qobject_cast<QWidget*>(o)->isHidden(); });
        else if (verb == "segments") QCOMPARE(segments(), rest(1));
        else if (verb == "labels") QCOMPARE(labels(), rest(1));
        else if (verb == "style") QCOMPARE(styleText(d.MapLabels[size_t(arg(1).toInt())]), rest(2));
        else if (verb == "font") QCOMPARE(fontText(marker(arg(1)).Font, marker(arg(1)).ForeColor), rest(2));
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

class DigitizeRulesTest : public QObject {
    Q_OBJECT
private slots:
    void rules_data() {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QStringList>("input");
        QTest::addColumn<QString>("expected");
        const QStringList lines = dataLines("rules.txt");
        for (int i = 0; i < lines.size(); ++i) {
            const QString rest = lines[i].section(' ', 1);
            if (lines[i].trimmed().isEmpty() || lines[i].startsWith('#')) continue;
            QStringList input;
            for (const QString& field : rest.section("=>", 0, 0).split(';')) input << field.trimmed();
            QTest::addRow("%d %s", i + 1, qPrintable(lines[i]))
                << lines[i].section(' ', 0, 0) << input << rest.section("=>", 1).trimmed();
        }
    }
    void rules() {
        QFETCH(QString, rule);
        QFETCH(QStringList, input);
        QTEST(orError([&] { return apply(rule, input); }), "expected");
    }

    void appendPastTheLimitChangesNothing() {
        std::vector<DataPoint> full(32768);
        int count = 32767;
        QVERIFY_THROWS_EXCEPTION(legacy::Error, points::AppendPoint(full, count));
        QCOMPARE(count, 32767);
        QCOMPARE(full.size(), size_t(32768));
    }

    // A longer text makes a wider label, a larger font a taller one.
    void labelSize() {
        MapLabel rec;
        rec.Text = QStringLiteral("Granite");
        rec.FontName = QStringLiteral("Arial");
        rec.FontSize = 14;
        Marker m, longer, larger;
        applyLabel(m, rec);
        rec.Text += QStringLiteral(" and gneiss");
        applyLabel(longer, rec);
        rec.FontSize = 28;
        applyLabel(larger, rec);
        QVERIFY(m.Height > 0 && longer.Width > m.Width && larger.Height > m.Height);
    }
};

class ScenarioTest : public QObject {
    Q_OBJECT
private slots:
    void scenarios_data() {
        QTest::addColumn<QStringList>("lines");
        const QDir dir(dataDir());
        QCOMPARE(dir.entryList({"*.scn"}).size(), 4);
        for (const QString& name : dir.entryList({"*.scn"})) {
            const QStringList lines = dataLines(name);
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

// The pixels of contact lines and labels, "Halt Show" pressed while the
// drawing lets events run, and the font dialog with its colour choice, filled,
// read back and shown by the real dialog provider.
class DrawingAndDialogTest : public QObject {
    Q_OBJECT

    // A window after the steps, contact data on a picture at (300, 600).
    static std::unique_ptr<MainWindow> played(std::initializer_list<const char*> steps) {
        Player p;
        for (const char* s : {"window 300 600", "choose optRock"}) p.step(s);
        for (const char* s : steps) p.step(s);
        return std::move(p.w);
    }
    // How many pixels of the marker layer in `r` are near `colour`.
    static int pixels(MainWindow& w, const QRect& r, QColor colour) {
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

private slots:
    void cleanup() {
        MainWindow::DoEvents = [] { QCoreApplication::processEvents(); };
    }

    void linesAndLabelsArePainted() {
        // A blue line (0xFF0000 as a colour number) from frame (900, 1200) to
        // (2700, 1200), pixel row 80 from 60 to 180; a red label below it.
        auto w = played({"load 1/2 100 900 FF0000", "load 2/2 400 900 FF0000", "label 3000 3000 WWWW",
                         "set CurLabel 1", "answer <font Arial,20,1,0,0,0,0000FF>", "menu mnuContactFont",
                         "hide imPoints", "show imContacts", "call ContactShow"});
        QVERIFY2(pixels(*w, QRect(62, 80, 116, 1), Qt::blue) > 100, "line");
        const Marker& m = w->markers->labMap[1];
        QVERIFY2(pixels(*w, twips::rect(m.Left, m.Top, m.Width, m.Height), Qt::red) > 10, "label");
    }

    void haltShowStopsAfterTheFirstSegment() {
        // Contact 5 of three points numbered 3, 1, 2, contact 1 of two, in the point view.
        auto w = played({"load 3/5 250 200 0", "load 1/5 300 250 0", "load 2/5 400 200 0",
                         "load 1/1 200 300 0", "load 2/1 300 320 0", "enable cmdShow 1"});
        // The contact plot keeps a picture of its own.
        QImage own(40, 40, QImage::Format_RGB32);
        own.fill(Qt::white);
        w->imContacts->setPicture(own);
        // The click on "Halt Show" waits in the queue when the drawing first
        // lets events run, before its first segment; the halted drawing
        // goes back to the map view.
        int halts = 0;
        MainWindow::DoEvents = [&] {
            if (w->cmdShow->text() == QLatin1String("Halt Show") && !halts++) w->cmdShow_Click();
        };
        w->cmdShow_Click();
        QCOMPARE(w->doc.ContactLineCount, 1);
        QVERIFY(!w->doc.ContoursCurrent && w->doc.ShowInterrupt);
        QVERIFY(w->labText->text() != QStringLiteral("All Contacts: Map"));
        QCOMPARE(w->cmdShow->text(), QStringLiteral("Show Contacts"));
        QVERIFY(!w->imPoints->isHidden() && w->imContacts->isHidden());
        // The next drawing is not cut short by the old stop request.
        MainWindow::DoEvents = [] {};
        w->cmdShow_Click();
        QCOMPARE(w->doc.ContactLineCount, 5);
        QVERIFY(w->doc.ContoursCurrent && !w->imContacts->isHidden());
        QCOMPARE(w->imContacts->picture().size(), QSize(40, 40));
    }

    void fontDialog() {
        // The application's provider asks through this dialog: it shows the
        // choice, and OK gives the fields as changed.
        dlg::setProvider(std::make_unique<dlg::QtProvider>());
        QString shown;
        QTimer::singleShot(0, [&] {
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* d = qobject_cast<FontColorDialog*>(top); d && d->isVisible()) {
                    shown = d->fontName()->currentText() + ' ' + d->fontSize()->currentText() + ' ' +
                            d->color()->currentText();
                    d->fontName()->setCurrentText(QStringLiteral("Courier New"));
                    d->fontSize()->setCurrentText(QStringLiteral("14"));
                    d->bold()->setChecked(false);
                    d->italic()->setChecked(true);
                    d->strike()->setChecked(true);
                    d->color()->setCurrentIndex(d->color()->findText(QStringLiteral("Red")));
                    d->accept();
                }
        });
        // Never wait on a person, whatever happens above.
        QTimer::singleShot(5000, [] {
            if (QWidget* m = QApplication::activeModalWidget()) m->close();
        });
        dlg::CommonDialog cd;
        cd.FontName = QStringLiteral("Arial");
        cd.FontSize = 10.5;
        cd.FontBold = cd.FontUnderline = true;
        cd.Color = 0x008000;
        const bool ok = dlg::showFont(cd);
        installScriptedDialogs();
        QVERIFY(ok);
        QCOMPARE(shown, QStringLiteral("Arial 10.5 Green"));
        QCOMPARE(styleText(cd), QStringLiteral("Courier New 14 italic strike underline #0000FF"));
        // A size must be a positive number; one that is not leaves the size as given.
        FontColorDialog d;
        d.setChoice(cd);
        auto* okButton = d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        const std::pair<const char*, double> sizes[] = {{"12", 12}, {"10.5", 10.5}, {"big", 7},
                                                        {"0", 7},   {"10,5", 7},    {"", 7}};
        for (auto [typed, size] : sizes) {
            d.fontSize()->setCurrentText(QString::fromLatin1(typed));
            QCOMPARE(okButton->isEnabled(), size != 7);
            cd.FontSize = 7;
            d.choice(cd);
            QCOMPARE(cd.FontSize, size);
        }
        // A colour outside the sixteen is kept, with one custom entry.
        for (const long colour : {0x123456L, 0x654321L}) {
            cd.Color = colour;
            d.setChoice(cd);
        }
        QCOMPARE(d.color()->currentText() + QString::number(d.color()->count()), QStringLiteral("Custom17"));
        cd.Color = 0;
        d.choice(cd);
        QCOMPARE(cd.Color, 0x654321L);
    }
};

VEX_TEST(DigitizeRulesTest);
VEX_TEST(ScenarioTest);
VEX_TEST(DrawingAndDialogTest);
#include "DigitizeTest.moc"
