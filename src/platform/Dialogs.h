// Every modal question the program asks goes through here: message boxes,
// input boxes, the common file, font and colour dialogs, and the program's own
// modal windows.  The application shows real Qt dialogs; tests install a
// scripted responder that records each prompt and returns queued answers, so
// that no test ever waits on a person.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

class QDialog;
class QInputDialog;
class QMessageBox;
class QWidget;

namespace dlg {

enum class Icon { None, Critical, Question, Exclamation, Information };
enum class Buttons { OK, OKCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
enum class Answer { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

// The old message-box style code: buttons + icon (16, 32, 48, 64).
struct MsgStyle {
    Buttons buttons = Buttons::OK;
    Icon icon = Icon::None;
};

// The common dialog's fields, in the shape the commands fill them.
struct CommonDialog {
    bool CancelError = false;
    QString DialogTitle;
    QString FileName;     // in: suggested name; out: chosen full path
    QString FileTitle;    // out: file name without folder
    int Flags = 0;
    QString Filter;       // "Description (*.a;*.b)|*.a;*.b|..." as the old dialogs took it
    int FilterIndex = 1;
    QString DefaultExt;
    QString InitDir;
    // Font dialog fields.
    QString FontName;
    double FontSize = 8.25;
    bool FontBold = false;
    bool FontItalic = false;
    bool FontStrikethru = false;
    bool FontUnderline = false;
    // Colour (0x00BBGGRR), used by the colour dialog and the font dialog.
    long Color = 0;
};

// One prompt as shown, recorded by the scripted responder.
struct Prompt {
    enum class Kind { Message, Input, Open, Save, Font, Color, Window } kind = Kind::Message;
    QString text;
    QString title;
    Icon icon = Icon::None;
    Buttons buttons = Buttons::OK;
    QString defaultText; // input boxes; the file name for file dialogs
    QString filter;      // file dialogs
};

// What a scripted answer can be.
struct Cancel {};
struct FontChoice {
    QString name;
    double size = 8.25;
    bool bold = false, italic = false, strike = false, underline = false;
    long color = 0;
};
using WindowScript = std::function<int(QDialog*)>; // returns the exec() result
using ScriptedAnswer = std::variant<Answer, QString, Cancel, FontChoice, long, WindowScript>;

class Provider {
public:
    virtual ~Provider() = default;
    virtual Answer message(QWidget* parent, const QString& text, MsgStyle style, const QString& title) = 0;
    // Returns nothing when cancelled.
    virtual std::optional<QString> input(QWidget* parent, const QString& prompt, const QString& title,
                          const QString& defaultText) = 0;
    virtual bool open(QWidget* parent, CommonDialog& cd) = 0;
    virtual bool save(QWidget* parent, CommonDialog& cd) = 0;
    virtual bool font(QWidget* parent, CommonDialog& cd) = 0;
    virtual bool color(QWidget* parent, CommonDialog& cd) = 0;
    // Runs one of the program's own modal windows; returns QDialog's result.
    virtual int exec(QDialog* dialog) = 0;
};

// The process-wide provider; the real Qt one unless a test installed another.
Provider& provider();
void setProvider(std::unique_ptr<Provider> p);

// Conveniences used by the commands.  `title` empty means the application title.
Answer msgBox(const QString& text, MsgStyle style = {}, const QString& title = {});
// "" when cancelled, as the old input box did: most commands treat an empty
// answer and Cancel alike.
QString inputBox(const QString& prompt, const QString& title = {}, const QString& defaultText = {});
// Nothing when cancelled, for a command where an empty answer means something.
std::optional<QString> inputBoxAnswer(const QString& prompt, const QString& title = {},
                                      const QString& defaultText = {});
bool showOpen(CommonDialog& cd);
bool showSave(CommonDialog& cd);
bool showFont(CommonDialog& cd);
bool showColor(CommonDialog& cd);
int execDialog(QDialog* dialog);

// The parent used for the dialogs (the main window once it exists).
void setParentWindow(QWidget* w);
QWidget* parentWindow();
QString applicationTitle();
void setApplicationTitle(const QString& title);

// Converts an old-style "Desc|*.a;*.b|Desc2|*.c" filter into Qt's filter list,
// matching both upper- and lower-case extensions.
QStringList qtFilters(const QString& filter);

// The width a dialog needs to show a title whose bold text is titleAdvance
// pixels wide, with the window manager's frame height as measured (0 when
// not known) and the bold font's line height.
int titleFitWidth(int titleAdvance, int lineHeight, int frameHeight);

// A message box with its text, icon, buttons and title, kept at least as wide
// as its title needs in a window manager's title bar.
std::unique_ptr<QMessageBox> makeMessageBox(QWidget* parent, const QString& text, MsgStyle style,
                                            const QString& title);
// An input box with its prompt, title and default text, as wide as its title
// needs in the same way.
std::unique_ptr<QInputDialog> makeInputBox(QWidget* parent, const QString& prompt, const QString& title,
                                           const QString& defaultText);

// The real dialogs.
class QtProvider : public Provider {
public:
    Answer message(QWidget* parent, const QString& text, MsgStyle style, const QString& title) override;
    std::optional<QString> input(QWidget* parent, const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    bool open(QWidget* parent, CommonDialog& cd) override;
    bool save(QWidget* parent, CommonDialog& cd) override;
    bool font(QWidget* parent, CommonDialog& cd) override;
    bool color(QWidget* parent, CommonDialog& cd) override;
    int exec(QDialog* dialog) override;
};

// The test responder: answers from a queue and records every prompt.  A prompt
// that finds the queue empty is answered Cancel (or "") and counted in
// `unanswered`, so a test can assert that nothing unexpected was asked.
class ScriptedProvider : public Provider {
public:
    std::deque<ScriptedAnswer> answers;
    std::vector<Prompt> prompts;
    int unanswered = 0;

    void queue(ScriptedAnswer a) { answers.push_back(std::move(a)); }
    void clear() { answers.clear(); prompts.clear(); unanswered = 0; }

    Answer message(QWidget* parent, const QString& text, MsgStyle style, const QString& title) override;
    std::optional<QString> input(QWidget* parent, const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    bool open(QWidget* parent, CommonDialog& cd) override;
    bool save(QWidget* parent, CommonDialog& cd) override;
    bool font(QWidget* parent, CommonDialog& cd) override;
    bool color(QWidget* parent, CommonDialog& cd) override;
    int exec(QDialog* dialog) override;

private:
    std::optional<ScriptedAnswer> next();
    bool fileAnswer(CommonDialog& cd, Prompt::Kind kind);
};

} // namespace dlg
