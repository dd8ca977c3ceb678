#include "ModalDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QProgressDialog>

ModalDriver::ModalDriver(QMessageBox::StandardButton defaultAnswer, QObject *parent)
    : QObject(parent), m_defaultAnswer(defaultAnswer)
{
    connect(&m_timer, &QTimer::timeout, this, &ModalDriver::poll);
    m_timer.start(5);
}

void ModalDriver::answerNextBox(QMessageBox::StandardButton button)
{
    queue([this, button](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box)
            return;
        boxes.append(describe(box));
        box->button(button) ? box->button(button)->click() : box->done(button);
    });
}

QStringList ModalDriver::texts() const
{
    QStringList result;
    for (const Box &box : boxes)
        result.append(box.text);
    return result;
}

ModalDriver::Box ModalDriver::describe(const QMessageBox *box)
{
    return {box->text(), box->windowTitle(), box->icon(), box->standardButtons()};
}

void ModalDriver::poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || modal == m_lastSeen || !modal->isVisible())
        return;
    // A progress dialog comes and goes with the work it shows: answering it would cancel that.
    if (qobject_cast<QProgressDialog *>(modal))
        return;
    m_lastSeen = modal;
    if (!m_handlers.isEmpty()) {
        // Run the handler from an event of its own: a handler that opens a nested loop (a save
        // that shows its result) must leave this polling timer free to fire in that loop.
        QTimer::singleShot(0, this, [handler = m_handlers.takeFirst(), target = QPointer<QWidget>(modal)] {
            if (target)
                handler(target);
        });
        return;
    }
    if (auto *box = qobject_cast<QMessageBox *>(modal)) {
        boxes.append(describe(box));
        QAbstractButton *button = box->button(m_defaultAnswer);
        if (!button)
            button = box->buttons().value(0);
        if (button)
            button->click();
        else
            box->done(0);
        return;
    }
    otherWindows.append(modal->objectName().isEmpty() ? QString::fromLatin1(modal->metaObject()->className())
                                                      : modal->objectName());
    if (auto *dialog = qobject_cast<QDialog *>(modal))
        dialog->reject();
    else
        modal->close();
}
