// The help system: the compiled help collection and the help viewer (Qt
// Assistant) that shows its contents, the how-to topic and the search, and
// that is closed when the program ends.
#pragma once

#include <QString>

class QWidget;

namespace help {

// Commands of ShowHelp.
constexpr long HelpContext = 1;     // the topic whose context number is `data`
constexpr long HelpQuit = 2;        // close the viewer
constexpr long HelpContents = 3;    // the contents page
constexpr long HelpPartialKey = 0x105; // the keyword search

// Context number of the "How to Use Vexolan" topic.
constexpr long HowToUseTopic = 2;

// Shown when the program has no help collection.
QString noHelpText(); // "Unable to display Help Contents. There is no Help associated with this project."

// The compiled help collection (vexolan.qhc): in the "help" folder beside the
// program, in the build tree's help folder, or in the installed share
// folder; "" when none of them holds it.
QString HelpFilePath();

// The help viewer program; "" when it is not installed.
QString ViewerProgram();
// Tests point this at a stand-in viewer; "" goes back to the real one.
void setViewerProgram(const QString& program);

struct HelpResult {
    enum class Status {
        Shown,      // the viewer got the command (or there was nothing to close)
        NoHelpFile, // the caller shows `message` (noHelpText) with an information icon
        ViewerError // the caller shows `message` in a plain message box
    };
    Status status = Status::Shown;
    QString message;
};

// Carries out one help command with the given collection file (normally
// HelpFilePath()).  The viewer is started on first use and kept running for
// later commands; HelpQuit closes it (and never reports anything, so ending
// the program never shows a help message).  `owner` is the window asking.
HelpResult ShowHelp(QWidget* owner, long command, long data, const QString& helpFile);

// Whether the viewer started by ShowHelp is running.
bool ViewerRunning();

} // namespace help
