#pragma once

#include <QComboBox>
#include <QStringList>
#include <QtTest>

inline QStringList itemsOf(const QComboBox *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->itemText(i));
    return texts;
}

// Picks an entry the way a user does, through the list's own signal.
inline void choose(QComboBox *list, const QString &text)
{
    const int index = list->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    list->setCurrentIndex(index);
    emit list->activated(index);
}
