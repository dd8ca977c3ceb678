#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <random>

// Seeded sample materials: the same seed gives the same titles, bodies, authors and times, so
// that runs on different days compare. Titles and bodies come in their stored form (apostrophes
// and colons as their tokens).
class SampleText
{
public:
    explicit SampleText(std::uint32_t seed);

    // A number in [0, count).
    int below(int count);

    // 8 to 40 characters mixing Chinese and ASCII, about one in twenty-five with an apostrophe;
    // the search keyword in about one in fifty.
    QString title();
    // 0.5 to 4 KB of UTF-8 text in lines ended by CR LF.
    QByteArray body(int minBytes = 512, int maxBytes = 4096);
    // One of the fifty authors.
    QString author();
    // A moment in the five years 2019 to 2023, in the stored creation-time form.
    QString createTime();

    // The title word that the search figure looks for.
    static QString keyword();
    // A name built from the word lists, for categories.
    QString word();
    QString asciiWord();

private:
    std::mt19937 m_random;
    QStringList m_authors;
    QByteArray m_bodyPool;
};
