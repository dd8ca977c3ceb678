#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

class TextMaterial;

// The materials that the insert figures add one by one: seeded, and as an add dialog hands them
// to its record (title and body in their stored form), all into the insert category.
class InsertSample
{
public:
    static constexpr int Count = 2000;

    InsertSample();

    // Each material's insert statement, as its record writes it.
    QList<QByteArray> statements() const;
    // Inserts every material through its record; false when one failed.
    bool insertAll() const;
    // Removes every material that the runs inserted.
    static QString removal();

private:
    struct Sample
    {
        QString title;
        QString author;
        QStringList body;
    };

    static void fill(TextMaterial &record, const Sample &sample);

    QVector<Sample> m_samples;
};
