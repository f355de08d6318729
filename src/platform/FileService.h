// The file service: the user's documents folder, existence tests, splitting
// a path into folder and file name, the system's name, keeping a notice
// window on top, and the text of a NUL-terminated buffer.
#pragma once

#include <QByteArray>
#include <QString>

class QWidget;

class FileService {
public:
    // Folder number of the user's documents folder.
    static constexpr int DocumentsFolder = 5;

    // The folder with that number, ending in "/"; "" when there is none.  Only
    // the documents folder (5) is known; it is created when it is missing.
    static QString SpecialFolderPath(int folder);
    // Whether a file or a folder of that path exists.
    static bool FileExists(const QString& path);
    // wantFolder: the folder part, ending in its separator ("" when the path
    // has none); otherwise the file name with its extension.  Both "/" and
    // "\" separate, so paths written by the Windows versions split too.
    static QString SplitPath(const QString& path, bool wantFolder);
    // The path with "." and ext appended when its file name has no extension
    // (just ext after a trailing point); otherwise the path as it is.
    static QString WithExtension(const QString& path, const QString& ext);
    // The operating system's name and version, e.g. "Debian GNU/Linux 12 (bookworm)".
    static QString SystemName();
    // Keeps a window above the others (onTop True) or lets it go back to
    // normal stacking.  False when there is no window.
    static bool SetWindowState(QWidget* window, bool onTop);
    // The text of a character buffer up to its first NUL; "" when the buffer
    // holds no NUL (nothing was written into it).
    static QString StripNulls(const QByteArray& buffer);
};
