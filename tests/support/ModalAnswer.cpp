#include "ModalAnswer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>
#include <deque>

namespace {

struct Pending
{
    QString className;
    ModalAnswer::Answer answer;
};

std::deque<Pending> answers;
QStringList seenWindows;
QTimer* poller = nullptr;

void poll()
{
    if (answers.empty())
        return;
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    // A window already answered may still be closing.
    if (modal->property("modalAnswered").toBool())
        return;
    // The first queued answer meant for this kind of window takes it.
    auto next = answers.begin();
    while (next != answers.end() && !next->className.isEmpty() &&
           !modal->inherits(next->className.toLatin1().constData()))
        ++next;
    if (next == answers.end())
        return;
    Pending taken = *next;
    answers.erase(next);
    modal->setProperty("modalAnswered", true);
    seenWindows << QStringLiteral("%1: %2").arg(
        QString::fromLatin1(modal->metaObject()->className()), modal->windowTitle());
    taken.answer(modal);
}

} // namespace

void ModalAnswer::queue(const QString& className, Answer answer)
{
    answers.push_back({className, std::move(answer)});
    if (!poller) {
        poller = new QTimer(qApp);
        poller->setInterval(5);
        QObject::connect(poller, &QTimer::timeout, &poll);
        poller->start();
    }
}

QStringList ModalAnswer::seen()
{
    return seenWindows;
}

int ModalAnswer::pending()
{
    return static_cast<int>(answers.size());
}

void ModalAnswer::reset()
{
    answers.clear();
    seenWindows.clear();
}

bool ModalAnswer::pressButton(QWidget* window, const QString& text)
{
    const auto buttons = window->findChildren<QAbstractButton*>();
    for (QAbstractButton* button : buttons) {
        QString caption = button->text();
        caption.remove(QLatin1Char('&'));
        if (caption == text) {
            button->click();
            return true;
        }
    }
    return false;
}
