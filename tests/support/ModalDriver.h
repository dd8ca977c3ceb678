#pragma once

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>

// Answers the modal windows a test provokes. Queued handlers get the next modal windows in
// turn; a message box without a handler is recorded and answered with the default answer;
// any other window without a handler is recorded and rejected.
class ModalDriver : public QObject
{
    Q_OBJECT
public:
    struct Box
    {
        QString text;
        QString caption;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
    };
    using Handler = std::function<void(QWidget *modal)>;

    explicit ModalDriver(QMessageBox::StandardButton defaultAnswer = QMessageBox::Ok,
                         QObject *parent = nullptr);

    void queue(const Handler &handler) { m_handlers.append(handler); }
    // Queues answering the next message box with a given button (and records it).
    void answerNextBox(QMessageBox::StandardButton button);

    QList<Box> boxes;
    QStringList otherWindows; // object names or class names of other modal windows seen

    QStringList texts() const;
    static Box describe(const QMessageBox *box);

private:
    void poll();

    QTimer m_timer;
    QList<Handler> m_handlers;
    QMessageBox::StandardButton m_defaultAnswer;
    QPointer<QWidget> m_lastSeen;
};
