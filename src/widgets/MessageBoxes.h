#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// The program's message boxes. Plain messages carry the application title as caption and an
// OK button; the others state caption, icon and buttons at each use.
namespace MessageBoxes {

inline const QString AppTitle = QStringLiteral("Zindrel");

void plain(QWidget *parent, const QString &text);
QMessageBox::StandardButton show(QWidget *parent, const QString &text, const QString &caption,
                                 QMessageBox::Icon icon,
                                 QMessageBox::StandardButtons buttons = QMessageBox::Ok);
// Asks before typed text is thrown away; true when the person agrees.
bool confirmDiscard(QWidget *parent);
// A question whose yes button says what happens ("运行") beside 取消; true when it is chosen.
bool confirm(QWidget *parent, const QString &text, const QString &doIt);

} // namespace MessageBoxes
