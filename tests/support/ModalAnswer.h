#pragma once

#include <QStringList>
#include <QWidget>
#include <functional>

// Answers modal windows the way a person would, so that tests never block:
// queue an answer before the code that opens the window runs. Each answer
// waits for the next modal window (of the given class, if named) and is
// then called with it; the answer must close it.
//
// Nothing waits for ever: a window still showing shortly after its answer,
// a modal window no answer takes, and an answer no window takes in time
// each fail the running test, saying what was showing, and the window is
// closed so the code under test goes on.
class ModalAnswer
{
  public:
    using Answer = std::function<void(QWidget* modal)>;

    // className: e.g. "QMessageBox", "delvard::AboutDialog"; empty takes any modal window.
    // A window is answered by the first queued answer meant for its class.
    static void queue(const QString& className, Answer answer);

    // Titles (class name: window title) of every modal window answered so
    // far, in order; tests compare the sequence of dialogs.
    static QStringList seen();
    static int pending();
    static void reset();

    // Presses the button whose text is `text` (mnemonics ignored) in the widget.
    static bool pressButton(QWidget* window, const QString& text);

    // Types `path` into a file dialog's name field, as a person would, and
    // accepts it; false when the dialog did not take the name.
    static bool chooseFile(QWidget* fileDialog, const QString& path);

    // The window's class, title, texts and buttons, for a failure message.
    static QString describe(QWidget* window);
};
