#pragma once

#include "ModalDriver.h"

#include <QInputDialog>
#include <QList>
#include <QString>

// What an input box asked, and an answer to give it.
struct InputRecord
{
    QString caption;
    QString prompt;
    QString initial;
};

// A ModalDriver handler that records the input box and answers with text (OK), or cancels when
// accept is false.
inline ModalDriver::Handler answerInput(QList<InputRecord> *records, const QString &text, bool accept = true)
{
    return [records, text, accept](QWidget *modal) {
        auto *input = qobject_cast<QInputDialog *>(modal);
        if (!input) {
            modal->close();
            return;
        }
        records->append({input->windowTitle(), input->labelText(), input->textValue()});
        if (!accept) {
            input->reject();
            return;
        }
        input->setTextValue(text);
        input->accept();
    };
}
