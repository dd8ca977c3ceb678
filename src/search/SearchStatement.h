#pragma once

#include <QDate>
#include <QString>

// A search as the search dialog puts it: the kind, the two category choices, the title keyword,
// the author and the creation-date window; and the select statement it stands for.
class SearchStatement
{
public:
    // The category choice that means no restriction at its level.
    static const QString AllCategories;

    QString kind;        // "文字资料" or "实例资料"; empty while not chosen
    QString category;    // first-level choice; empty while not chosen
    QString subcategory; // second-level choice; empty while not chosen
    QString keyword;
    QString author;
    bool dateWindow = false;
    QDate begin;
    QDate end;

    // The message of the first check that fails, or an empty text when the search may run.
    QString refusal() const;
    // The where-clause, piece by piece in its fixed order. Every value is a quoted literal;
    // the keyword is first written the way titles are stored, and keeps its wildcards.
    QString condition() const;
    // select id,title from the kind's table where the condition holds.
    QString text() const;
    // The list image of a hit: text or instance material.
    int hitImage() const;

private:
    bool categoryRestricted() const;
};
