#pragma once
// Puts one input at a time through the editor's reading: a file, LoadDXF of a real main window with its placements and document, then a save and a second reading of what was read.

#include "support/DrawingText.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <vector>

class ScriptedDialogs;
class frmZeichnen;

class LoadDxfFuzzer
{
public:
    // Needs a QApplication, and starts the first main window through the welcome window.
    LoadDxfFuzzer();
    ~LoadDxfFuzzer();

    // Aborts, with the reason on stderr, when the editor does anything it must not: a message
    // other than the reader's, a shape that is not finite, or a drawing that does not come back
    // the same from its own file.
    void run(QByteArrayView input);

    // Reports what went wrong and aborts, which libFuzzer records as a crash with its input.
    [[noreturn]] static void fail(const QString &what);

private:
    using Shape = DrawingText::Shape;

    void startWindow();
    // Gives the window a new, empty document and sets the members the reader fills back to their
    // start values, so that each input is read as by a freshly started editor.
    void resetWindow();
    QStringList load(const QString &path);
    // The messages shown since the last call, in order.
    QStringList takeMessages();
    std::vector<Shape> drawing() const;
    void checkPieces(QByteArrayView input) const;
    void checkMessages(const QStringList &messages) const;
    void checkSameDrawing(const std::vector<Shape> &read, const std::vector<Shape> &reread) const;

    std::shared_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<frmZeichnen> m_window;
    QTemporaryDir m_dir;
    QString m_inputPath;
    QString m_savedPath;
};
