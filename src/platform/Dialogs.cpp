#include "platform/Dialogs.h"

#include "digitize/FontColorDialog.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>

#include <algorithm>

namespace dlg {

namespace {
std::unique_ptr<Provider>& current() {
    static std::unique_ptr<Provider> p;
    return p;
}
QWidget* g_parent = nullptr;
QString g_title = QStringLiteral("Ferno Vexolan");

QColor fromColorNumber(long c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }
long toColorNumber(const QColor& c) { return long(c.red()) | (long(c.green()) << 8) | (long(c.blue()) << 16); }

void fillFileResult(CommonDialog& cd, const QString& path) {
    cd.FileName = path;
    cd.FileTitle = QFileInfo(path).fileName();
}
} // namespace

Provider& provider() {
    auto& p = current();
    if (!p) p = std::make_unique<QtProvider>();
    return *p;
}

void setProvider(std::unique_ptr<Provider> p) { current() = std::move(p); }

void setParentWindow(QWidget* w) { g_parent = w; }
QWidget* parentWindow() { return g_parent; }
QString applicationTitle() { return g_title; }
void setApplicationTitle(const QString& title) { g_title = title; }

Answer msgBox(const QString& text, MsgStyle style, const QString& title) {
    return provider().message(g_parent, text, style, title.isEmpty() ? g_title : title);
}
QString inputBox(const QString& prompt, const QString& title, const QString& defaultText) {
    return inputBoxAnswer(prompt, title, defaultText).value_or(QString());
}
std::optional<QString> inputBoxAnswer(const QString& prompt, const QString& title, const QString& defaultText) {
    return provider().input(g_parent, prompt, title.isEmpty() ? g_title : title, defaultText);
}
bool showOpen(CommonDialog& cd) { return provider().open(g_parent, cd); }
bool showSave(CommonDialog& cd) { return provider().save(g_parent, cd); }
bool showFont(CommonDialog& cd) { return provider().font(g_parent, cd); }
bool showColor(CommonDialog& cd) { return provider().color(g_parent, cd); }
int execDialog(QDialog* dialog) { return provider().exec(dialog); }

QStringList qtFilters(const QString& filter) {
    QStringList out;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString desc = parts[i];
        const QStringList pats = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        QStringList both;
        for (const QString& p : pats) {
            const QString t = p.trimmed();
            both << t;
            if (t.toLower() != t.toUpper()) {
                if (!both.contains(t.toLower())) both << t.toLower();
                if (!both.contains(t.toUpper())) both << t.toUpper();
            }
        }
        // Qt shows the patterns in brackets; drop any the description carries.
        desc.remove(QRegularExpression(QStringLiteral("\\s*\\([^)]*\\)\\s*$")));
        out << QStringLiteral("%1 (%2)").arg(desc, both.join(QLatin1Char(' ')));
    }
    return out;
}

// ---------------------------------------------------------------------------
int titleFitWidth(int titleAdvance, int lineHeight, int frameHeight) {
    // A window shown but not yet framed by the window manager measures the
    // difference between its old and its new size as its frame; no title bar
    // is higher than two lines, so such a figure is not taken whole (the box
    // keeps the width once set and would stay far too wide).
    const int bar = std::clamp(frameHeight, lineHeight, 2 * lineHeight);
    return titleAdvance * 5 / 4 + 8 * bar;
}

namespace {

// What a window manager adds to a window's height (its title bar and
// borders); 0 before it has framed the window, and offscreen.
int frameHeight(const QWidget* w) { return w->frameGeometry().height() - w->geometry().height(); }

// A dialog at least as wide as its title needs in a window manager's title
// bar.  A short message or prompt makes a narrow box, and the title was then
// cut to a few letters.  Title bars set their text in bold, centred between
// the window's icon on one side and its three buttons on the other: the box
// keeps room for all of it.  Message boxes fix their own size whenever they
// lay themselves out (they rebuild their layout when the desktop restyles
// them), and input boxes follow their layout's size, so the width is
// enforced after each of those.
template <class Dialog> class TitleFit : public Dialog {
public:
    using Dialog::Dialog;

protected:
    bool event(QEvent* e) override {
        const bool result = Dialog::event(e);
        if (e->type() == QEvent::LayoutRequest) widen();
        return result;
    }
    void showEvent(QShowEvent* e) override {
        Dialog::showEvent(e);
        widen();
    }
    void changeEvent(QEvent* e) override {
        Dialog::changeEvent(e);
        widen();
    }

private:
    void widen() {
        QFont titleFont = this->font();
        titleFont.setBold(true);
        const QFontMetrics fm(titleFont);
        // The window manager's title bar height gives the size of the icon
        // and the buttons; its font is often larger than the program's, hence
        // the quarter more for the text.  The box is framed only once it is
        // on the screen, too late to be shown whole at once: until then the
        // frame of the window it belongs to tells the height.
        const QWidget* owner = this->parentWidget() ? this->parentWidget()->window() : QApplication::activeWindow();
        const int need = titleFitWidth(fm.horizontalAdvance(this->windowTitle()), fm.height(),
                                       std::max(frameHeight(this), owner ? frameHeight(owner) : 0));
        if (this->width() < need) this->setFixedWidth(need);
    }
};

} // namespace

std::unique_ptr<QMessageBox> makeMessageBox(QWidget* parent, const QString& text, MsgStyle style,
                                            const QString& title) {
    auto box = std::make_unique<TitleFit<QMessageBox>>(parent);
    box->setWindowTitle(title);
    box->setText(text);
    switch (style.icon) {
    case Icon::None: box->setIcon(QMessageBox::NoIcon); break;
    case Icon::Critical: box->setIcon(QMessageBox::Critical); break;
    case Icon::Question: box->setIcon(QMessageBox::Question); break;
    case Icon::Exclamation: box->setIcon(QMessageBox::Warning); break;
    case Icon::Information: box->setIcon(QMessageBox::Information); break;
    }
    QMessageBox::StandardButtons b;
    switch (style.buttons) {
    case Buttons::OK: b = QMessageBox::Ok; break;
    case Buttons::OKCancel: b = QMessageBox::Ok | QMessageBox::Cancel; break;
    case Buttons::AbortRetryIgnore: b = QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore; break;
    case Buttons::YesNoCancel: b = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    case Buttons::YesNo: b = QMessageBox::Yes | QMessageBox::No; break;
    case Buttons::RetryCancel: b = QMessageBox::Retry | QMessageBox::Cancel; break;
    }
    box->setStandardButtons(b);
    return box;
}

std::unique_ptr<QInputDialog> makeInputBox(QWidget* parent, const QString& prompt, const QString& title,
                                           const QString& defaultText) {
    auto box = std::make_unique<TitleFit<QInputDialog>>(parent);
    box->setWindowTitle(title);
    box->setLabelText(prompt);
    box->setTextValue(defaultText);
    return box;
}

Answer QtProvider::message(QWidget* parent, const QString& text, MsgStyle style, const QString& title) {
    const std::unique_ptr<QMessageBox> box = makeMessageBox(parent, text, style, title);
    switch (box->exec()) {
    case QMessageBox::Ok: return Answer::OK;
    case QMessageBox::Abort: return Answer::Abort;
    case QMessageBox::Retry: return Answer::Retry;
    case QMessageBox::Ignore: return Answer::Ignore;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return style.buttons == Buttons::OK ? Answer::OK : Answer::Cancel;
    }
}

std::optional<QString> QtProvider::input(QWidget* parent, const QString& prompt, const QString& title,
                                         const QString& defaultText) {
    const std::unique_ptr<QInputDialog> box = makeInputBox(parent, prompt, title, defaultText);
    if (box->exec() != QDialog::Accepted) return std::nullopt;
    return box->textValue();
}

static QString startPath(const CommonDialog& cd) {
    if (cd.FileName.isEmpty()) return cd.InitDir;
    if (QFileInfo(cd.FileName).isAbsolute() || cd.InitDir.isEmpty()) return cd.FileName;
    return QDir(cd.InitDir).filePath(cd.FileName);
}

bool QtProvider::open(QWidget* parent, CommonDialog& cd) {
    const QStringList f = qtFilters(cd.Filter);
    QString sel = f.value(cd.FilterIndex - 1);
    const QString path = QFileDialog::getOpenFileName(parent, cd.DialogTitle, startPath(cd), f.join(QStringLiteral(";;")), &sel);
    if (path.isEmpty()) return false;
    fillFileResult(cd, path);
    return true;
}

bool QtProvider::save(QWidget* parent, CommonDialog& cd) {
    const QStringList f = qtFilters(cd.Filter);
    QString sel = f.value(cd.FilterIndex - 1);
    QFileDialog d(parent, cd.DialogTitle, startPath(cd), f.join(QStringLiteral(";;")));
    d.setAcceptMode(QFileDialog::AcceptSave);
    if (!cd.DefaultExt.isEmpty()) d.setDefaultSuffix(cd.DefaultExt);
    if (!sel.isEmpty()) d.selectNameFilter(sel);
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return false;
    fillFileResult(cd, d.selectedFiles().first());
    return true;
}

bool QtProvider::font(QWidget* parent, CommonDialog& cd) {
    // Qt's own font dialog has no colour choice; the program's dialog has.
    return runFontColorDialog(parent, cd);
}

bool QtProvider::color(QWidget* parent, CommonDialog& cd) {
    const QColor c = QColorDialog::getColor(fromColorNumber(cd.Color), parent, cd.DialogTitle);
    if (!c.isValid()) return false;
    cd.Color = toColorNumber(c);
    return true;
}

int QtProvider::exec(QDialog* dialog) { return dialog->exec(); }

// ---------------------------------------------------------------------------
std::optional<ScriptedAnswer> ScriptedProvider::next() {
    if (answers.empty()) {
        ++unanswered;
        return std::nullopt;
    }
    ScriptedAnswer a = std::move(answers.front());
    answers.pop_front();
    return a;
}

Answer ScriptedProvider::message(QWidget*, const QString& text, MsgStyle style, const QString& title) {
    prompts.push_back({Prompt::Kind::Message, text, title, style.icon, style.buttons, {}, {}});
    auto a = next();
    if (a) {
        if (auto* ans = std::get_if<Answer>(&*a)) return *ans;
        if (std::holds_alternative<Cancel>(*a)) return Answer::Cancel;
    }
    return style.buttons == Buttons::OK ? Answer::OK : Answer::Cancel;
}

std::optional<QString> ScriptedProvider::input(QWidget*, const QString& prompt, const QString& title,
                                               const QString& defaultText) {
    prompts.push_back({Prompt::Kind::Input, prompt, title, Icon::None, Buttons::OKCancel, defaultText, {}});
    auto a = next();
    if (a) {
        if (auto* s = std::get_if<QString>(&*a)) return *s;
        if (auto* ans = std::get_if<Answer>(&*a); ans && *ans == Answer::OK) return defaultText;
    }
    return std::nullopt;
}

bool ScriptedProvider::fileAnswer(CommonDialog& cd, Prompt::Kind kind) {
    prompts.push_back({kind, cd.DialogTitle, cd.DialogTitle, Icon::None, Buttons::OKCancel, cd.FileName, cd.Filter});
    auto a = next();
    if (!a) return false;
    if (auto* s = std::get_if<QString>(&*a)) {
        QString path = *s;
        if (kind == Prompt::Kind::Save && !cd.DefaultExt.isEmpty() && QFileInfo(path).suffix().isEmpty())
            path += QLatin1Char('.') + cd.DefaultExt;
        fillFileResult(cd, path);
        return true;
    }
    return false;
}

bool ScriptedProvider::open(QWidget*, CommonDialog& cd) { return fileAnswer(cd, Prompt::Kind::Open); }
bool ScriptedProvider::save(QWidget*, CommonDialog& cd) { return fileAnswer(cd, Prompt::Kind::Save); }

bool ScriptedProvider::font(QWidget*, CommonDialog& cd) {
    prompts.push_back({Prompt::Kind::Font, cd.DialogTitle, cd.DialogTitle, Icon::None, Buttons::OKCancel, cd.FontName, {}});
    auto a = next();
    if (!a) return false;
    if (auto* f = std::get_if<FontChoice>(&*a)) {
        cd.FontName = f->name;
        cd.FontSize = f->size;
        cd.FontBold = f->bold;
        cd.FontItalic = f->italic;
        cd.FontStrikethru = f->strike;
        cd.FontUnderline = f->underline;
        cd.Color = f->color;
        return true;
    }
    return false;
}

bool ScriptedProvider::color(QWidget*, CommonDialog& cd) {
    prompts.push_back({Prompt::Kind::Color, cd.DialogTitle, cd.DialogTitle, Icon::None, Buttons::OKCancel, {}, {}});
    auto a = next();
    if (!a) return false;
    if (auto* c = std::get_if<long>(&*a)) {
        cd.Color = *c;
        return true;
    }
    return false;
}

int ScriptedProvider::exec(QDialog* dialog) {
    prompts.push_back({Prompt::Kind::Window, dialog->windowTitle(), dialog->windowTitle(), Icon::None, Buttons::OK, {}, {}});
    auto a = next();
    if (a) {
        if (auto* w = std::get_if<WindowScript>(&*a)) return (*w)(dialog);
        if (auto* ans = std::get_if<Answer>(&*a)) return *ans == Answer::OK ? QDialog::Accepted : QDialog::Rejected;
    }
    return QDialog::Rejected;
}

} // namespace dlg
