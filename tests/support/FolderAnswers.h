#pragma once

#include "ModalDriver.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QString>

// A ModalDriver handler that picks the folder in a folder dialog, as a person does.
inline ModalDriver::Handler chooseFolder(const QString &path)
{
    return [path](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (!dialog) {
            modal->close();
            return;
        }
        dialog->setDirectory(path);
        dialog->selectFile(path);
        // selectFile leaves the name box alone while it has the focus.
        if (auto *nameBox = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
            nameBox->setText(path);
        static_cast<QDialog *>(dialog)->accept(); // QFileDialog::accept, which checks the choice
    };
}
