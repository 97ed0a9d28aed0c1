#pragma once

#include <QStringList>
#include <QWidget>
#include <functional>

// Answers modal windows as a person would: queue an answer before the code
// that opens the window runs; the first answer meant for the window's class
// (any, if none is named) is called with it and must close it. Nothing waits
// for ever: a window still showing shortly after its answer, a window no
// answer takes, and an answer no window takes in time each fail the running
// test, saying what was showing, and the window is closed.
class ModalAnswer
{
  public:
    using Answer = std::function<void(QWidget* modal)>;

    // className: e.g. "QMessageBox", "delvard::AboutDialog".
    static void queue(const QString& className, Answer answer);

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
