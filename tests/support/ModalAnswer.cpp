#include "tests/support/ModalAnswer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <gtest/gtest.h>

namespace {

// Long enough for a loaded machine to bring a window up, short enough to
// fail well inside a test's time limit.
constexpr int WindowComesUpMs = 20000;
// A window closes as its answer returns; this only allows for a close that
// the answer posts.
constexpr int WindowClosesMs = 2000;

struct Pending
{
    QString className;
    ModalAnswer::Answer answer;
    QDeadlineTimer deadline;
};

struct Showing
{
    QPointer<QWidget> window;
    QDeadlineTimer deadline;
    bool answered = false;
};

struct State
{
    std::deque<Pending> answers;
    Showing showing;
    QTimer* poller = nullptr;
};

State& state()
{
    static State s;
    return s;
}

void failAndClose(QWidget* window, const char* why)
{
    ADD_FAILURE() << why << ": " << ModalAnswer::describe(window).toStdString();
    if (auto* dialog = qobject_cast<QDialog*>(window))
        dialog->reject();
    else
        window->close();
}

void poll()
{
    State& s = state();
    while (!s.answers.empty() && s.answers.front().deadline.hasExpired()) {
        ADD_FAILURE() << "no window came up for the answer meant for "
                      << (s.answers.front().className.isEmpty()
                              ? std::string("any modal window")
                              : s.answers.front().className.toStdString());
        s.answers.pop_front();
    }

    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) {
        s.showing = {};
        return;
    }
    if (s.showing.window != modal)
        s.showing = {modal, QDeadlineTimer(WindowComesUpMs), false};
    if (s.showing.deadline.hasExpired())
        failAndClose(modal, s.showing.answered ? "a window stayed open after its answer"
                                               : "no answer was queued for a window");
    if (s.showing.answered || s.showing.deadline.hasExpired())
        return;

    // The first queued answer meant for this kind of window takes it.
    auto next = s.answers.begin();
    while (next != s.answers.end() && !next->className.isEmpty() &&
           !modal->inherits(next->className.toLatin1().constData()))
        ++next;
    if (next == s.answers.end())
        return;
    const Pending taken = *next;
    s.answers.erase(next);
    s.showing = {modal, QDeadlineTimer(WindowClosesMs), true};
    taken.answer(modal);
}

void ensurePolling()
{
    State& s = state();
    if (s.poller)
        return;
    s.poller = new QTimer(qApp);
    s.poller->setInterval(5);
    QObject::connect(s.poller, &QTimer::timeout, &poll);
    s.poller->start();
}

} // namespace

void ModalAnswer::queue(const QString& className, Answer answer)
{
    ensurePolling();
    state().answers.push_back({className, std::move(answer), QDeadlineTimer(WindowComesUpMs)});
}

int ModalAnswer::pending()
{
    return static_cast<int>(state().answers.size());
}

void ModalAnswer::reset()
{
    ensurePolling();
    state().answers.clear();
}

bool ModalAnswer::pressButton(QWidget* window, const QString& text)
{
    const auto buttons = window->findChildren<QAbstractButton*>();
    for (QAbstractButton* button : buttons) {
        QString caption = button->text();
        caption.remove(QLatin1Char('&'));
        if (caption == text && button->isVisible() && button->isEnabled()) {
            button->click();
            return true;
        }
    }
    return false;
}

bool ModalAnswer::chooseFile(QWidget* fileDialog, const QString& path)
{
    auto* dialog = qobject_cast<QFileDialog*>(fileDialog);
    auto* name = dialog ? dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")) : nullptr;
    if (!name)
        return false;
    // Typed rather than selected: selectFile() leaves a focused name field as it is.
    name->setText(path);
    if (dialog->selectedFiles().isEmpty())
        return false;
    static_cast<QDialog*>(dialog)->accept(); // public as a QDialog
    return true;
}

QString ModalAnswer::describe(QWidget* window)
{
    QStringList texts;
    for (const QLabel* label : window->findChildren<QLabel*>())
        if (label->isVisible() && !label->text().isEmpty())
            texts << label->text();
    QStringList buttons;
    for (const QAbstractButton* button : window->findChildren<QAbstractButton*>())
        if (button->isVisible() && !button->text().isEmpty())
            buttons << button->text();
    return QStringLiteral("%1 \"%2\"; texts: %3; buttons: %4")
        .arg(QString::fromLatin1(window->metaObject()->className()), window->windowTitle(),
             texts.join(QStringLiteral(" | ")), buttons.join(QStringLiteral(", ")));
}
